// The bed register end to end on its real widgets: listing and searching, adding, editing,
// saving with its checks, cancelling, deleting, the colours of occupied beds, captions from
// fields.ini, the browse and edit layouts, the keys, and what reaches the database.

#include "app/StartUp.h"
#include "app/TfrmMain.h"
#include "common/ConnectedModule.h"
#include "common/ModalDriver.h"
#include "common/ScriptedOpener.h"
#include "controls/DBEdit.h"
#include "controls/DBMemo.h"
#include "controls/DataGrid.h"
#include "premises/TfrmFw.h"
#include "queries/TclassForm.h"
#include "support/SharedValues.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTableView>
#include <QtTest>
#include <memory>

class BedRegisterTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { initProgramResources(); }
    void init();
    void cleanup();

    void showsEveryBedWithCaptionsFooterAndBrowseLayout();
    void quickLocate_data();
    void quickLocate();
    void addStoresTheTrimmedNumberWithZeroCharges();
    void addedBedAppearsInTheReopenedVacantList();
    void saveRefused_data();
    void saveRefused();
    void editSavedUnchangedOrRenumberedOntoAnotherBed();
    void cancelledAddLeavesNoBed();
    void deleteAsksFirst_data();
    void deleteAsksFirst();
    void editWithEmptyListIsRefused();
    void occupiedBedsAreHighlightedInEveryColumn();
    void chargeThatIsNotANumberWarnsOnExitAndBlocksSave();
    void entryPanelIsReadOnlyWhileBrowsing();
    void enterMovesThroughTheEntryPanelButNotOutOfTheMemo();
    void menuShortcutsWorkOnlyWhileBrowsing();
    void closingWhileEditingDiscardsThePendingBed();
    void exportWritesTheBedList();
    void toolbarActionOpensTheRegister();

private:
    template <class T = QWidget> T* child(const QString& name) const
    {
        T* found = m_window->findChild<T*>(name);
        if (!found)
            qFatal("no child %s", qPrintable(name));
        return found;
    }
    void click(const QString& button) const { QTest::mouseClick(child<QPushButton>(button), Qt::LeftButton); }
    // The bed numbers the list shows, top to bottom.
    QStringList listedNumbers() const;
    QStringList bedRows(const QString& columns = QStringLiteral("code")) const
    {
        return m_folder->rows(QStringLiteral("select %1 from baseinfo where flag=4 order by id").arg(columns));
    }
    bool editing() const { return child("btnSave")->isEnabled(); }
    void openWindow();

    std::unique_ptr<ConnectedModule> m_module;
    TestFolder* m_folder = nullptr;
    ScriptedMessages* m_messages = nullptr;
    TDM* m_dm = nullptr;
    std::unique_ptr<TfrmFw> m_window;
};

void BedRegisterTest::init()
{
    m_module = std::make_unique<ConnectedModule>([](TestFolder& folder) {
        // The third caption is left empty on purpose.
        folder.writeGbk("fields.ini",
                        QStringLiteral("[Ffield]\r\nfield1=水费\r\nfield2=电费\r\nfield3=\r\nfield4=卫生费\r\n"));
    });
    m_folder = &m_module->folder;
    m_messages = &m_module->messages;
    m_dm = m_module->dm.get();
    m_dm->ADO.execute(QStringLiteral(
        "INSERT INTO baseinfo(id, flag, code, expand10, expand12, expand13, field1, field2, field3, field4, field5,"
        " expand30) VALUES"
        " (2, 4, 'A101', 1, 200, 350.5, 10, 20, 30, 40, 5, '朝南'),"
        " (3, 4, 'A102', 0, 150, 300, 0, 0, 0, 0, NULL, NULL),"
        " (4, 4, 'B''201', 0, 100, 280, 1, 2, 3, 4, NULL, '带引号的编号'),"
        " (5, 4, 'B202', 1, 100, 280, 0, 0, 0, 0, NULL, NULL),"
        " (6, 3, 'A103', 0, 0, 0, 0, 0, 0, 0, NULL, '部门，不是铺位')"));
    m_dm->ADO.execute(QStringLiteral("INSERT INTO maxvalue(tablename, id) VALUES ('baseinfo', 6)"));
    Shared().CurrentFunctionCode = TfrmFw::kFunctionCode;
    openWindow();
}

