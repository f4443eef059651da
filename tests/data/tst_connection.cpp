// Opening the database file: refused files are left exactly as they were.
#include "common/TestFolder.h"
#include "data/Connection.h"
#include "data/DatabaseError.h"

#include <QFile>
#include <QtTest>

class ConnectionTest : public QObject {
    Q_OBJECT

private slots:
    void refusesFilesThatAreNotADatabase_data()
    {
        QTest::addColumn<bool>("exists");
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("missing") << false << QByteArray();
        QTest::newRow("empty") << true << QByteArray();
        QTest::newRow("text file") << true << QByteArray("this is not a database\r\n");
        QByteArray damaged(4096, '\0');
        damaged.replace(0, 16, "SQLite format 3");
        damaged[16] = char(0xff); // page size and the rest of the header are garbage
        damaged[17] = char(0x7f);
        QTest::newRow("damaged header") << true << damaged;
    }
    void refusesFilesThatAreNotADatabase()
    {
        QFETCH(bool, exists);
        QFETCH(QByteArray, content);
        TestFolder folder(false);
        if (exists)
            folder.writeBytes("ss.mdb", content);
        Connection connection;
        connection.setConnectionString("Provider=x;Data Source=" + folder.file("ss.mdb") + ";Jet OLEDB:Database Password=x");
        QVERIFY_THROWS_EXCEPTION(DatabaseError, connection.connect());
        QVERIFY(!connection.connected());
        QCOMPARE(QFile::exists(folder.file("ss.mdb")), exists);
        if (exists)
            QCOMPARE(folder.readBytes("ss.mdb"), content);
    }

    void dataSourceIsTakenFromTheConnectionString()
    {
        QCOMPARE(Connection::dataSourceOf("Provider=Microsoft.Jet.OLEDB.4.0;Persist Security Info=False;Data Source="
                                          "/tmp/a b/ss.mdb;User ID=Admin;Jet OLEDB:Database Password=x"),
                 QStringLiteral("/tmp/a b/ss.mdb"));
    }

    void newDatabaseHasTheOperatorAndRefusesToOverwrite()
    {
        TestFolder folder;
        QCOMPARE(folder.rows("select code, name, expand1 from baseinfo where flag = 9"),
                 QStringList{QStringLiteral("system|系统管理员|")});
        QCOMPARE(folder.scalar("select max(id) from maxvalue where tablename = 'baseinfo'").toInt(), 1);
        const QByteArray before = folder.readBytes("ss.mdb");
        QVERIFY_THROWS_EXCEPTION(DatabaseError, createDatabaseFile(folder.file("ss.mdb")));
        QCOMPARE(folder.readBytes("ss.mdb"), before);
    }

    void schemaDefaultsAndCaseInsensitiveText()
    {
        TestFolder folder;
        folder.exec("insert into client_into(id, xm) values(1, 'Li')");
        folder.exec("insert into baseinfo(id, flag) values(2, 4)");
        QCOMPARE(folder.scalar("select istrue from client_into").toBool(), true);
        QCOMPARE(folder.scalar("select count(*) from client_into where istrue=true").toInt(), 1);
        QCOMPARE(folder.scalar("select expand10 from baseinfo where id = 2").toBool(), false);
        QCOMPARE(folder.scalar("select count(*) from baseinfo where code = 'SYSTEM'").toInt(), 1);
    }
};

QTEST_MAIN(ConnectionTest)
#include "tst_connection.moc"
