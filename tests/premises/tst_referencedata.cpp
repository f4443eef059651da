// The reference data editor for its two kinds, events (code 18) and contacts (code 100), on the
// real window: the page shown, browse and edit layouts, required fields, the save rules, delete,
// export, and the function code given back when the window goes.

#include "app/Tclass_ctr_form.h"
#include "common/ConnectedModule.h"
#include "common/UserInput.h"
#include "common/ModalDriver.h"
#include "common/ScriptedOpener.h"
#include "common/XlsxReader.h"
#include "controls/BitButton.h"
#include "controls/DBCheckBox.h"
#include "controls/DBDateEdit.h"
#include "controls/DBEdit.h"
#include "controls/DBMemo.h"
#include "controls/DataGrid.h"
#include "controls/TaggedGroupBox.h"
#include "premises/TfrmBaseinfo.h"
#include "queries/TclassForm.h"
#include "support/SharedValues.h"
#include "support/TclassAllClass.h"

#include <QAction>
#include <QDir>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QMenu>
#include <QTableView>
#include <QtTest>

namespace {

constexpr int kHomePage = 68;

const QStringList kBrowseButtons{"btnRefresh", "btiExcel", "btnData", "BitBtn3", "BitBtn4"};
const QStringList kEditButtons{"btnSave", "btnCancel"};

QString today()
{
    return QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd"));
}

} // namespace

class ReferenceDataTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void opensOnlyThePageOfItsKind_data();
    void opensOnlyThePageOfItsKind();
    void eventIsAddedWithItsTitleRequired();
    void savedEventListIsReadAgain();
    void editOnAnEmptyListDoesNothing_data();
    void editOnAnEmptyListDoesNothing();
    void contactsFollowTheirDuplicateRule();
    void deleteAsksWithTheKindsLabel_data();
    void deleteAsksWithTheKindsLabel();
    void exportWritesTheCurrentList_data();
    void exportWritesTheCurrentList();
    void closingGivesTheFunctionCodeBack_data();
    void closingGivesTheFunctionCodeBack();

private:
    void open(int code)
    {
        Shared().PreviousFunctionCode = kHomePage;
        Shared().CurrentFunctionCode = code;
        m_window = std::make_unique<TfrmBaseinfo>();
        m_window->show();
        QVERIFY(QTest::qWaitForWindowActive(m_window.get())); // focus checks need the active window
    }
    template <class T = QWidget> T* widget(const QString& name) const
    {
        T* found = m_window->findChild<T*>(name);
        if (!found)
            qWarning("no widget %s", qPrintable(name));
        return found;
    }
    void click(const QString& button)
    {
        auto* found = widget<BitButton>(button);
        QVERIFY2(found && found->isVisible() && found->isEnabled(), qPrintable(button));
        QTest::mouseClick(found, Qt::LeftButton);
    }
    void type(const QString& edit, const QString& text)
    {
        QWidget* target = widget(edit);
        if (auto* date = qobject_cast<DBDateEdit*>(target))
            target = date->lineEdit();
        target->setFocus();
        typeText(target, text);
    }
    void clickRow(const QString& grid, int row)
    {
        QTableView* view = widget<DataGrid>(grid)->view();
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {},
                          view->visualRect(view->model()->index(row, 0)).center());
    }
    // The browse layout: list, "新增" … "导出" and the menu enabled, entry box, "保存" and
    // "取消" disabled; the edit layout the other way round.
    bool inLayout(bool browse, const QString& grid, const QString& box) const
    {
        QStringList on = kBrowseButtons;
        on << grid;
        QStringList off = kEditButtons;
        off << box;
        if (!browse)
            std::swap(on, off);
        for (const QString& name : on)
            if (!widget(name)->isEnabled())
                return false;
        for (const QString& name : off)
            if (widget(name)->isEnabled())
                return false;
        for (QAction* action : widget<QMenu>("pmenu")->actions())
            if (!action->isSeparator() && action->isEnabled() != browse)
                return false;
        return true;
    }
    bool inBrowseLayout(const QString& grid, const QString& box) const { return inLayout(true, grid, box); }
    bool inEditLayout(const QString& grid, const QString& box) const { return inLayout(false, grid, box); }
    int lastIdentifier() const { return m_folder->scalar(QStringLiteral("select max(id) from maxvalue")).toInt(); }
    int count(int flag) const
    {
        return m_folder->scalar(QStringLiteral("select count(*) from baseinfo where flag = %1").arg(flag)).toInt();
    }

    std::unique_ptr<ConnectedModule> m_module;
    TestFolder* m_folder = nullptr;
    ScriptedMessages* m_messages = nullptr;
    std::unique_ptr<ScriptedOpener> m_opener;
    TDM* m_dm = nullptr;
    std::unique_ptr<TfrmBaseinfo> m_window;
};