void BedRegisterTest::openWindow()
{
    m_window = std::make_unique<TfrmFw>();
    m_window->show();
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
}

void BedRegisterTest::cleanup()
{
    m_window.reset();
    m_module.reset();
}

QStringList BedRegisterTest::listedNumbers() const
{
    DatasetModel* model = child<DataGrid>("cxGrid2")->model();
    QStringList numbers;
    for (int row = 0; row < model->totalRows(); ++row)
        numbers << model->cellText(row, 0);
    return numbers;
}

void BedRegisterTest::showsEveryBedWithCaptionsFooterAndBrowseLayout()
{
    QCOMPARE(listedNumbers(), (QStringList{"A101", "A102", "B'201", "B202"}));
    auto* grid = child<DataGrid>("cxGrid2");
    QStringList visible;
    for (GridColumn* column : grid->visibleColumns())
        visible << column->caption();
    QCOMPARE(visible,
             (QStringList{"铺位编号", "押金", "标准月租", "水费", "电费", "", "卫生费", "详细说明", "已入住"}));
    QVERIFY(!grid->column("cxGridDBTableView2DBColumn23")->isVisible());
    QVERIFY(!grid->column("cxGridDBTableView2DBColumn24")->isVisible());
    QCOMPARE(grid->column("cxGridDBColumn11")->kind(), GridColumn::Kind::Currency);
    QCOMPARE(grid->column("cxGridDBTableView2DBColumn1")->kind(), GridColumn::Kind::CheckBox);
    QCOMPARE(grid->footerText("cxGridDBColumn3"), QStringLiteral("记录数：4"));
    QCOMPARE(grid->footerText("cxGridDBTableView2DBColumn4"), QStringLiteral("4"));
    QCOMPARE(child<QLabel>("lab_field1")->text(), QStringLiteral("水费："));
    QCOMPARE(child<QLabel>("lab_field3")->text(), QStringLiteral("："));
    QCOMPARE(child<QLabel>("lab_field4")->text(), QStringLiteral("卫生费："));

    // The entry panel shows the current bed.
    QCOMPARE(child<DBEdit>("code4")->text(), QStringLiteral("A101"));
    QCOMPARE(child<DBEdit>("RzDBEdit10")->text(), QStringLiteral("350.5"));
    QCOMPARE(child<DBEdit>("RzDBEdit2")->text(), QStringLiteral("40"));
    QCOMPARE(child<DBMemo>("RzDBMemo3")->text(), QStringLiteral("朝南"));

    // Browse layout: everything tagged 14 but "保存" and "取消" is enabled; the panel stays.
    for (const char* name : {"cxGrid2", "GroupBox11", "btnExcel", "BitBtn6", "btnData", "BitBtn3", "BitBtn4"}) {
        QVERIFY2(child(name)->isEnabled(), name);
        QCOMPARE(child(name)->property("tag").toInt(), 14);
    }
    QVERIFY(!child("btnSave")->isEnabled());
    QVERIFY(!child("btnCancel")->isEnabled());
    QVERIFY(child("GroupBox1")->isEnabled());
    QCOMPARE(m_window->size(), QSize(780, 525));

    QStringList menu;
    for (QAction* action : child<QMenu>("pmenu")->actions())
        menu << (action->isSeparator() ? QStringLiteral("|") : action->text() + ' ' + action->shortcut().toString());
    QCOMPARE(menu, (QStringList{"新增 Ctrl+A", "修改 Ctrl+E", "删除 Ctrl+D", "|", "用Excel导出数据 "}));
}

