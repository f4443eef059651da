// GBK settings files, read and written key by key.
#include "common/ScriptedMessages.h"
#include "common/TestFolder.h"
#include "support/IniFile.h"
#include "support/TclassFileBase.h"

#include <QDate>
#include <QtTest>

class IniFileTest : public QObject {
    Q_OBJECT

private slots:
    void readsValues_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("expected");
        const QByteArray gbk = encodeGbk(QStringLiteral("[Ffield]\r\nfield1=水费\r\nfield2= 电 费 \r\n[login1]\r\njsr=25\r\n"));
        QTest::newRow("GBK value") << gbk << "Ffield" << "field1" << QStringLiteral("水费");
        QTest::newRow("blanks around the value") << gbk << "Ffield" << "field2" << QStringLiteral("电 费");
        QTest::newRow("section and key in other case") << gbk << "LOGIN1" << "JSR" << "25";
        QTest::newRow("missing key") << gbk << "Ffield" << "field3" << "";
        QTest::newRow("missing section") << gbk << "other" << "field1" << "";
        QTest::newRow("key of another section") << gbk << "login1" << "field1" << "";
        QTest::newRow("LF line breaks") << QByteArray("[a]\nk=v\n") << "a" << "k" << "v";
        QTest::newRow("empty value") << QByteArray("[a]\r\nk=\r\n") << "a" << "k" << "";
        QTest::newRow("bytes that are not GBK") << QByteArray("[a]\r\nk=\x81\x7f" "ok\r\n") << "a" << "k"
                                                << QString(QChar::ReplacementCharacter) + "ok";
    }
    void readsValues()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, expected);
        TestFolder folder(false);
        folder.writeBytes("s.ini", content);
        const QString value = TclassFileBase().ReadIniString(folder.file("s.ini"), section, key);
        if (expected.contains(QChar::ReplacementCharacter))
            QVERIFY2(value.endsWith("ok") && value.contains(QChar::ReplacementCharacter), qPrintable(value));
        else
            QCOMPARE(value, expected);
    }

    void missingFileReadsEmpty()
    {
        TestFolder folder(false);
        QCOMPARE(TclassFileBase().ReadIniString(folder.file("none.ini"), "a", "b"), QString());
    }

    void writesKeysKeepingTheRest()
    {
        TestFolder folder(false);
        folder.writeGbk("login.ini", QStringLiteral("; note\r\n[login1]\r\nip=old\r\nother=1\r\n\r\n[next]\r\nk=v\r\n"));
        ScriptedMessages messages;
        TclassFileBase files;
        files.WriteIniString(folder.file("login.ini"), "login1", "ip", QStringLiteral("服务器一"));
        files.WriteIniString(folder.file("login.ini"), "next", "new", "2");
        files.WriteIniString(folder.file("login.ini"), "added", "x", "3");
        QVERIFY(messages.shown().isEmpty());
        QCOMPARE(files.ReadIniString(folder.file("login.ini"), "login1", "ip"), QStringLiteral("服务器一"));
        QCOMPARE(files.ReadIniString(folder.file("login.ini"), "login1", "other"), QStringLiteral("1"));
        QCOMPARE(files.ReadIniString(folder.file("login.ini"), "next", "k"), QStringLiteral("v"));
        QCOMPARE(files.ReadIniString(folder.file("login.ini"), "next", "new"), QStringLiteral("2"));
        QCOMPARE(files.ReadIniString(folder.file("login.ini"), "added", "x"), QStringLiteral("3"));
        QVERIFY(folder.readBytes("login.ini").startsWith("; note\r\n"));
        QVERIFY(folder.readBytes("login.ini").contains(encodeGbk(QStringLiteral("ip=服务器一\r\n"))));
    }

    void writeFailureShowsTheMessage()
    {
        TestFolder folder(false);
        ScriptedMessages messages;
        TclassFileBase().WriteIniString(folder.file("no/such/folder/login.ini"), "login1", "ip", "x");
        QCOMPARE(messages.texts(), QStringList{QStringLiteral("写InI文件错误，请查看输入信息是否正确！")});
    }

    void dailyLogIsNamedByDateAndAppended()
    {
        TestFolder folder(false);
        TclassFileBase files;
        const QString expected = folder.path() + QDate::currentDate().toString("yyyy-MM-dd") + "Log.Txt";
        QCOMPARE(TclassFileBase::dailyLogPath(folder.path()), expected);
        QVERIFY(files.AppendToDailyLog(folder.path(), QStringLiteral("select 1\r\n")));
        QVERIFY(files.AppendToDailyLog(folder.path(), QStringLiteral("select '错'\r\n")));
        QCOMPARE(decodeGbk(folder.readBytes(QFileInfo(expected).fileName())), QStringLiteral("select 1\r\nselect '错'\r\n"));
        QString error;
        QVERIFY(!files.AppendToDailyLog(folder.path() + "missing/", "x", &error));
        QVERIFY(error.contains("missing"));
    }
};

QTEST_MAIN(IniFileTest)
#include "tst_inifile.moc"