void ReferenceDataTest::init()
{
    m_module = std::make_unique<ConnectedModule>([](TestFolder& folder) {
        // Events, contacts (one carries a code, as if written by another program) and rows of
        // other kinds that neither list may show.
        folder.execSqlite("insert into baseinfo(id,flag,code,expand9,expand11,expand20,expand30) values"
                          "(20,10,'停水通知','2024-03-05 08:30:00',1,'周五停水一天','提前通知住户'),"
                          "(21,10,'电梯维修','2024-04-12 00:00:00',0,'二号楼电梯故障',null),"
                          "(22,10,'宿舍检查','2024-05-20 14:00:00',0,null,null)");
        folder.execSqlite("insert into baseinfo(id,flag,code,name,expand2,expand3,expand4,expand9,expand20) values"
                          "(30,33,null,'华安物业','李明','0512-6688123','园区东路8号','2024-02-01 00:00:00','物业维修'),"
                          "(31,33,'水电公司','水电公司','王芳','96196','解放路1号','2024-02-03 00:00:00',null)");
        folder.execSqlite("insert into baseinfo(id,flag,code,name) values(40,3,'40','生产部'),(41,4,'A101',null)");
        folder.execSqlite("insert into maxvalue(tablename,id) values('baseinfo',41)");
    });
    m_folder = &m_module->folder;
    m_messages = &m_module->messages;
    m_dm = m_module->dm.get();
    m_opener = std::make_unique<ScriptedOpener>();
}

void ReferenceDataTest::cleanup()
{
    m_window.reset();
    m_opener.reset();
    m_module.reset();
}

void ReferenceDataTest::opensOnlyThePageOfItsKind_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("otherPage");
    QTest::addColumn<QString>("grid");
    QTest::addColumn<QString>("box");
    QTest::addColumn<QStringList>("captions");
    QTest::addColumn<QStringList>("firstRow");
    QTest::addColumn<QString>("screenshot");
    QTest::newRow("events") << 18 << "TabSheet1"
                            << "TabSheet2"
                            << "cxGrid6"
                            << "GroupBox6" << QStringList{"事件标题", "发生日期", "已完成"}
                            << QStringList{"停水通知", "2024-03-05", "true"} << "events";
    QTest::newRow("contacts") << 100 << "TabSheet2"
                              << "TabSheet1"
                              << "cxGrid5"
                              << "GroupBox1" << QStringList{"名称", "联系人", "联系电话", "联系地址", "登记时间"}
                              << QStringList{"华安物业", "李明", "0512-6688123", "园区东路8号", "2024-02-01"}
                              << "contacts";
}