void BedRegisterTest::quickLocate_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("listed");
    QTest::newRow("empty text lists every bed") << QString() << QStringList{"A101", "A102", "B'201", "B202"};
    QTest::newRow("part of a number, blanks around") << QStringLiteral("  10 ") << QStringList{"A101", "A102"};
    QTest::newRow("letters in either case") << QStringLiteral("b") << QStringList{"B'201", "B202"};
    QTest::newRow("single quote") << QStringLiteral("B'") << QStringList{"B'201"};
    QTest::newRow("quote that would end the literal") << QStringLiteral("' or ''='") << QStringList{};
    QTest::newRow("wildcard taken literally") << QStringLiteral("%") << QStringList{};
    QTest::newRow("other kinds never listed") << QStringLiteral("A103") << QStringList{};
}

void BedRegisterTest::quickLocate()
{
    QFETCH(QString, typed);
    QFETCH(QStringList, listed);
    QTest::keyClicks(child("Edit1"), typed);
    click("BitBtn22");
    QCOMPARE(m_messages->texts(), QStringList());
    QCOMPARE(listedNumbers(), listed);
    QCOMPARE(child<DataGrid>("cxGrid2")->footerText("cxGridDBColumn3"),
             QStringLiteral("记录数：%1").arg(listed.size()));
    click("BitBtn1");
    QCOMPARE(listedNumbers().size(), 4);
}

void BedRegisterTest::addStoresTheTrimmedNumberWithZeroCharges()
{
    click("btnData");
    QVERIFY(editing());
    for (const char* name : {"cxGrid2", "GroupBox11", "btnExcel", "BitBtn6", "btnData", "BitBtn3", "BitBtn4"})
        QVERIFY2(!child(name)->isEnabled(), name);
    auto* code = child<DBEdit>("code4");
    QCOMPARE(QApplication::focusWidget(), code);
    QVERIFY(!code->isReadOnly());
    QCOMPARE(code->text(), QString());
    for (const char* name : {"RzDBEdit11", "RzDBEdit10", "RzDBEdit3", "RzDBEdit7", "RzDBEdit1", "RzDBEdit2"})
        QCOMPARE(child<DBEdit>(name)->text(), QStringLiteral("0"));

    QTest::keyClicks(code, "  C301  ");
    QTest::keyClicks(child("RzDBEdit10"), "5"); // "0" becomes "05"
    click("btnSave");
    QCOMPARE(m_messages->texts(), QStringList());
    QVERIFY(!editing());
    QVERIFY(child("cxGrid2")->isEnabled());
    QCOMPARE(bedRows("id, code, expand12, expand13, field1, field2, field3, field4, expand10, field5, expand30").last(),
             QStringLiteral("7|C301|0|5|0|0|0|0|False||"));
    QCOMPARE(m_folder->scalar("select max(id) from maxvalue where tablename='baseinfo'").toInt(), 7);
    QCOMPARE(listedNumbers(), (QStringList{"A101", "A102", "B'201", "B202", "C301"}));
}

void BedRegisterTest::addedBedAppearsInTheReopenedVacantList()
{
    click("BitBtn2");
    QCOMPARE(listedNumbers(), (QStringList{"A102", "B'201"}));
    click("btnData");
    QTest::keyClicks(child("code4"), "C302");
    click("btnSave");
    QCOMPARE(listedNumbers(), (QStringList{"A102", "B'201", "C302"}));
    // The list is reopened: the first row is current again.
    QCOMPARE(child<DBEdit>("code4")->text(), QStringLiteral("A102"));
}

void BedRegisterTest::saveRefused_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("kept");
    const QString taken = QStringLiteral("此铺位信息已经存在，请输入其他铺位信息！");
    QTest::newRow("empty number") << QString() << QStringLiteral("铺位编号不能为空！") << QString();
    QTest::newRow("blanks only") << QStringLiteral("   ") << QStringLiteral("铺位编号不能为空！")
                                 << QStringLiteral("   ");
    QTest::newRow("number of another bed") << QStringLiteral("A101") << taken << QStringLiteral("A101");
    QTest::newRow("same number in other case with blanks")
        << QStringLiteral(" a101 ") << taken << QStringLiteral("a101");
    QTest::newRow("number with a quote") << QStringLiteral("B'201") << taken << QStringLiteral("B'201");
}

