// The control routines (ToggleControls, SetPopupMenuEnabled, ConfirmDelete), the reference-row
// controller on a real window, and the form opener.

#include "ControlsWindow.h"
#include "controls/ControlRoutines.h"
#include "controls/GuardedApplication.h"
#include "controls/Tagged.h"
#include "controls/Tclass_ctr_Baseinfo.h"
#include "data/DatabaseError.h"
#include "support/TclassAllClass.h"
#include "support/TclassFormBase.h"

#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

namespace {

// A window of a function for the opener: counts the live instances; can fail while showing.
class FunctionWindow : public QDialog {
public:
    static inline int alive = 0;
    static inline bool failOnShow = false;
    FunctionWindow()
    {
        ++alive;
        setWindowTitle(QStringLiteral("设计标题"));
        resize(300, 200);
    }
    ~FunctionWindow() override { --alive; }

protected:
    void showEvent(QShowEvent* event) override
    {
        QDialog::showEvent(event);
        if (failOnShow)
            throw DatabaseError(QStringLiteral("窗口打开失败"));
    }
};

class FailingWindow : public FunctionWindow {
public:
    FailingWindow() { throw DatabaseError(QStringLiteral("创建失败")); }
};

} // namespace

class TestToggleControls : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void togglesOnlyTheTaggedKinds();
    void popupMenuItemsAllFollow();
    void confirmDelete_data();
    void confirmDelete();
    void controllerAddsAndSaves();
    void controllerEditsAndRefusesATakenCode();
    void controllerCancelsAndDeletes();
    void openerShowsCentredModalAndFrees();
    void openerFreesWhenShowingFails();

private:
    Tclass_ctr_Baseinfo& controller() { return TclassAllClass::get<Tclass_ctr_Baseinfo>(); }
    QStringList codes() const { return m_fixture->column(QStringLiteral("code")); }
    // Enabled flags of the window's own buttons and grid, in a fixed order.
    QString layoutState() const
    {
        return QStringLiteral("%1%2%3%4")
            .arg(m_window->grid->isEnabled() ? 'G' : 'g')
            .arg(m_window->btnData->isEnabled() ? 'D' : 'd')
            .arg(m_window->btnSave->isEnabled() ? 'S' : 's')
            .arg(m_window->btnCancel->isEnabled() ? 'C' : 'c');
    }

    std::unique_ptr<ControlsFixture> m_fixture;
    std::unique_ptr<ControlsWindow> m_window;
};

void TestToggleControls::init()
{
    m_fixture = std::make_unique<ControlsFixture>();
    Shared().CurrentFunctionCode = 14;
    m_window = std::make_unique<ControlsWindow>(*m_fixture->dm);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
}

void TestToggleControls::cleanup()
{
    m_window.reset();
    m_fixture.reset();
}

void TestToggleControls::togglesOnlyTheTaggedKinds()
{
    QWidget window;
    auto* tagged = new BitButton(QStringLiteral("新增"), &window);
    tagged->setTag(14);
    auto* startsDisabled = new BitButton(QStringLiteral("保存"), &window);
    startsDisabled->setTag(14);
    startsDisabled->setEnabled(false);
    auto* otherCode = new BitButton(QStringLiteral("刷新"), &window);
    otherCode->setTag(18);
    auto* grid = new DataGrid(&window);
    grid->setTag(14);
    auto* box = new TaggedGroupBox(QStringLiteral("输入框"), &window);
    box->setTag(14);
    auto* inBox = new BitButton(QStringLiteral("框内"), box);
    inBox->setTag(14);
    // A box of another code, disabled: its button is switched by its own flag all the same.
    auto* closedBox = new TaggedGroupBox(QStringLiteral("别的"), &window);
    closedBox->setTag(18);
    closedBox->setEnabled(false);
    auto* inClosedBox = new BitButton(QStringLiteral("里面"), closedBox);
    inClosedBox->setTag(14);
    // Kinds that are never switched, tag or not.
    auto* plain = new QPushButton(QStringLiteral("普通"), &window);
    setTag(plain, 14);
    auto* edit = new QLineEdit(&window);
    setTag(edit, 14);
    QCOMPARE(tagOf(plain), 14);
    QCOMPARE(tagOf(tagged), 14);
    setTag(tagged, 14); // through the helper, the declared property is the one set
    QCOMPARE(tagged->tag(), 14);

    const QList<QWidget*> all = {tagged, startsDisabled, otherCode,   grid,  box,
                                 inBox,  closedBox,      inClosedBox, plain, edit};
    auto own = [&all] {
        QString flags;
        for (QWidget* widget : all)
            flags += widget->testAttribute(Qt::WA_ForceDisabled) ? '0' : '1';
        return flags;
    };
    QCOMPARE(own(), QStringLiteral("1011110111"));
    ToggleControls(&window, true);
    QCOMPARE(own(), QStringLiteral("0110000011"));
    closedBox->setEnabled(true);
    QVERIFY(!inClosedBox->isEnabled()); // it was switched off although its box was off
    closedBox->setEnabled(false);
    ToggleControls(&window, true);
    QCOMPARE(own(), QStringLiteral("1011110111"));

    // Without the function code every switched kind flips, whatever its tag.
    ToggleControls(&window, false);
    QCOMPARE(own(), QStringLiteral("0100001011"));
    ToggleControls(&window, false);
    QCOMPARE(own(), QStringLiteral("1011110111"));
}

