// The department tree window and its edit dialog, end to end on the real widgets: adding at the
// same level and below, renaming, deleting leaves, refreshing, and what reaches the database.

#include "common/ConnectedModule.h"
#include "common/UserInput.h"
#include "common/ModalDriver.h"
#include "controls/BitButton.h"
#include "controls/DataTree.h"
#include "data/DataChecks.h"
#include "premises/TfrmDeptEdit.h"
#include "premises/TfrmDeptSet.h"
#include "support/SharedValues.h"

#include <QDir>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

namespace {

// What the dialog showed when it opened.
struct Seen {
    TfrmDeptEdit* dialog = nullptr;
    QString name;
    QString parentName;
    bool parentEditable = true;
};

} // namespace

class DepartmentsTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void threeLevelsBuiltWithBothAddButtons();
    void editRewritesTheCodeAndKeepsParentLevelAndSelection();
    void onlyLeavesCanBeDeleted();
    void abandonedAddLeavesItsIdentifierUsed();
    void failedSaveIsReportedAndKeepsTheDialogOpen();
    void actionsOnANodeNeedASelection();
    void refreshKeepsTheSelectedDepartment();

private:
    void addDepartment(int id, const QString& name, int parent, int level)
    {
        m_folder->exec(QStringLiteral("insert into baseinfo(id,code,name,expand1,flag,main_tree,bm_id)"
                                      " values(%1,'D%1','%2','%3',3,%4,0)")
                           .arg(id)
                           .arg(name)
                           .arg(level)
                           .arg(parent));
    }
    // Opens the window over the departments in the database.
    void openWindow()
    {
        ReopenQuery(m_dm->cdsDept);
        m_window = std::make_unique<TfrmDeptSet>();
        m_window->show();
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
        m_tree = m_window->findChild<DataTree*>(QStringLiteral("treeDept"));
        QVERIFY(m_tree);
    }
    void click(const char* button)
    {
        auto* found = m_window->findChild<BitButton*>(QString::fromLatin1(button));
        QVERIFY2(found && found->isVisible() && found->isEnabled(), button);
        QTest::mouseClick(found, Qt::LeftButton);
    }
    void select(const QString& name)
    {
        const QList<QTreeWidgetItem*> found = m_tree->findItems(name, Qt::MatchExactly | Qt::MatchRecursive);
        QVERIFY2(found.size() == 1, qPrintable(name));
        m_tree->scrollToItem(found.first());
        QTest::mouseClick(m_tree->viewport(), Qt::LeftButton, {}, m_tree->visualItemRect(found.first()).center());
        QCOMPARE(m_tree->currentItem(), found.first());
    }
    // Clicks the button; the dialog that opens gets the name typed and "确定" (or "退出").
    Seen addOrEdit(const char* button, const QString& name, const char* finish = "btnSave")
    {
        Seen seen;
        onModal<TfrmDeptEdit>([&seen, name, finish](TfrmDeptEdit* dialog) {
            auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("edtDeptName"));
            auto* parent = dialog->findChild<QLineEdit*>(QStringLiteral("edtUpDeptName"));
            seen = Seen{dialog, edit->text(), parent->text(), parent->isEnabled()};
            edit->selectAll();
            QTest::keyClick(edit, Qt::Key_Delete);
            typeText(edit, name);
            QTest::mouseClick(dialog->findChild<QPushButton*>(QString::fromLatin1(finish)), Qt::LeftButton);
        });
        click(button);
        return seen;
    }
    // Every department as "name|level|parent name|code", ordered by id; "-" for no parent, "=id"
    // for a code that is the identifier.
    QStringList departments() const
    {
        QHash<QString, QString> names;
        const QStringList rows = m_folder->rows(
            QStringLiteral("select id, code, name, expand1, main_tree from baseinfo where flag = 3 order by id"));
        for (const QString& row : rows)
            names.insert(row.section('|', 0, 0), row.section('|', 2, 2));
        QStringList shown;
        for (const QString& row : rows) {
            const QStringList v = row.split('|');
            shown << QStringList{v[2], v[3], names.value(v[4], QStringLiteral("-")),
                                 v[1] == v[0] ? QStringLiteral("=id") : v[1]}
                         .join('|');
        }
        return shown;
    }
    int lastIdentifier() const { return m_folder->scalar(QStringLiteral("select max(id) from maxvalue")).toInt(); }
    // The tree as text: "name(child,child)" per top node, in display order.
    static QString shape(const QTreeWidgetItem* item)
    {
        QString text = item->text(0);
        QStringList children;
        for (int i = 0; i < item->childCount(); ++i)
            children << shape(item->child(i));
        return children.isEmpty() ? text : text + '(' + children.join(',') + ')';
    }
    QString shape() const
    {
        QStringList tops;
        for (int i = 0; i < m_tree->topLevelItemCount(); ++i)
            tops << shape(m_tree->topLevelItem(i));
        return tops.join(' ');
    }
    QString currentName() const { return m_dm->cdsDept.fieldByName(QStringLiteral("name")).asString(); }

    std::unique_ptr<ConnectedModule> m_module;
    TestFolder* m_folder = nullptr;
    ScriptedMessages* m_messages = nullptr;
    TDM* m_dm = nullptr;
    std::unique_ptr<TfrmDeptSet> m_window;
    DataTree* m_tree = nullptr;
};