void BedRegisterTest::saveRefused()
{
    QFETCH(QString, typed);
    QFETCH(QString, message);
    QFETCH(QString, kept);
    const QStringList before = bedRows();
    click("btnData");
    QTest::keyClicks(child("code4"), typed);
    click("btnSave");
    QCOMPARE(m_messages->texts(), QStringList{message});
    QCOMPARE(m_messages->shown().first().title, QStringLiteral("提示信息"));
    // Still in edit mode with the input kept; nothing written.
    QVERIFY(editing());
    QCOMPARE(child<DBEdit>("code4")->text(), kept);
    QCOMPARE(m_dm->cdsFw.state(), DatasetState::Insert);
    QCOMPARE(bedRows(), before);
    click("btnCancel");
    QVERIFY(!editing());
}

void BedRegisterTest::editSavedUnchangedOrRenumberedOntoAnotherBed()
{
    auto* grid = child<DataGrid>("cxGrid2");
    grid->view()->selectRow(1); // A102
    QCOMPARE(child<DBEdit>("code4")->text(), QStringLiteral("A102"));

    click("BitBtn3");
    QVERIFY(editing());
    QCOMPARE(Shared().EditOldCode, QStringLiteral("A102"));
    QCOMPARE(QApplication::focusWidget(), child("code4"));
    click("btnSave");
    QCOMPARE(m_messages->texts(), QStringList());
    QVERIFY(!editing());

    click("BitBtn3");
    auto* code = child<DBEdit>("code4");
    code->selectAll();
    QTest::keyClicks(code, "b202 ");
    click("btnSave");
    QCOMPARE(m_messages->texts(), QStringList{QStringLiteral("此铺位信息已经存在，请输入其他铺位信息！")});
    QVERIFY(editing());
    click("btnCancel");
    QCOMPARE(code->text(), QStringLiteral("A102"));

    // A free number is taken, stored without the blanks.
    click("BitBtn3");
    code->selectAll();
    QTest::keyClicks(code, " A109");
    click("btnSave");
    QVERIFY(!editing());
    QCOMPARE(bedRows(), (QStringList{"A101", "A109", "B'201", "B202"}));
}

void BedRegisterTest::cancelledAddLeavesNoBed()
{
    const QStringList before = bedRows();
    click("btnData");
    QTest::keyClicks(child("code4"), "C303");
    QCOMPARE(listedNumbers().size(), 5);
    click("btnCancel");
    QVERIFY(!editing());
    QCOMPARE(m_dm->cdsFw.state(), DatasetState::Browse);
    QCOMPARE(listedNumbers().size(), 4);
    QCOMPARE(bedRows(), before);
    QVERIFY(child<DBEdit>("code4")->isReadOnly());
}

void BedRegisterTest::deleteAsksFirst_data()
{
    QTest::addColumn<bool>("yes");
    QTest::newRow("answered No keeps the bed") << false;
    QTest::newRow("answered Yes deletes the occupied bed") << true;
}

void BedRegisterTest::deleteAsksFirst()
{
    QFETCH(bool, yes);
    child<DataGrid>("cxGrid2")->view()->selectRow(3); // B202, occupied
    m_messages->answerNext(yes ? MsgAnswer::Yes : MsgAnswer::No);
    click("BitBtn4");
    QCOMPARE(m_messages->texts(), QStringList{QStringLiteral("是否要删除该铺位信息")});
    QCOMPARE(m_messages->shown().first().buttons, MsgButtons::YesNo);
    const QStringList expected =
        yes ? QStringList{"A101", "A102", "B'201"} : QStringList{"A101", "A102", "B'201", "B202"};
    QCOMPARE(bedRows(), expected);
    QCOMPARE(listedNumbers(), expected);
    QCOMPARE(child<DataGrid>("cxGrid2")->footerText("cxGridDBColumn3"),
             QStringLiteral("记录数：%1").arg(expected.size()));
}

