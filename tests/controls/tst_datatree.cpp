// The department tree over the shared department query: structure, order, selection both ways
// and following the query through reopen, insert, post and delete.

#include "common/ConnectedModule.h"
#include "controls/AppFont.h"
#include "controls/DataTree.h"
#include "data/DataChecks.h"
#include "support/SharedValues.h"

#include <QDir>
#include <QLineEdit>
#include <QtTest>

class TestDataTree : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void nodesHangUnderTheirParentsInNameOrder();
    void oddParentsAreShownAtTheTop_data();
    void oddParentsAreShownAtTheTop();
    void selectionAndCurrentRecordFollowEachOther();
    void treeFollowsTheQuery();
    void treeIsReadOnly();

private:
    void addDepartment(int id, const QString& name, int parent, int level = 1)
    {
        m_dm->ADO.execute(QStringLiteral("INSERT INTO baseinfo(id, flag, code, name, expand1, main_tree, bm_id)"
                                         " VALUES (%1, 3, '%1', '%2', '%4', %3, 0)")
                              .arg(id)
                              .arg(name)
                              .arg(parent)
                              .arg(level));
    }
    // The tree as text: "name(child,child)" per top node, in display order.
    static QString shape(const QTreeWidgetItem* item)
    {
        QString text = item->text(0);
        if (item->childCount() > 0) {
            QStringList children;
            for (int i = 0; i < item->childCount(); ++i)
                children << shape(item->child(i));
            text += '(' + children.join(',') + ')';
        }
        return text;
    }
    QString shape() const
    {
        QStringList tops;
        for (int i = 0; i < m_tree->topLevelItemCount(); ++i)
            tops << shape(m_tree->topLevelItem(i));
        return tops.join(' ');
    }
    QString currentName() { return m_dm->cdsDept.fieldByName(QStringLiteral("name")).asString(); }

    std::unique_ptr<ConnectedModule> m_module;
    TestFolder* m_folder = nullptr;
    ScriptedMessages* m_messages = nullptr;
    TDM* m_dm = nullptr;
    std::unique_ptr<DataTree> m_tree;
};

void TestDataTree::init()
{
    m_module = std::make_unique<ConnectedModule>();
    m_folder = &m_module->folder;
    m_messages = &m_module->messages;
    m_dm = m_module->dm.get();
    // Names whose pinyin order differs from their code point order: 安 < 北 < 上 in pinyin.
    addDepartment(1, QStringLiteral("上海分部"), 0);
    addDepartment(2, QStringLiteral("北京总部"), 0);
    addDepartment(3, QStringLiteral("安徽分部"), 0);
    addDepartment(4, QStringLiteral("生产科"), 2, 2);
    addDepartment(5, QStringLiteral("财务科"), 2, 2);
    addDepartment(6, QStringLiteral("一班"), 4, 3);
    ReopenQuery(m_dm->cdsDept);
    m_tree = std::make_unique<DataTree>();
    m_tree->setObjectName(QStringLiteral("treeDept"));
    m_tree->setFont(programFont());
    m_tree->resize(300, 260);
    m_tree->setDataSource(&m_dm->dsDept);
    m_tree->expandAll();
    m_tree->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_tree.get()));
}

void TestDataTree::cleanup()
{
    m_tree.reset();
    m_module.reset();
}

void TestDataTree::nodesHangUnderTheirParentsInNameOrder()
{
    QCOMPARE(shape(), QStringLiteral("安徽分部 北京总部(财务科,生产科(一班)) 上海分部"));
    QCOMPARE(m_tree->itemForId(QStringLiteral("6"))->toolTip(0), QStringLiteral("一班"));
    QDir().mkpath(QStringLiteral(QITANG_TEST_OUTPUT));
    m_tree->setCurrentItem(m_tree->itemForId(QStringLiteral("6")));
    m_tree->setFocus();
    QVERIFY(m_tree->grab().save(QStringLiteral(QITANG_TEST_OUTPUT "/department_tree.png")));
}

void TestDataTree::oddParentsAreShownAtTheTop_data()
{
    QTest::addColumn<QString>("statement");
    QTest::addColumn<QString>("expected");
    QTest::newRow("parent row missing") << "UPDATE baseinfo SET main_tree = 99 WHERE id = 4"
                                        << "安徽分部 北京总部(财务科) 上海分部 生产科(一班)";
    QTest::newRow("its own parent") << "UPDATE baseinfo SET main_tree = 5 WHERE id = 5"
                                    << "安徽分部 北京总部(生产科(一班)) 财务科 上海分部";
    // 2 → 6 → 4 → 2: none of them reaches the top, so all three are shown there.
    QTest::newRow("parents in a ring") << "UPDATE baseinfo SET main_tree = 6 WHERE id = 2"
                                       << "安徽分部 北京总部(财务科) 上海分部 生产科 一班";
}

void TestDataTree::oddParentsAreShownAtTheTop()
{
    QFETCH(QString, statement);
    QFETCH(QString, expected);
    m_dm->ADO.execute(statement);
    ReopenQuery(m_dm->cdsDept);
    QCOMPARE(shape(), expected);
}