void DepartmentsTest::init()
{
    m_module = std::make_unique<ConnectedModule>();
    m_folder = &m_module->folder;
    m_messages = &m_module->messages;
    m_dm = m_module->dm.get();
    Shared().PreviousFunctionCode = 68;
    Shared().CurrentFunctionCode = 10;
}

void DepartmentsTest::cleanup()
{
    m_window.reset();
    m_module.reset();
}

void DepartmentsTest::threeLevelsBuiltWithBothAddButtons()
{
    openWindow();
    QCOMPARE(m_tree->topLevelItemCount(), 0);

    // On the empty tree "增加同级" makes a top-level department.
    Seen seen = addOrEdit("btnAddTjDept", QStringLiteral("生产部"));
    QCOMPARE(seen.parentName, QString());
    QVERIFY(!seen.parentEditable);
    TfrmDeptEdit* const dialog = seen.dialog;
    QCOMPARE(departments(), QStringList{QStringLiteral("生产部|1|-|=id")});
    QCOMPARE(m_folder->scalar("select main_tree from baseinfo where flag = 3").toInt(), 0);
    QCOMPARE(m_folder->scalar("select bm_id from baseinfo where flag = 3").toInt(), 0);

    select(QStringLiteral("生产部"));
    addOrEdit("btnAddTjDept", QStringLiteral("  后勤部 ")); // stored trimmed
    select(QStringLiteral("生产部"));
    seen = addOrEdit("btnAddXjDept", QStringLiteral("一车间"));
    QCOMPARE(seen.parentName, QStringLiteral("生产部"));
    QCOMPARE(seen.name, QString()); // an add starts empty

    // Enter moves from the name to "确定", and Enter there saves.
    select(QStringLiteral("一车间"));
    bool nameFocused = false;
    QWidget* afterEnter = nullptr;
    QPushButton* save = nullptr;
    onModal<TfrmDeptEdit>([&](TfrmDeptEdit* dialog) {
        seen.parentName = dialog->findChild<QLineEdit*>(QStringLiteral("edtUpDeptName"))->text();
        auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("edtDeptName"));
        save = dialog->findChild<QPushButton*>(QStringLiteral("btnSave"));
        // The focus is the active window's: wait until the dialog is that window.
        if (QTest::qWaitForWindowActive(dialog)) {
            nameFocused = name->hasFocus();
            typeText(name, QStringLiteral("乙班"));
            QTest::keyClick(name, Qt::Key_Return);
            afterEnter = QApplication::focusWidget();
            if (afterEnter)
                QTest::keyClick(afterEnter, Qt::Key_Return);
        }
        if (dialog->isVisible())
            dialog->reject(); // the keys did not save: let the test go on and fail below
    });
    click("btnAddXjDept");
    QVERIFY(nameFocused);
    QCOMPARE(afterEnter, save);
    QCOMPARE(seen.parentName, QStringLiteral("一车间"));

    // Beside a third-level department: same parent, same level, the parent's name shown.
    select(QStringLiteral("乙班"));
    seen = addOrEdit("btnAddTjDept", QStringLiteral("甲班"));
    QCOMPARE(seen.parentName, QStringLiteral("一车间"));
    QCOMPARE(seen.dialog, dialog); // one dialog for the whole run

    QCOMPARE(departments(), (QStringList{QStringLiteral("生产部|1|-|=id"), QStringLiteral("后勤部|1|-|=id"),
                                         QStringLiteral("一车间|2|生产部|=id"), QStringLiteral("乙班|3|一车间|=id"),
                                         QStringLiteral("甲班|3|一车间|=id")}));
    // Siblings in the order of their names (后 before 生, 甲 before 乙), whatever the order of adding.
    QCOMPARE(shape(), QStringLiteral("后勤部 生产部(一车间(甲班,乙班))"));
    // The refresh after the add kept the department the add started from.
    QCOMPARE(m_tree->currentItem()->text(0), QStringLiteral("乙班"));

    m_window->resize(420, 300);
    select(QStringLiteral("甲班"));
    m_tree->setFocus();
    QDir().mkpath(QStringLiteral(QITANG_TEST_OUTPUT));
    QVERIFY(m_window->grab().save(QStringLiteral(QITANG_TEST_OUTPUT "/departments.png")));
}

