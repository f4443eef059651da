// The data module: settings read at creation, the connection, the shared query objects.
#include "common/ScriptedMessages.h"
#include "common/TestFolder.h"
#include "data/DataModule.h"
#include "support/SharedValues.h"
#include "support/TclassAllClass.h"
#include "support/TclassFileBase.h"

#include <QtTest>

class DataModuleTest : public QObject {
    Q_OBJECT

private slots:
    void init() { resetSharedValues(); }

    void creationReadsTheSettingsWithoutConnecting()
    {
        TestFolder folder;
        folder.writeGbk("login_sd.ini", QStringLiteral("[login1]\r\nip=宿舍服务器\r\njsr=25\r\n"));
        folder.writeGbk("fields.ini", QStringLiteral("[Ffield]\r\nfield1=水费\r\nfield2=电费\r\nfield4=卫生费\r\n"));
        TDM dm(folder.path(), folder.path());
        QCOMPARE(Shared().ServerName, QStringLiteral("宿舍服务器"));
        QCOMPARE(Shared().SettlementDay, QStringLiteral("25"));
        QCOMPARE(Shared().FieldCaption1, QStringLiteral("水费"));
        QCOMPARE(Shared().FieldCaption3, QString());
        QCOMPARE(Shared().FieldCaption4, QStringLiteral("卫生费"));
        QCOMPARE(Shared().HighlightStyle.background, QColor(192, 220, 192));
        QCOMPARE(Shared().HighlightStyle.text, QColor(128, 0, 0));
        QVERIFY(!dm.ADO.connected());
        for (Dataset* dataset : dm.sharedDatasets())
            QVERIFY(!dataset->active());
    }

    void withoutSettingsFilesTheValuesAreEmpty()
    {
        TestFolder folder;
        TDM dm(folder.path(), folder.path());
        QCOMPARE(Shared().ServerName, QString());
        QCOMPARE(Shared().FieldCaption1, QString());
    }

    void connectingOpensTheTagZeroObjectsAndWritesLoginIni()
    {
        TestFolder folder;
        ScriptedMessages messages;
        TDM dm(folder.path(), folder.path());
        QVERIFY(dm.ConnectDatabase(QStringLiteral("任何服务器")));
        QVERIFY(messages.shown().isEmpty());
        for (Dataset* dataset : dm.sharedDatasets())
            QCOMPARE(dataset->active(), dataset->tag() == 0);
        QCOMPARE(TclassFileBase().ReadIniString(folder.file("login.ini"), "login1", "ip"), QStringLiteral("任何服务器"));
        QVERIFY(dm.ADO.connectionString().endsWith(";User ID=Admin;Jet OLEDB:Database Password=" + TDM::DatabasePassword));
        QCOMPARE(TDM::DatabasePassword.size(), 8);
        // A second connection reopens them.
        dm.cdsFw.close();
        QVERIFY(dm.ConnectDatabase(QString()));
        QVERIFY(dm.cdsFw.active());
    }

    void aMissingTableStopsTheOpeningAtItsObject()
    {
        TestFolder folder;
        folder.execSqlite("DROP TABLE log");
        ScriptedMessages messages;
        TDM dm(folder.path(), folder.path());
        QVERIFY(dm.ConnectDatabase(QString()));
        QCOMPARE(messages.texts(), QStringList{QStringLiteral("cdsOprlog数据集错误！")});
        QCOMPARE(messages.shown().first().title, QStringLiteral("提示信息"));
        QVERIFY(dm.cdsOpr.active());
        QVERIFY(dm.cdsFw.active());
        QVERIFY(!dm.cdsDept.active());
    }

    void aFileThatIsNotADatabaseIsRefused()
    {
        TestFolder folder(false);
        folder.writeBytes("ss.mdb", "not a database");
        ScriptedMessages messages;
        TDM dm(folder.path(), folder.path());
        QVERIFY(!dm.ConnectDatabase(QString()));
        QVERIFY(!QFile::exists(folder.file("login.ini")));
        QCOMPARE(folder.readBytes("ss.mdb"), QByteArray("not a database"));
    }
};

QTEST_MAIN(DataModuleTest)
#include "tst_datamodule.moc"