void BedRegisterTest::editWithEmptyListIsRefused()
{
    QTest::keyClicks(child("Edit1"), "ZZZ");
    click("BitBtn22");
    QVERIFY(listedNumbers().isEmpty());
    click("BitBtn3");
    QCOMPARE(m_messages->texts(), QStringList{QStringLiteral("没有需要编辑的铺位信息！")});
    QVERIFY(!editing());
    m_messages->clear();
    click("BitBtn4"); // nothing to delete: no question
    QCOMPARE(m_messages->texts(), QStringList());
}

void BedRegisterTest::occupiedBedsAreHighlightedInEveryColumn()
{
    DatasetModel* model = child<DataGrid>("cxGrid2")->model();
    const QList<bool> occupied = {true, false, false, true};
    for (int row = 0; row < occupied.size(); ++row) {
        for (int column = 0; column < model->columnCount(); ++column) {
            const QModelIndex index = model->index(row, column);
            const QVariant background = model->data(index, Qt::BackgroundRole);
            const QVariant text = model->data(index, Qt::ForegroundRole);
            if (occupied[row]) {
                QCOMPARE(background.value<QBrush>().color(), QColor(192, 220, 192));
                QCOMPARE(text.value<QBrush>().color(), QColor(128, 0, 0));
            } else {
                QVERIFY(!background.isValid());
                QVERIFY(!text.isValid());
            }
        }
    }
    // The colour follows the occupied mark when the list is read again.
    m_dm->ADO.execute(QStringLiteral("UPDATE baseinfo SET expand10 = 1 WHERE code = 'A102'"));
    click("BitBtn1");
    QVERIFY(model->data(model->index(1, 0), Qt::BackgroundRole).isValid());
}

void BedRegisterTest::chargeThatIsNotANumberWarnsOnExitAndBlocksSave()
{
    const QString warning = QStringLiteral("输入不正确，请输入数值型！");
    // Browsing: leaving a charge edit checks the number shown; no warning.
    child("RzDBEdit11")->setFocus();
    QTest::keyClick(child("RzDBEdit11"), Qt::Key_Tab);
    QCOMPARE(m_messages->texts(), QStringList());

    click("BitBtn3");
    auto* deposit = child<DBEdit>("RzDBEdit11");
    deposit->setFocus();
    deposit->selectAll();
    QTest::keyClicks(deposit, "12a");
    QTest::keyClick(deposit, Qt::Key_Tab);
    // A warning only: the focus moves on and the text stays.
    QVERIFY(m_messages->texts().contains(warning));
    QCOMPARE(QApplication::focusWidget(), child("RzDBEdit10"));
    QCOMPARE(deposit->text(), QStringLiteral("12a"));

    m_messages->clear();
    click("btnSave");
    QCOMPARE(m_messages->texts(), QStringList{warning});
    QCOMPARE(QApplication::focusWidget(), deposit);
    QVERIFY(editing());
    QCOMPARE(bedRows("expand12").first(), QStringLiteral("200"));

    deposit->selectAll();
    QTest::keyClicks(deposit, "210.5");
    m_messages->clear();
    click("btnSave");
    QCOMPARE(m_messages->texts(), QStringList());
    QCOMPARE(bedRows("expand12").first(), QStringLiteral("210.5"));
}

void BedRegisterTest::entryPanelIsReadOnlyWhileBrowsing()
{
    auto* code = child<DBEdit>("code4");
    code->setFocus();
    QTest::keyClicks(code, "X");
    QTest::keyClicks(child("RzDBMemo3"), "X");
    QCOMPARE(code->text(), QStringLiteral("A101"));
    QCOMPARE(child<DBMemo>("RzDBMemo3")->text(), QStringLiteral("朝南"));
    QCOMPARE(m_dm->cdsFw.state(), DatasetState::Browse);
    QCOMPARE(bedRows().first(), QStringLiteral("A101"));
}