void DepartmentsTest::editRewritesTheCodeAndKeepsParentLevelAndSelection()
{
    addDepartment(5, QStringLiteral("生产部"), 0, 1);
    addDepartment(6, QStringLiteral("一车间"), 5, 2);
    addDepartment(7, QStringLiteral("二车间"), 5, 2);
    openWindow();
    m_tree->expandAll();
    const int identifiers = lastIdentifier();

    select(QStringLiteral("二车间"));
    const Seen seen = addOrEdit("btnEditDept", QStringLiteral("  安装'车间 "));
    QCOMPARE(seen.name, QStringLiteral("二车间"));
    QCOMPARE(seen.parentName, QStringLiteral("生产部"));

    // The quote is stored as typed, the blanks around the name are not; code becomes the id.
    QCOMPARE(m_folder->rows("select id, code, name, expand1, main_tree from baseinfo where id = 7"),
             QStringList{QStringLiteral("7|7|安装'车间|2|5")});
    QCOMPARE(m_folder->rows("select code, name from baseinfo where id = 6"), QStringList{QStringLiteral("D6|一车间")});
    QCOMPARE(lastIdentifier(), identifiers); // an edit allocates nothing
    QCOMPARE(m_tree->currentItem()->text(0), QStringLiteral("安装'车间"));
    QCOMPARE(m_tree->selectedId(), QStringLiteral("7"));
    QCOMPARE(currentName(), QStringLiteral("安装'车间"));
    QCOMPARE(shape(), QStringLiteral("生产部(安装'车间,一车间)"));

    // "退出" changes nothing.
    addOrEdit("btnEditDept", QStringLiteral("不要"), "btnClose");
    QCOMPARE(m_folder->scalar("select name from baseinfo where id = 7").toString(), QStringLiteral("安装'车间"));
    QVERIFY(m_messages->shown().isEmpty());
}

void DepartmentsTest::onlyLeavesCanBeDeleted()
{
    addDepartment(5, QStringLiteral("生产部"), 0, 1);
    addDepartment(6, QStringLiteral("一车间"), 5, 2);
    addDepartment(8, QStringLiteral("后勤部"), 0, 1);
    openWindow();
    m_tree->expandAll();

    select(QStringLiteral("生产部"));
    click("btnDelDept");
    QCOMPARE(m_messages->texts(), QStringList{QStringLiteral("此节点有下级节点，请先删除下级节点信息！")});
    QCOMPARE(m_messages->shown().first().title, QStringLiteral("提示信息"));
    QCOMPARE(m_folder->scalar("select count(*) from baseinfo where flag = 3").toInt(), 3);

    m_messages->clear();
    select(QStringLiteral("一车间"));
    m_messages->answerNext(MsgAnswer::No);
    click("btnDelDept");
    QCOMPARE(m_messages->texts(), QStringList{QStringLiteral("是否要删除该一车间")});
    QCOMPARE(m_messages->shown().first().buttons, MsgButtons::YesNo);
    QCOMPARE(m_folder->scalar("select count(*) from baseinfo where flag = 3").toInt(), 3);

    m_messages->answerNext(MsgAnswer::Yes);
    click("btnDelDept");
    QCOMPARE(m_folder->rows("select name from baseinfo where flag = 3 order by id"),
             (QStringList{QStringLiteral("生产部"), QStringLiteral("后勤部")}));
    QCOMPARE(shape(), QStringLiteral("后勤部 生产部"));

    // Without its sub-department the parent goes too.
    m_messages->clear();
    select(QStringLiteral("生产部"));
    click("btnDelDept");
    QCOMPARE(m_messages->texts(), QStringList{QStringLiteral("是否要删除该生产部")});
    QCOMPARE(m_folder->rows("select name from baseinfo where flag = 3"), QStringList{QStringLiteral("后勤部")});
    QCOMPARE(shape(), QStringLiteral("后勤部"));
}