void ReferenceDataTest::opensOnlyThePageOfItsKind()
{
    QFETCH(int, code);
    QFETCH(QString, page);
    QFETCH(QString, otherPage);
    QFETCH(QString, grid);
    QFETCH(QString, box);
    QFETCH(QStringList, captions);
    QFETCH(QStringList, firstRow);
    QFETCH(QString, screenshot);
    open(code);

    QVERIFY(widget(page)->isVisible());
    QVERIFY(!widget(otherPage)->isVisible());
    QVERIFY(inBrowseLayout(grid, box));
    QVERIFY(!widget(box)->isEnabled());
    for (const QString& button : kBrowseButtons + kEditButtons)
        QCOMPARE(widget<BitButton>(button)->tag(), code);
    QStringList menu;
    for (QAction* action : widget<QMenu>("pmenu")->actions())
        menu << (action->isSeparator()
                     ? QStringLiteral("-")
                     : action->text() + ' ' + action->shortcut().toString() + (action->isVisible() ? "" : " hidden"));
    QCOMPARE(menu, (QStringList{"新增 Ctrl+A", "修改 Ctrl+E", "删除 Ctrl+D", "-", "用Excel导出数据 "}));

    auto* list = widget<DataGrid>(grid);
    QStringList shown;
    for (GridColumn* column : list->visibleColumns())
        shown << column->caption();
    QCOMPARE(shown, captions);
    QCOMPARE(list->model()->totalRows(), code == 18 ? 3 : 2); // only rows of its own flag
    QStringList cells;
    for (int column = 0; column < captions.size(); ++column)
        cells << list->model()->cellValue(0, column).toString();
    QCOMPARE(cells, firstRow);

    clickRow(grid, 1); // the entry box shows the record picked in the list
    QCOMPARE(widget<DBEdit>(code == 18 ? "code10" : "code33")->text(), list->model()->cellText(1, 0));
    QVERIFY(QDir().mkpath(QStringLiteral(QITANG_TEST_OUTPUT)));
    QVERIFY(m_window->grab().save(QStringLiteral(QITANG_TEST_OUTPUT "/") + screenshot + ".png"));
}

void ReferenceDataTest::eventIsAddedWithItsTitleRequired()
{
    open(18);
    Dataset& events = m_dm->cdsKhsj;
    click("btnData");
    QCOMPARE(events.state(), DatasetState::Insert);
    QVERIFY(inEditLayout("cxGrid6", "GroupBox6"));
    QVERIFY(widget("code10")->hasFocus());
    const int id = lastIdentifier();
    QCOMPARE(id, 42);
    QCOMPARE(events.fieldByName("id").asInteger(), id);
    QCOMPARE(events.fieldByName("flag").asInteger(), 10);
    QCOMPARE(widget<DBDateEdit>("RzDBDateTimeEdit3")->text(), today());

    // Without a title nothing is written and the window stays in edit mode.
    click("btnSave");
    QCOMPARE(m_messages->texts(), QStringList{"事件标题不能为空！"});
    QCOMPARE(m_messages->shown().first().title, QStringLiteral("提示信息"));
    QVERIFY(inEditLayout("cxGrid6", "GroupBox6"));
    QCOMPARE(count(10), 3);

    // Enter moves on from an edit, but starts a new line in a memo.
    type("code10", QStringLiteral("热水器检修"));
    QTest::keyClick(widget("code10"), Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), widget<DBDateEdit>("RzDBDateTimeEdit3")->lineEdit());
    type("RzDBMemo5", QStringLiteral("三楼漏水"));
    QTest::keyClick(widget("RzDBMemo5"), Qt::Key_Return);
    typeText(widget("RzDBMemo5"), QStringLiteral("已报修"));
    QVERIFY(widget("RzDBMemo5")->hasFocus());
    type("RzDBMemo1", QStringLiteral("更换阀门"));
    widget("RzDBCheckBox5")->setFocus();
    QTest::keyClick(widget("RzDBCheckBox5"), Qt::Key_Space);
    click("btnSave");

    QCOMPARE(m_messages->texts().size(), 1);
    QCOMPARE(m_folder->rows(
                 QStringLiteral("select flag, code, expand20, expand30, expand11 from baseinfo where id = %1").arg(id)),
             QStringList{QStringLiteral("10|热水器检修|三楼漏水\n已报修|更换阀门|True")});
    QVERIFY(m_folder->scalar(QStringLiteral("select expand9 from baseinfo where id = %1").arg(id))
                .toString()
                .startsWith(today()));
    QCOMPARE(events.state(), DatasetState::Browse);
    QVERIFY(inBrowseLayout("cxGrid6", "GroupBox6"));
    QCOMPARE(widget<DataGrid>("cxGrid6")->model()->totalRows(), 4);

    // Cancel drops a new record.
    click("btnData");
    type("code10", QStringLiteral("作废"));
    click("btnCancel");
    QVERIFY(inBrowseLayout("cxGrid6", "GroupBox6"));
    QCOMPARE(count(10), 4);
    QCOMPARE(widget<DataGrid>("cxGrid6")->model()->totalRows(), 4);
}