void TestToggleControls::popupMenuItemsAllFollow()
{
    QMenu menu;
    QList<QAction*> items = {menu.addAction(QStringLiteral("新增")), menu.addAction(QStringLiteral("修改"))};
    items << menu.addSeparator() << menu.addAction(QStringLiteral("用Excel导出数据"));
    items[1]->setEnabled(false);
    SetPopupMenuEnabled(&menu, false);
    for (QAction* item : items)
        QVERIFY(!item->isEnabled());
    SetPopupMenuEnabled(&menu, true);
    for (QAction* item : items)
        QVERIFY(item->isEnabled());
}

void TestToggleControls::confirmDelete_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<int>("answer");
    QTest::addColumn<QStringList>("left");
    QTest::newRow("yes deletes the current bed")
        << "select * from baseinfo where flag=4" << int(MsgAnswer::Yes) << QStringList({"A102", "B201", "B202"});
    QTest::newRow("no keeps it") << "select * from baseinfo where flag=4" << int(MsgAnswer::No)
                                 << QStringList({"A101", "A102", "B201", "B202"});
    QTest::newRow("yes on an empty query deletes nothing")
        << "select * from baseinfo where flag=99" << int(MsgAnswer::Yes)
        << QStringList({"A101", "A102", "B201", "B202"});
}

void TestToggleControls::confirmDelete()
{
    QFETCH(QString, sql);
    QFETCH(int, answer);
    QFETCH(QStringList, left);
    Dataset& beds = m_fixture->dm->cdsFw;
    beds.setSql(sql);
    beds.open();
    m_fixture->messages.answerNext(MsgAnswer(answer));
    ConfirmDelete(beds, QStringLiteral("铺位信息"));
    QCOMPARE(m_fixture->messages.texts(), QStringList({"是否要删除该铺位信息"}));
    QCOMPARE(m_fixture->messages.shown().first().title, QStringLiteral("提示信息"));
    QCOMPARE(m_fixture->messages.shown().first().buttons, MsgButtons::YesNo);
    QCOMPARE(codes(), left);
}

void TestToggleControls::controllerAddsAndSaves()
{
    Dataset& beds = m_fixture->dm->cdsFw;
    QCOMPARE(layoutState(), QStringLiteral("GDsc"));
    const QString id = controller().BeginAdd(beds, m_window->code, 4, m_window.get(), true);
    QCOMPARE(id, QStringLiteral("2")); // the new database handed out 1 already
    QCOMPARE(beds.state(), DatasetState::Insert);
    QCOMPARE(beds.fieldByName(QStringLiteral("id")).asInteger(), 2);
    QCOMPARE(beds.fieldByName(QStringLiteral("flag")).asInteger(), 4);
    QCOMPARE(layoutState(), QStringLiteral("gdSC"));
    QTRY_VERIFY(m_window->code->hasFocus());
    QCOMPARE(m_fixture->folder.rows(QStringLiteral("select id from maxvalue where tablename='baseinfo' order by id")),
             QStringList({"1", "2"}));

    // A code another bed has is refused, the record still pending.
    typeText(m_window->code, QStringLiteral("A101"));
    QVERIFY(!controller().SaveRecord(4, beds, QStringLiteral("A101"), QString(), QStringLiteral("铺位信息"),
                                     m_window.get(), true));
    QCOMPARE(m_fixture->messages.texts(), QStringList({"此铺位信息已经存在，请输入其他铺位信息！"}));
    QCOMPARE(beds.state(), DatasetState::Insert);
    QCOMPARE(layoutState(), QStringLiteral("gdSC"));
    QCOMPARE(codes().size(), 4);

    // A free code is posted and the beds reopened at the first row.
    m_window->code->clear();
    typeText(m_window->code, QStringLiteral("C9"));
    QVERIFY(controller().SaveRecord(4, beds, QStringLiteral("C9"), QString(), QStringLiteral("铺位信息"),
                                    m_window.get(), true));
    QCOMPARE(beds.state(), DatasetState::Browse);
    QCOMPARE(beds.recNo(), 0);
    QCOMPARE(layoutState(), QStringLiteral("GDsc"));
    QCOMPARE(m_fixture->folder.rows(QStringLiteral("select id, code from baseinfo where flag=4 and code='C9'")),
             QStringList({"2|C9"}));
    QCOMPARE(m_window->grid->footerText("cxGridDBTableView2DBColumn4"), QStringLiteral("5"));

    // A code of another flag kind does not count.
    QVERIFY(controller().CheckCode(10, QStringLiteral("A101"), true));
    QVERIFY(!controller().CheckCode(4, QStringLiteral("a101"), true)); // codes compare without case
}