void DepartmentsTest::abandonedAddLeavesItsIdentifierUsed()
{
    addDepartment(5, QStringLiteral("生产部"), 0, 1);
    openWindow();
    const int before = lastIdentifier();

    select(QStringLiteral("生产部"));
    addOrEdit("btnAddXjDept", QStringLiteral("一车间"), "btnClose");
    QCOMPARE(m_folder->scalar("select count(*) from baseinfo where flag = 3").toInt(), 1);
    QCOMPARE(lastIdentifier(), before + 1);

    // Esc closes the dialog unsaved as well.
    onModal<TfrmDeptEdit>([](TfrmDeptEdit* dialog) {
        typeText(dialog->findChild<QLineEdit*>(QStringLiteral("edtDeptName")), QStringLiteral("二车间"));
        QTest::keyClick(dialog, Qt::Key_Escape);
    });
    click("btnAddTjDept");
    QCOMPARE(m_folder->scalar("select count(*) from baseinfo where flag = 3").toInt(), 1);

    addOrEdit("btnAddTjDept", QStringLiteral("后勤部"));
    QCOMPARE(m_folder->scalar("select id from baseinfo where name = '后勤部'").toInt(), before + 3);
    QCOMPARE(m_folder->scalar("select code from baseinfo where name = '后勤部'").toString(),
             QString::number(before + 3));
}

void DepartmentsTest::failedSaveIsReportedAndKeepsTheDialogOpen()
{
    addDepartment(5, QStringLiteral("生产部"), 0, 1);
    openWindow();
    // The database refuses every new department.
    m_folder->execSqlite("CREATE TRIGGER no_new_departments BEFORE INSERT ON baseinfo WHEN NEW.flag = 3"
                         " BEGIN SELECT RAISE(ABORT, 'refused'); END");

    bool stillOpen = false;
    QString kept;
    onModal<TfrmDeptEdit>([&](TfrmDeptEdit* dialog) {
        auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("edtDeptName"));
        typeText(name, QStringLiteral("后勤部"));
        QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("btnSave")), Qt::LeftButton);
        stillOpen = dialog->isVisible();
        kept = name->text();
        QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("btnClose")), Qt::LeftButton);
    });
    click("btnAddTjDept");
    QVERIFY(stillOpen);
    QCOMPARE(kept, QStringLiteral("后勤部"));
    QCOMPARE(m_messages->texts(), QStringList{QStringLiteral("部门信息保存失败！")});
    QCOMPARE(m_folder->rows("select name from baseinfo where flag = 3"), QStringList{QStringLiteral("生产部")});
}

void DepartmentsTest::actionsOnANodeNeedASelection()
{
    openWindow(); // an empty tree: nothing is selected
    const int before = lastIdentifier();
    bool opened = false;
    onModal<TfrmDeptEdit>(
        [&opened](TfrmDeptEdit* dialog) {
            opened = true;
            dialog->reject();
        },
        300);
    click("btnAddXjDept");
    click("btnEditDept");
    click("btnDelDept");
    click("btnRefresh");
    QVERIFY(!opened);
    QVERIFY(m_messages->shown().isEmpty());
    QCOMPARE(lastIdentifier(), before);
    QCOMPARE(m_folder->scalar("select count(*) from baseinfo where flag = 3").toInt(), 0);
}

void DepartmentsTest::refreshKeepsTheSelectedDepartment()
{
    addDepartment(5, QStringLiteral("生产部"), 0, 1);
    addDepartment(6, QStringLiteral("一车间"), 5, 2);
    addDepartment(8, QStringLiteral("后勤部"), 0, 1);
    openWindow();
    m_tree->expandAll();
    select(QStringLiteral("一车间"));

    // Departments written elsewhere appear; the selection stays where it was.
    addDepartment(9, QStringLiteral("安保部"), 0, 1);
    m_folder->exec("update baseinfo set name = '后勤服务部' where id = 8");
    click("btnRefresh");
    QCOMPARE(shape(), QStringLiteral("安保部 后勤服务部 生产部(一车间)"));
    QCOMPARE(m_tree->selectedId(), QStringLiteral("6"));
    QCOMPARE(currentName(), QStringLiteral("一车间"));
}

QTEST_MAIN(DepartmentsTest)
#include "tst_departments.moc"