void ReferenceDataTest::savedEventListIsReadAgain()
{
    open(18);
    Dataset& events = m_dm->cdsKhsj;
    clickRow("cxGrid6", 2);
    QCOMPARE(events.fieldByName("code").asString(), QStringLiteral("宿舍检查"));
    click("BitBtn3");
    QCOMPARE(events.state(), DatasetState::Edit);
    QVERIFY(inEditLayout("cxGrid6", "GroupBox6"));
    QVERIFY(widget("code10")->hasFocus());

    // The title of another event is accepted: events have no duplicate test.
    auto* title = widget<DBEdit>("code10");
    title->selectAll();
    typeText(title, QStringLiteral("电梯维修"));
    click("btnSave");
    QVERIFY(m_messages->shown().isEmpty());
    QCOMPARE(m_folder->scalar("select code from baseinfo where id = 22").toString(), QStringLiteral("电梯维修"));
    QCOMPARE(events.recNo(), 0); // read again: back at the first row
    QCOMPARE(events.fieldByName("code").asString(), QStringLiteral("停水通知"));
    QVERIFY(inBrowseLayout("cxGrid6", "GroupBox6"));
}

void ReferenceDataTest::editOnAnEmptyListDoesNothing_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("grid");
    QTest::addColumn<QString>("box");
    QTest::newRow("events") << 18 << "cxGrid6"
                            << "GroupBox6";
    QTest::newRow("contacts") << 100 << "cxGrid5"
                              << "GroupBox1";
}

void ReferenceDataTest::editOnAnEmptyListDoesNothing()
{
    QFETCH(int, code);
    QFETCH(QString, grid);
    QFETCH(QString, box);
    m_folder->exec("delete from baseinfo where flag in (10, 33)");
    open(code);
    Dataset& rows = code == 18 ? m_dm->cdsKhsj : m_dm->cdsFwgs;
    click("BitBtn3");
    QCOMPARE(rows.state(), DatasetState::Browse);
    QVERIFY(inBrowseLayout(grid, box));
    click("BitBtn4"); // nothing to delete: no question
    QVERIFY(m_messages->shown().isEmpty());
    QCOMPARE(m_folder->scalar("select count(*) from baseinfo where flag in (10, 33) or flag is null").toInt(), 0);
}