void TestDataTree::selectionAndCurrentRecordFollowEachOther()
{
    Dataset& depts = m_dm->cdsDept;
    QVERIFY(m_tree->selectById(QStringLiteral("6")));
    QCOMPARE(currentName(), QStringLiteral("一班"));
    QCOMPARE(m_tree->selectedParentText(), QStringLiteral("生产科"));

    // A click on a node.
    QTreeWidgetItem* finance = m_tree->itemForId(QStringLiteral("5"));
    QTest::mouseClick(m_tree->viewport(), Qt::LeftButton, {}, m_tree->visualItemRect(finance).center());
    QCOMPARE(currentName(), QStringLiteral("财务科"));
    QCOMPARE(m_tree->selectedId(), QStringLiteral("5"));

    // The dataset moving selects the node.
    QVERIFY(depts.locate(QStringLiteral("id"), 3));
    QCOMPARE(m_tree->selectedId(), QStringLiteral("3"));
    QCOMPARE(m_tree->selectedParentText(), QString());

    // Keys move through the nodes and the record with them.
    m_tree->setFocus();
    QTest::keyClick(m_tree->viewport(), Qt::Key_Down);
    QCOMPARE(m_tree->selectedId(), QStringLiteral("2"));
    QCOMPARE(currentName(), QStringLiteral("北京总部"));

    QVERIFY(!m_tree->selectById(QStringLiteral("77")));
    QCOMPARE(m_tree->selectedId(), QStringLiteral("2"));

    // While the record is edited the selection stays on it.
    depts.edit();
    m_tree->setCurrentItem(m_tree->itemForId(QStringLiteral("1")));
    QCOMPARE(m_tree->selectedId(), QStringLiteral("2"));
    QCOMPARE(currentName(), QStringLiteral("北京总部"));
    depts.cancel();
}

void TestDataTree::treeFollowsTheQuery()
{
    Dataset& depts = m_dm->cdsDept;
    QVERIFY(m_tree->selectById(QStringLiteral("4")));

    // Reopened with a new child below the selected node: the node stays selected, and current.
    addDepartment(7, QStringLiteral("二班"), 4, 3);
    ReopenQuery(depts);
    QCOMPARE(m_tree->selectedId(), QStringLiteral("4"));
    QCOMPARE(currentName(), QStringLiteral("生产科"));
    QCOMPARE(shape(), QStringLiteral("安徽分部 北京总部(财务科,生产科(二班,一班)) 上海分部"));

    // A rename posted through the query moves the node to its new place among its siblings.
    depts.edit();
    depts.fieldByName(QStringLiteral("name")).setAsString(QStringLiteral("安装科"));
    depts.post();
    QCOMPARE(shape(), QStringLiteral("安徽分部 北京总部(安装科(二班,一班),财务科) 上海分部"));
    QCOMPARE(m_tree->selectedId(), QStringLiteral("4"));

    // A record inserted through the query appears when posted, selected as the new current.
    depts.insert();
    QCOMPARE(m_tree->topLevelItemCount(), 3); // no node for a record without its key
    depts.fieldByName(QStringLiteral("id")).setAsInteger(8);
    depts.fieldByName(QStringLiteral("flag")).setAsInteger(3);
    depts.fieldByName(QStringLiteral("name")).setAsString(QStringLiteral("后勤部"));
    depts.fieldByName(QStringLiteral("main_tree")).setAsInteger(0);
    depts.post();
    QCOMPARE(m_tree->selectedId(), QStringLiteral("8"));
    QCOMPARE(shape(), QStringLiteral("安徽分部 北京总部(安装科(二班,一班),财务科) 后勤部 上海分部"));

    // Deleting the selected node drops it and selects the record that became current.
    QVERIFY(depts.locate(QStringLiteral("id"), 7));
    depts.deleteRecord();
    QVERIFY(!m_tree->itemForId(QStringLiteral("7")));
    QVERIFY(!m_tree->selectedId().isEmpty());
    QCOMPARE(m_tree->selectedId(), depts.fieldByName(QStringLiteral("id")).asString());
    QCOMPARE(m_folder->scalar(QStringLiteral("select count(*) from baseinfo where flag=3")).toInt(), 7);

    depts.close();
    QCOMPARE(m_tree->topLevelItemCount(), 0);
    depts.open();
    QCOMPARE(m_tree->topLevelItemCount(), 4);
}

void TestDataTree::treeIsReadOnly()
{
    QVERIFY(m_tree->selectById(QStringLiteral("3")));
    QTreeWidgetItem* item = m_tree->currentItem();
    m_tree->setFocus();
    QTest::keyClick(m_tree.get(), Qt::Key_Delete);
    QTest::keyClick(m_tree.get(), Qt::Key_F2);
    QTest::mouseDClick(m_tree->viewport(), Qt::LeftButton, {}, m_tree->visualItemRect(item).center());
    QVERIFY(!m_tree->findChild<QLineEdit*>());
    QCOMPARE(m_folder->scalar(QStringLiteral("select count(*) from baseinfo where flag=3")).toInt(), 6);
    QCOMPARE(item->text(0), QStringLiteral("安徽分部"));
}

QTEST_MAIN(TestDataTree)
#include "tst_datatree.moc"
