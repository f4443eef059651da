// The data-access routines the windows share: query helper and error log, identifiers,
// operation log, code checks, operators, value checks.
#include "common/ConnectedModule.h"
#include "data/DataChecks.h"
#include "data/DatabaseError.h"
#include "data/TclassDataType.h"
#include "support/SharedValues.h"
#include "support/TclassAllClass.h"
#include "support/TclassFileBase.h"
#include "support/IniFile.h"

#include <QtTest>

class DataRoutinesTest : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        m_module = std::make_unique<ConnectedModule>();
        m_folder = &m_module->folder;
        m_dm = m_module->dm.get();
    }
    void cleanup() { m_module.reset(); }

    void openQueryLogsAndRaisesTheStatement()
    {
        const QString sql = QStringLiteral("select * from baseinfo where nosuchcolumn = '错'");
        try {
            helper().OpenQuery(sql, m_dm->cdsPublic);
            QFAIL("opened");
        } catch (const DatabaseError& error) {
            QCOMPARE(error.message(), sql + "\r\n");
        }
        helper().OpenQuery("select * from baseinfo where flag = 9", m_dm->cdsPublic);
        try {
            helper().OpenQuery("select from", m_dm->cdsPublic);
        } catch (const DatabaseError&) {
        }
        QCOMPARE(todaysLog(), sql + "\r\nselect from\r\n");
    }

    void execQueryReturnsFalseSilentlyButLogs()
    {
        ScriptedMessages messages;
        QVERIFY(helper().ExecQuery("update baseinfo set name = 'x' where flag = 9", m_dm->cdsTemp));
        QVERIFY(!helper().ExecQuery("update nosuchtable set a = 1", m_dm->cdsTemp));
        QVERIFY(messages.shown().isEmpty());
        QCOMPARE(todaysLog(), QStringLiteral("update nosuchtable set a = 1\r\n"));
    }

    void allocateIdCountsUpPerTable()
    {
        QCOMPARE(m_dm->AllocateId("client_into"), 1);
        QCOMPARE(m_dm->AllocateId("client_into"), 2);
        QCOMPARE(m_dm->AllocateId("baseinfo"), 2); // the new database's operator took 1
        QCOMPARE(m_dm->AllocateId(" baseinfo "), 3); // blanks never start a second series
        QCOMPARE(m_folder->rows("select tablename, id from maxvalue order by tablename, id"),
                 (QStringList{"baseinfo|1", "baseinfo|2", "baseinfo|3", "client_into|1", "client_into|2"}));
        QCOMPARE(m_dm->AllocateId("it's"), 1);
        QCOMPARE(m_folder->scalar("select count(*) from maxvalue where tablename = 'it''s'").toInt(), 1);
    }

    void operationLogAppendsRowsOnlyWhenConnected()
    {
        Shared().OperatorName = QStringLiteral("张三");
        m_dm->WriteOperationLog(Shared().OperatorName, QStringLiteral("用户上线"));
        m_dm->WriteOperationLog(Shared().OperatorName, QStringLiteral("铺位信息"));
        QCOMPARE(m_folder->rows("select code, gn from log"), (QStringList{"张三|用户上线", "张三|铺位信息"}));
        const QDateTime written = QDateTime::fromString(m_folder->rows("select oprdate from log").first(), "yyyy-MM-dd hh:mm:ss");
        QVERIFY(qAbs(written.secsTo(QDateTime::currentDateTime())) < 60);
        QCOMPARE(m_dm->cdsOprlog.recordCount(), 2);
        m_dm->ADO.disconnect();
        m_dm->WriteOperationLog("x", "y"); // no connection: nothing, no error
    }

    void codeChecksLookAtOneFlagKindOnly()
    {
        m_folder->exec("insert into baseinfo(id, flag, code) values(10, 4, 'A101')");
        m_folder->exec("insert into baseinfo(id, flag, code) values(11, 33, 'B1')");
        QVERIFY(!m_dm->IsCodeFree(4, "A101"));
        QVERIFY(!m_dm->IsCodeFree(4, "a101")); // letter case does not make a new code
        QVERIFY(m_dm->IsCodeFree(33, "A101"));
        QVERIFY(m_dm->IsCodeFreeExcept(4, "A101", "A101"));
        QVERIFY(m_dm->IsCodeFreeExcept(4, "B1", "A101"));
        QVERIFY(!m_dm->IsCodeFreeExcept(4, "A101", "A102"));
    }

    void hostileValuesAreJustCharacters_data()
    {
        QTest::addColumn<QString>("value");
        QTest::newRow("quote") << "A'101";
        QTest::newRow("or clause") << "' or '1'='1";
        QTest::newRow("percent") << "%";
        QTest::newRow("comment") << "A101'--";
        QTest::newRow("statement end") << "'; delete from baseinfo; --";
        QTest::newRow("backslash") << "A\\'";
        QTest::newRow("chinese") << QStringLiteral("甲'乙");
    }
    void hostileValuesAreJustCharacters()
    {
        QFETCH(QString, value);
        m_folder->exec("insert into baseinfo(id, flag, code) values(10, 4, 'A101')");
        QVERIFY(m_dm->IsCodeFree(4, value));
        QVERIFY(m_dm->IsCodeFreeExcept(4, value, value + "x"));
        QString date, name;
        int id = -1;
        m_dm->FindOperator("system", value, date, name, id);
        QVERIFY(date.isEmpty());
        m_dm->FindOperator(value, "", date, name, id);
        QVERIFY(date.isEmpty());
        QVERIFY(!m_dm->ChangeOperatorPassword("system", value, ""));
        QVERIFY(m_dm->ChangeOperatorPassword("system", value, ""));
        m_dm->FindOperator("system", value, date, name, id);
        QVERIFY(!date.isEmpty());
        m_dm->SaveTreeNode(20, "20", value, "1", 0, 3, 0, 0);
        QCOMPARE(m_folder->scalar("select name from baseinfo where id = 20").toString(), value);
        QVERIFY(m_dm->HasNoChildNodes(value, "3"));
        QCOMPARE(m_folder->scalar("select count(*) from baseinfo").toInt(), 3);
    }

    void findOperator_data()
    {
        QTest::addColumn<QVariant>("stored");
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("password");
        QTest::addColumn<bool>("found");
        QTest::newRow("null password, empty typed") << QVariant() << "wang" << "" << true;
        QTest::newRow("empty password, empty typed") << QVariant("") << "wang" << "" << true;
        QTest::newRow("right password") << QVariant("Secret") << "wang" << "Secret" << true;
        QTest::newRow("password in other case") << QVariant("Secret") << "wang" << "sECRET" << true;
        QTest::newRow("code in other case") << QVariant("s") << "WANG" << "s" << true;
        QTest::newRow("wrong password") << QVariant("Secret") << "wang" << "Secre" << false;
        QTest::newRow("null password, text typed") << QVariant() << "wang" << "x" << false;
        QTest::newRow("unknown code") << QVariant("s") << "li" << "s" << false;
        QTest::newRow("password with a quote") << QVariant("it's") << "wang" << "it's" << true;
    }
    void findOperator()
    {
        QFETCH(QVariant, stored);
        QFETCH(QString, code);
        QFETCH(QString, password);
        QFETCH(bool, found);
        const QString value = stored.isNull() ? "null" : "'" + stored.toString().replace("'", "''") + "'";
        m_folder->exec("insert into baseinfo(id, flag, code, name, expand1) values(5, 9, 'wang', '王五', " + value + ")");
        m_folder->exec("insert into baseinfo(id, flag, code, name, expand1) values(6, 4, 'wang', 'bed', 'x')");
        QString date = "unchanged", name = "unchanged";
        int id = -1;
        m_dm->FindOperator(code, password, date, name, id);
        QCOMPARE(!date.isEmpty(), found);
        if (found) {
            QCOMPARE(date, QDate::currentDate().toString("yyyy-MM-dd"));
            QCOMPARE(name, QStringLiteral("王五"));
            QCOMPARE(id, 5);
        } else {
            QCOMPARE(name, QStringLiteral("unchanged"));
            QCOMPARE(id, -1);
        }
    }

    void changePasswordTouchesOnlyOperatorRows()
    {
        m_folder->exec("insert into baseinfo(id, flag, code, expand1) values(6, 4, 'system', 'bed')");
        QVERIFY(m_dm->ChangeOperatorPassword("system", "new", "wrong"));
        QCOMPARE(m_folder->scalar("select expand1 from baseinfo where flag = 9").toString(), QString());
        QVERIFY(!m_dm->ChangeOperatorPassword("system", "new", ""));
        QCOMPARE(m_folder->rows("select flag, expand1 from baseinfo order by id"), (QStringList{"9|new", "4|bed"}));
    }

    void treeNodesAndChildren()
    {
        m_dm->SaveTreeNode(7, " 7 ", QStringLiteral(" 生产部 "), "1", 0, 3, 0, 0);
        m_dm->SaveTreeNode(8, "8", QStringLiteral("一车间"), "2", 7, 3, 0, 0);
        QCOMPARE(m_folder->rows("select id, code, name, expand1, flag, main_tree, bm_id from baseinfo where flag = 3 order by id"),
                 (QStringList{QStringLiteral("7|7|生产部|1|3|0|0"), QStringLiteral("8|8|一车间|2|3|7|0")}));
        QVERIFY(!m_dm->HasNoChildNodes("7", "3"));
        QVERIFY(m_dm->HasNoChildNodes("8", "3"));
        m_dm->SaveTreeNode(8, "8", QStringLiteral("二车间"), "", 0, 3, 1, 0);
        QCOMPARE(m_folder->rows("select name, expand1, main_tree from baseinfo where id = 8"),
                 QStringList{QStringLiteral("二车间|2|7")});
    }

    void checkNumeric_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("empty counts as 0") << "" << true;
        QTest::newRow("integer") << "350" << true;
        QTest::newRow("decimal") << "12.50" << true;
        QTest::newRow("signs") << "-3.5" << true;
        QTest::newRow("plus sign") << "+7" << true;
        QTest::newRow("leading point") << ".5" << true;
        QTest::newRow("exponent") << "1e3" << true;
        QTest::newRow("blanks around") << " 12 " << true;
        QTest::newRow("digits then a letter") << "12a" << false;
        QTest::newRow("thousands separator") << "1,000" << false;
        QTest::newRow("blank inside") << "1 000" << false;
        QTest::newRow("blanks only") << "   " << false;
        QTest::newRow("two points") << "1.2.3" << false;
        QTest::newRow("letters") << "abc" << false;
        QTest::newRow("full-width digits") << QStringLiteral("１２") << false;
    }
    void checkNumeric()
    {
        QFETCH(QString, text);
        QFETCH(bool, accepted);
        ScriptedMessages messages;
        QCOMPARE(CheckNumeric(text), accepted);
        QCOMPARE(messages.texts(), accepted ? QStringList() : QStringList{QStringLiteral("输入不正确，请输入数值型！")});
    }

    void emptyChecksShowOneMessage()
    {
        ScriptedMessages messages;
        QVERIFY(CheckNotEmpty(" x ", QStringLiteral("姓名")));
        QVERIFY(!CheckNotEmpty("   ", QStringLiteral("姓名")));
        QVERIFY(!CheckAllNotEmpty({"a", "", ""}, {QStringLiteral("铺位编号"), QStringLiteral("姓名"), QStringLiteral("工号")}));
        QCOMPARE(messages.texts(), (QStringList{QStringLiteral("姓名不能为空！"), QStringLiteral("姓名不能为空！")}));
        QCOMPARE(messages.shown().last().title, QStringLiteral("提示信息"));
        QVERIFY(CheckAllNotEmpty({"a", "b"}, {"x", "y"}));
    }

    void padDateParts_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("whole");
        QTest::addColumn<QString>("expected");
        QTest::newRow("short date") << 0 << "15-3-7" << true << "20150307";
        QTest::newRow("full date") << 0 << "2026-12-11" << true << "20261211";
        QTest::newRow("two-digit year") << 0 << "26" << false << "2026";
        QTest::newRow("four-digit year") << 0 << "2026" << false << "2026";
        QTest::newRow("one-digit month") << 1 << "3" << false << "03";
        QTest::newRow("two-digit day") << 1 << "11" << false << "11";
        QTest::newRow("other kind") << 5 << "3" << false << "3";
    }
    void padDateParts()
    {
        QFETCH(int, kind);
        QFETCH(QString, text);
        QFETCH(bool, whole);
        QFETCH(QString, expected);
        QCOMPARE(PadDateParts(kind, text, whole), expected);
    }

    void cancelSharedEditsLeavesBrowseState()
    {
        m_dm->cdsFw.insert();
        m_dm->cdsDept.insert();
        m_dm->CancelSharedEdits();
        QCOMPARE(m_dm->cdsFw.state(), DatasetState::Browse);
        QCOMPARE(m_dm->cdsDept.state(), DatasetState::Browse);
        QCOMPARE(m_folder->scalar("select count(*) from baseinfo").toInt(), 1);
    }

private:
    static TclassDataType& helper() { return TclassAllClass::get<TclassDataType>(); }
    QString todaysLog() const
    {
        QFile file(TclassFileBase::dailyLogPath(m_folder->path()));
        return file.open(QIODevice::ReadOnly) ? decodeGbk(file.readAll()) : QString();
    }

    std::unique_ptr<ConnectedModule> m_module;
    TestFolder* m_folder = nullptr;
    TDM* m_dm = nullptr;
};

QTEST_MAIN(DataRoutinesTest)
#include "tst_dataroutines.moc"