void ReferenceDataTest::contactsFollowTheirDuplicateRule()
{
    open(100);
    Dataset& contacts = m_dm->cdsFwgs;

    click("btnData");
    QVERIFY(inEditLayout("cxGrid5", "GroupBox1"));
    QVERIFY(widget("code33")->hasFocus());
    QCOMPARE(contacts.fieldByName("flag").asInteger(), 33);
    QCOMPARE(widget<DBDateEdit>("RzDBDateTimeEdit7")->text(), today());
    click("btnSave");
    QCOMPARE(m_messages->texts(), QStringList{"名称不能为空！"});
    QVERIFY(inEditLayout("cxGrid5", "GroupBox1"));

    // The same name as another contact is accepted: the test compares names with codes, and
    // contacts written here carry none.
    m_messages->clear();
    type("code33", QStringLiteral("华安物业"));
    type("RzDBEdit13", QStringLiteral("赵强"));
    type("RzDBEdit20", QStringLiteral("13800001111"));
    type("RzDBEdit2", QStringLiteral("东环路2号"));
    type("RzDBMemo3", QStringLiteral("夜间值班"));
    click("btnSave");
    QVERIFY(m_messages->shown().isEmpty());
    QVERIFY(inBrowseLayout("cxGrid5", "GroupBox1"));
    QCOMPARE(m_folder->rows("select flag, code, expand2, expand3, expand4, expand20 from baseinfo"
                            " where name = '华安物业' and id = 42"),
             QStringList{QStringLiteral("33||赵强|13800001111|东环路2号|夜间值班")});
    QVERIFY(m_folder->scalar("select expand9 from baseinfo where id = 42").toString().startsWith(today()));
    QCOMPARE(count(33), 3);

    // A name that is the code of a contact is taken.
    click("btnData");
    type("code33", QStringLiteral("  水电公司 "));
    click("btnSave");
    QCOMPARE(m_messages->texts(), QStringList{"此联系表已经存在，请输入其他联系表！"});
    QVERIFY(inEditLayout("cxGrid5", "GroupBox1"));
    QCOMPARE(contacts.state(), DatasetState::Insert);
    QCOMPARE(count(33), 3);
    click("btnCancel");
    QVERIFY(inBrowseLayout("cxGrid5", "GroupBox1"));
    QCOMPARE(count(33), 3);

    // An edit under the row's own name and code is accepted and posted where it stands; this
    // one starts with the menu's shortcut in the list.
    m_messages->clear();
    QVERIFY(contacts.locate("id", 31));
    const int row = contacts.recNo();
    QTableView* list = widget<DataGrid>("cxGrid5")->view();
    list->setFocus();
    QTest::keyClick(list, Qt::Key_E, Qt::ControlModifier);
    QCOMPARE(contacts.state(), DatasetState::Edit);
    QCOMPARE(Shared().EditOldCode, QStringLiteral("水电公司"));
    auto* phone = widget<DBEdit>("RzDBEdit20");
    phone->selectAll();
    typeText(phone, QStringLiteral("96196-2"));
    click("btnSave");
    QVERIFY(m_messages->shown().isEmpty());
    QCOMPARE(contacts.recNo(), row);
    QCOMPARE(m_folder->scalar("select expand3 from baseinfo where id = 31").toString(), QStringLiteral("96196-2"));

    // Renamed to another contact's code: refused; a name with a quote is stored as typed.
    QVERIFY(contacts.locate("id", 30));
    click("BitBtn3");
    auto* name = widget<DBEdit>("code33");
    name->selectAll();
    typeText(name, QStringLiteral("水电公司"));
    click("btnSave");
    QCOMPARE(m_messages->texts(), QStringList{"此联系表已经存在，请输入其他联系表！"});
    QCOMPARE(contacts.state(), DatasetState::Edit);
    name->selectAll();
    typeText(name, QStringLiteral("O'Brien 联络处"));
    click("btnSave");
    QCOMPARE(m_messages->texts().size(), 1);
    QCOMPARE(m_folder->scalar("select name from baseinfo where id = 30").toString(), QStringLiteral("O'Brien 联络处"));
    QVERIFY(inBrowseLayout("cxGrid5", "GroupBox1"));
}

void ReferenceDataTest::deleteAsksWithTheKindsLabel_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("flag");
    QTest::addColumn<QString>("grid");
    QTest::addColumn<QString>("question");
    QTest::newRow("events") << 18 << 10 << "cxGrid6"
                            << "是否要删除该事件信息";
    QTest::newRow("contacts") << 100 << 33 << "cxGrid5"
                              << "是否要删除该联系表";
}

void ReferenceDataTest::deleteAsksWithTheKindsLabel()
{
    QFETCH(int, code);
    QFETCH(int, flag);
    QFETCH(QString, grid);
    QFETCH(QString, question);
    open(code);
    const int before = count(flag);
    clickRow(grid, 1);
    const QString id = (code == 18 ? m_dm->cdsKhsj : m_dm->cdsFwgs).fieldByName("id").asString();

    m_messages->answerNext(MsgAnswer::No);
    click("BitBtn4");
    QCOMPARE(m_messages->texts(), QStringList{question});
    QCOMPARE(m_messages->shown().first().buttons, MsgButtons::YesNo);
    QCOMPARE(count(flag), before);

    // The menu item does the same; Yes deletes at once.
    m_messages->answerNext(MsgAnswer::Yes);
    widget<QMenu>("pmenu")->findChild<QAction*>("menuDel")->trigger();
    QCOMPARE(count(flag), before - 1);
    QVERIFY(m_folder->rows("select id from baseinfo where id = " + id).isEmpty());
    QCOMPARE(widget<DataGrid>(grid)->model()->totalRows(), before - 1);
}