void TestToggleControls::controllerEditsAndRefusesATakenCode()
{
    Dataset& beds = m_fixture->dm->cdsFw;
    beds.moveTo(0);
    controller().BeginEdit(beds, m_window->code, m_window.get(), true);
    QCOMPARE(Shared().EditOldCode, QStringLiteral("A101"));
    QCOMPARE(beds.state(), DatasetState::Edit);
    QCOMPARE(layoutState(), QStringLiteral("gdSC"));
    QTRY_VERIFY(m_window->code->hasFocus());

    QVERIFY(!controller().SaveRecord(4, beds, QStringLiteral("A102"), Shared().EditOldCode, QStringLiteral("铺位信息"),
                                     m_window.get(), true));
    QCOMPARE(m_fixture->messages.lastText(), QStringLiteral("此铺位信息已经存在，请输入其他铺位信息！"));
    QCOMPARE(beds.state(), DatasetState::Edit);

    // Its own unchanged code is free; an edit posts without reopening.
    m_window->deposit->setText(QStringLiteral("260"));
    beds.moveTo(2); // ignored while editing
    QVERIFY(controller().SaveRecord(4, beds, QStringLiteral("A101"), Shared().EditOldCode, QStringLiteral("铺位信息"),
                                    m_window.get(), true));
    QCOMPARE(beds.state(), DatasetState::Browse);
    QCOMPARE(layoutState(), QStringLiteral("GDsc"));
    QCOMPARE(m_fixture->folder.scalar(QStringLiteral("select expand12 from baseinfo where id=20")).toInt(), 260);
}

void TestToggleControls::controllerCancelsAndDeletes()
{
    Dataset& beds = m_fixture->dm->cdsFw;
    controller().BeginAdd(beds, m_window->code, 4, m_window.get(), true);
    controller().CancelRecord(beds, m_window.get(), true);
    QCOMPARE(beds.state(), DatasetState::Browse);
    QCOMPARE(layoutState(), QStringLiteral("GDsc"));
    QCOMPARE(codes().size(), 4);

    beds.moveTo(1);
    m_fixture->messages.answerNext(MsgAnswer::Yes);
    controller().DeleteRecord(beds, QStringLiteral("铺位信息"));
    QCOMPARE(codes(), QStringList({"A101", "B201", "B202"}));

    // Nothing is asked on an empty query.
    m_fixture->messages.clear();
    beds.setSql(QStringLiteral("select * from baseinfo where flag=4 and code='none'"));
    beds.open();
    controller().DeleteRecord(beds, QStringLiteral("铺位信息"));
    QVERIFY(m_fixture->messages.shown().isEmpty());
}

void TestToggleControls::openerShowsCentredModalAndFrees()
{
    TclassFormBase& opener = TclassAllClass::get<TclassFormBase>();
    opener.setMainWindow(m_window.get());
    m_window->move(60, 40);

    for (const QString& caption : {QStringLiteral("铺位信息"), QString()}) {
        QPointer<QWidget> shown;
        QString title;
        bool modal = false;
        QWidget* owner = nullptr;
        QPoint centre;
        QTimer::singleShot(0, this, [&] {
            shown = QApplication::activeModalWidget();
            if (!shown)
                return;
            title = shown->windowTitle();
            modal = shown->isModal() && shown->isVisible();
            owner = shown->parentWidget();
            centre = shown->geometry().center();
            static_cast<QDialog*>(shown.data())->reject();
        });
        QCOMPARE(opener.ShowForm<FunctionWindow>(caption), int(QDialog::Rejected));
        QCOMPARE(title, caption.isEmpty() ? QStringLiteral("设计标题") : caption);
        QVERIFY(modal);
        QCOMPARE(owner, nullptr);
        QVERIFY2((centre - m_window->frameGeometry().center()).manhattanLength() <= 4,
                 qPrintable(QStringLiteral("%1,%2").arg(centre.x()).arg(centre.y())));
        QVERIFY(shown.isNull());
        QCOMPARE(FunctionWindow::alive, 0);
    }
}

void TestToggleControls::openerFreesWhenShowingFails()
{
    TclassFormBase& opener = TclassAllClass::get<TclassFormBase>();
    opener.setMainWindow(m_window.get());

    // The window's show handler fails: the error is shown, the window can still be closed,
    // and it is freed.
    FunctionWindow::failOnShow = true;
    QTimer::singleShot(0, this, [] {
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
            dialog->reject();
    });
    opener.ShowForm<FunctionWindow>(QStringLiteral("铺位信息"));
    FunctionWindow::failOnShow = false;
    QCOMPARE(m_fixture->messages.texts(), QStringList({"窗口打开失败"}));
    QCOMPARE(FunctionWindow::alive, 0);

    // A window that fails while being created is not left behind either.
    QVERIFY_THROWS_EXCEPTION(DatabaseError, opener.ShowForm<FailingWindow>(QString()));
    QCOMPARE(FunctionWindow::alive, 0);
}

int main(int argc, char* argv[])
{
    // The program's own application object, whose general handler shows escaped errors.
    GuardedApplication app(argc, argv);
    TestToggleControls test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_togglecontrols.moc"