void BedRegisterTest::enterMovesThroughTheEntryPanelButNotOutOfTheMemo()
{
    click("BitBtn3");
    QStringList visited;
    for (int i = 0; i < 7; ++i) {
        visited << QApplication::focusWidget()->objectName();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    }
    QCOMPARE(visited,
             (QStringList{"code4", "RzDBEdit11", "RzDBEdit10", "RzDBEdit3", "RzDBEdit7", "RzDBEdit1", "RzDBEdit2"}));
    auto* memo = child<DBMemo>("RzDBMemo3");
    QCOMPARE(QApplication::focusWidget(), memo);
    memo->moveCursor(QTextCursor::End);
    QTest::keyClicks(memo, "A");
    QTest::keyClick(memo, Qt::Key_Return);
    QTest::keyClicks(memo, "B");
    QCOMPARE(QApplication::focusWidget(), memo);
    click("btnSave");
    QCOMPARE(bedRows("expand30").first(), QStringLiteral("朝南A\nB"));
}

void BedRegisterTest::menuShortcutsWorkOnlyWhileBrowsing()
{
    auto* grid = child<DataGrid>("cxGrid2");
    grid->setFocus();
    QTest::keyClick(grid->view(), Qt::Key_E, Qt::ControlModifier);
    QVERIFY(editing());
    QCOMPARE(m_dm->cdsFw.state(), DatasetState::Edit);
    // While editing the list and its menu are off: Ctrl+A adds nothing.
    QTest::keyClick(child("btnCancel"), Qt::Key_A, Qt::ControlModifier);
    QCOMPARE(m_dm->cdsFw.state(), DatasetState::Edit);
    click("btnCancel");

    grid->setFocus();
    QTest::keyClick(grid->view(), Qt::Key_A, Qt::ControlModifier);
    QCOMPARE(m_dm->cdsFw.state(), DatasetState::Insert);
    click("btnCancel");

    grid->setFocus();
    m_messages->answerNext(MsgAnswer::No);
    QTest::keyClick(grid->view(), Qt::Key_D, Qt::ControlModifier);
    QCOMPARE(m_messages->texts(), QStringList{QStringLiteral("是否要删除该铺位信息")});
}

void BedRegisterTest::closingWhileEditingDiscardsThePendingBed()
{
    // Esc does not throw the entry away.
    click("btnData");
    QTest::keyClicks(child("code4"), "C304");
    QTest::keyClick(child("code4"), Qt::Key_Escape);
    QVERIFY(m_window->isVisible());
    QVERIFY(editing());

    m_window.reset();
    QCOMPARE(m_dm->cdsFw.state(), DatasetState::Browse);
    QCOMPARE(bedRows().size(), 4);
    // The next register starts browsing.
    openWindow();
    QVERIFY(!editing());
    QCOMPARE(listedNumbers().size(), 4);
}

void BedRegisterTest::exportWritesTheBedList()
{
    ScriptedOpener opener;
    click("btnExcel");
    QCOMPARE(opener.opened(), QStringList{TclassForm::exportPath()});
    QVERIFY(QFileInfo(TclassForm::exportPath()).size() > 0);
    QVERIFY(TclassForm::exportPath().startsWith(m_folder->path()));
}

void BedRegisterTest::toolbarActionOpensTheRegister()
{
    m_window.reset();
    TfrmMain main;
    QAction* action = main.action("act_client_fw");
    QVERIFY(action->isEnabled());
    QString title;
    int rows = -1;
    onModal<TfrmFw>([&](TfrmFw* window) {
        title = window->windowTitle();
        rows = window->findChild<DataGrid*>("cxGrid2")->model()->totalRows();
        window->close();
    });
    action->trigger();
    QCOMPARE(title, QStringLiteral("铺位信息"));
    QCOMPARE(rows, 4);
    QCOMPARE(Shared().CurrentFunctionCode, 14);
}

QTEST_MAIN(BedRegisterTest)
#include "tst_bedregister.moc"