void ReferenceDataTest::exportWritesTheCurrentList_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<QStringList>("header");
    QTest::addColumn<QString>("firstCell");
    QTest::newRow("events") << 18 << QStringList{"事件标题", "发生日期", "已完成"} << "停水通知";
    QTest::newRow("contacts") << 100 << QStringList{"名称", "联系人", "联系电话", "联系地址", "登记时间"} << "华安物业";
}

void ReferenceDataTest::exportWritesTheCurrentList()
{
    QFETCH(int, code);
    QFETCH(QStringList, header);
    QFETCH(QString, firstCell);
    open(code);
    click("btiExcel");
    QCOMPARE(m_opener->opened(), QStringList{TclassForm::exportPath()});
    QCOMPARE(QFileInfo(TclassForm::exportPath()).absolutePath() + '/', m_folder->path());
    XlsxReader book(TclassForm::exportPath());
    QVERIFY2(book.isValid(), qPrintable(book.error()));
    QCOMPARE(book.rowValues(0), header);
    QCOMPARE(book.rowCount(), (code == 18 ? 3 : 2) + 1);
    QCOMPARE(book.cell(1, 0).value, firstCell);

    // The menu item exports the same list.
    widget<QMenu>("pmenu")->findChild<QAction*>("Excel1")->trigger();
    QCOMPARE(m_opener->opened().size(), 2);
    QVERIFY(m_messages->shown().isEmpty());
}

void ReferenceDataTest::closingGivesTheFunctionCodeBack_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("page");
    QTest::newRow("events") << "act_other_khsj" << 18 << "事件记录"
                            << "TabSheet1";
    QTest::newRow("contacts") << "act_wy_fwgs" << 100 << "联系表"
                              << "TabSheet2";
}

void ReferenceDataTest::closingGivesTheFunctionCodeBack()
{
    QFETCH(QString, action);
    QFETCH(int, code);
    QFETCH(QString, title);
    QFETCH(QString, page);
    Shared().CurrentFunctionCode = kHomePage;
    const int rows = count(code == 18 ? 10 : 33);

    int codeWhileOpen = 0;
    QString titleWhileOpen;
    bool pageShown = false;
    bool modal = false;
    onModal<TfrmBaseinfo>([&](TfrmBaseinfo* window) {
        codeWhileOpen = Shared().CurrentFunctionCode;
        titleWhileOpen = window->windowTitle();
        pageShown = window->findChild<QWidget*>(page)->isVisible();
        modal = window->isModal();
        // Closed in the middle of an add: the record is not kept.
        QTest::mouseClick(window->findChild<BitButton*>("btnData"), Qt::LeftButton);
        window->close();
    });
    QVERIFY(TclassAllClass::get<Tclass_ctr_form>().canRun(action));
    TclassAllClass::get<Tclass_ctr_form>().Dispatch(action);
    QCOMPARE(codeWhileOpen, code);
    QCOMPARE(titleWhileOpen, title);
    QVERIFY(pageShown);
    QVERIFY(modal);
    QCOMPARE(Shared().CurrentFunctionCode, kHomePage);
    QCOMPARE(Shared().PreviousFunctionCode, kHomePage);
    QVERIFY(!m_dm->cdsKhsj.isEditing() && !m_dm->cdsFwgs.isEditing());
    QCOMPARE(count(code == 18 ? 10 : 33), rows);
    QVERIFY(m_messages->shown().isEmpty());
}

QTEST_MAIN(ReferenceDataTest)
#include "tst_referencedata.moc"
