// The query object: lazy reading, the insert / edit / post / cancel / delete cycle, typed
// fields and their conversions.
#include "common/TestFolder.h"
#include "data/Connection.h"
#include "data/DatabaseError.h"
#include "data/Dataset.h"

#include <QSignalSpy>
#include <QtTest>

class DatasetTest : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        m_folder = std::make_unique<TestFolder>();
        m_connection = std::make_unique<Connection>();
        m_connection->setConnectionString(QStringLiteral("Data Source=") + m_folder->file("ss.mdb"));
        m_connection->connect();
    }
    void cleanup()
    {
        m_connection.reset();
        m_folder.reset();
    }

    void readsEveryRowOfALargeSetInOrder()
    {
        exec("BEGIN");
        for (int i = 1; i <= 3000; ++i)
            exec(QStringLiteral("INSERT INTO baseinfo(id, flag, code) VALUES (%1, %2, 'B%1')")
                     .arg(i)
                     .arg(i % 3 == 0 ? 4 : 3));
        exec("COMMIT");
        Dataset beds(*m_connection, "beds");
        beds.setSql("select * from baseinfo where flag=4 order by id desc");
        beds.open();
        QCOMPARE(beds.recordCount(), 1000);
        int expected = 3000;
        int seen = 0;
        for (beds.first(); !beds.eof(); beds.next()) {
            QCOMPARE(beds.fieldByName("id").asInteger(), expected);
            QCOMPARE(beds.fieldByName("code").asString(), QStringLiteral("B%1").arg(expected));
            expected -= 3;
            ++seen;
        }
        QCOMPARE(seen, 1000);
        // Random access far apart, after the cache has been filled and evicted.
        QCOMPARE(beds.valueAt(0, beds.fieldIndex("id")).toInt(), 3000);
        QCOMPARE(beds.valueAt(999, beds.fieldIndex("id")).toInt(), 3);
    }

    // A plain scan is read in pages, several at once while walking on. Rows deleted by someone
    // else after the open read as empty without shifting their neighbours; jumps, walks past
    // the cache's size and rows added at the end all read the right rows.
    void readsByJumpsAndWalksAcrossDeletedAndAddedRows()
    {
        exec("BEGIN");
        for (int i = 1; i <= 10000; ++i)
            exec(QStringLiteral("INSERT INTO baseinfo(id, flag, code) VALUES (%1, 4, 'B%1')").arg(i));
        exec("COMMIT");
        Dataset beds(*m_connection, "beds");
        beds.setSql("select * from baseinfo where flag=4");
        beds.open();
        exec("DELETE FROM baseinfo WHERE id % 7 = 0");
        const int id = beds.fieldIndex("id");
        const auto expectedAt = [](int row) { return (row + 1) % 7 == 0 ? QVariant() : QVariant(row + 1); };

        QCOMPARE(beds.valueAt(5000, id), expectedAt(5000)); // a jump first
        for (int pass = 0; pass < 2; ++pass)
            for (int row = 0; row < 10000; ++row)
                if (beds.valueAt(row, id).toInt() != expectedAt(row).toInt())
                    QFAIL(qPrintable(QStringLiteral("row %1 read %2").arg(row).arg(beds.valueAt(row, id).toInt())));
        QCOMPARE(beds.valueAt(9999, id), expectedAt(9999));
        QCOMPARE(beds.valueAt(3, id), expectedAt(3));

        beds.last();
        beds.insert();
        beds.fieldByName("id").setAsInteger(20000);
        beds.fieldByName("flag").setAsInteger(4);
        beds.fieldByName("code").setAsString("added");
        beds.post();
        QCOMPARE(beds.recordCount(), 10001);
        QCOMPARE(beds.valueAt(10000, beds.fieldIndex("code")).toString(), QStringLiteral("added"));
        QCOMPARE(beds.valueAt(9998, id), expectedAt(9998));
        for (int row = 0; row < 10000; row += 97)
            QCOMPARE(beds.valueAt(row, id).toInt(), expectedAt(row).toInt());
        QCOMPARE(beds.valueAt(10000, id).toInt(), 20000);
    }

    void rowsWithoutAnOrderComeInTheOrderTheyWereAdded()
    {
        // The (flag, code) index would list them by code.
        exec("INSERT INTO baseinfo(id, flag, code) VALUES (1, 4, 'C'), (2, 4, 'A'), (3, 3, 'X'), (4, 4, 'B')");
        Dataset beds(*m_connection, "beds");
        beds.setSql("select * from baseinfo where flag=4 and code <> 'Z'");
        beds.open();
        QStringList codes;
        for (beds.first(); !beds.eof(); beds.next())
            codes << beds.fieldByName("code").asString();
        QCOMPARE(codes, (QStringList{"C", "A", "B"}));
    }

    void insertWritesOnlyAssignedColumnsSoDefaultsApply()
    {
        Dataset residents(*m_connection, "residents");
        residents.setSql("select * from client_into where istrue=true");
        residents.open();
        QVERIFY(residents.isEmpty());
        QSignalSpy inserted(&residents, &Dataset::rowInserted);
        residents.insert();
        QCOMPARE(inserted.count(), 1);
        QCOMPARE(residents.state(), DatasetState::Insert);
        QCOMPARE(residents.recordCount(), 1);
        QCOMPARE(residents.fieldByName("istrue").asBoolean(), true); // shown as the default
        residents.fieldByName("id").setAsInteger(7);
        residents.fieldByName("xm").setAsString(QStringLiteral("张三"));
        residents.fieldByName("yj").setAsString("150.5");
        residents.fieldByName("rzrq").setAsString("2026-12-01");
        residents.post();
        QCOMPARE(residents.state(), DatasetState::Browse);
        QCOMPARE(residents.recordCount(), 1);
        QCOMPARE(m_folder->rows("select id, istrue, xm, yj, rzrq, zj from client_into"),
                 QStringList{QStringLiteral("7|True|张三|150.5|2026-12-01|")});
    }

    void editWritesChangedColumnsOfThatRowOnly()
    {
        exec("INSERT INTO baseinfo(id, flag, code, name) VALUES (1, 4, 'A1', 'x'), (2, 4, 'A2', 'y')");
        Dataset beds(*m_connection, "beds");
        beds.setSql("select * from baseinfo where flag=4");
        beds.open();
        beds.next();
        beds.edit();
        QCOMPARE(beds.state(), DatasetState::Edit);
        // Someone else changes another column of the row meanwhile: the edit must not undo it.
        exec("UPDATE baseinfo SET name = 'changed' WHERE id = 2");
        beds.fieldByName("code").setAsString("A9");
        beds.post();
        QCOMPARE(m_folder->rows("select id, code, name from baseinfo where flag=4 order by id"),
                 (QStringList{"1|A1|x", "2|A9|changed"}));
        QCOMPARE(beds.fieldByName("code").asString(), QStringLiteral("A9"));
    }

    void cancelAndDelete()
    {
        exec("INSERT INTO baseinfo(id, flag, code) VALUES (1, 4, 'A1'), (2, 4, 'A2'), (3, 4, 'A3')");
        Dataset beds(*m_connection, "beds");
        beds.setSql("select * from baseinfo where flag=4");
        beds.open();
        beds.moveTo(1);
        beds.insert();
        beds.fieldByName("code").setAsString("new");
        beds.cancel();
        QCOMPARE(beds.recordCount(), 3);
        QCOMPARE(beds.recNo(), 1);
        beds.edit();
        beds.fieldByName("code").setAsString("changed");
        beds.cancel();
        QCOMPARE(beds.fieldByName("code").asString(), QStringLiteral("A2"));
        beds.deleteRecord();
        QCOMPARE(beds.recordCount(), 2);
        QCOMPARE(beds.fieldByName("code").asString(), QStringLiteral("A3"));
        QCOMPARE(m_folder->rows("select code from baseinfo where flag=4"), (QStringList{"A1", "A3"}));
    }

    void editOnEmptyStartsInsert()
    {
        Dataset beds(*m_connection, "beds");
        beds.setSql("select * from baseinfo where flag=4");
        beds.open();
        beds.edit();
        QCOMPARE(beds.state(), DatasetState::Insert);
    }

    void fieldsRefuseWritesOutsideEditAndBadConversions_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("text");
        QTest::newRow("letters into a number") << "expand12"
                                               << "12a";
        QTest::newRow("thousands separator into a number") << "expand13"
                                                           << "1,000";
        QTest::newRow("text into an integer") << "main_tree"
                                              << "abc";
        QTest::newRow("no such date") << "expand9"
                                      << "2026-02-30";
        QTest::newRow("text into yes/no") << "expand10"
                                          << "maybe";
    }
    void fieldsRefuseWritesOutsideEditAndBadConversions()
    {
        QFETCH(QString, field);
        QFETCH(QString, text);
        exec("INSERT INTO baseinfo(id, flag, code) VALUES (1, 4, 'A1')");
        const QStringList before = m_folder->rows("select " + field + " from baseinfo");
        Dataset beds(*m_connection, "beds");
        beds.setSql("select * from baseinfo where flag=4");
        beds.open();
        QVERIFY_THROWS_EXCEPTION(DatabaseError, beds.fieldByName("code").setAsString("x"));
        beds.edit();
        try {
            beds.fieldByName(field).setAsString(text);
            QFAIL("the conversion was accepted");
        } catch (const DatabaseError& error) {
            QVERIFY(error.message().contains(text));
        }
        beds.post();
        QCOMPARE(m_folder->rows("select " + field + " from baseinfo"), before);
    }

    void locateSortAndAggregates()
    {
        exec("INSERT INTO baseinfo(id, flag, code) VALUES (1, 4, 'b'), (2, 4, 'C'), (3, 4, 'a')");
        Dataset beds(*m_connection, "beds");
        beds.setSql("select * from baseinfo where flag=4");
        beds.open();
        QVERIFY(beds.locate("code", "c"));
        QCOMPARE(beds.recNo(), 1);
        QVERIFY(!beds.locate("code", "z"));
        beds.sortBy(beds.fieldIndex("code"), Qt::AscendingOrder);
        QCOMPARE(beds.fieldByName("code").asString(), QStringLiteral("C")); // current record kept
        QCOMPARE(beds.valueAt(0, beds.fieldIndex("code")).toString(), QStringLiteral("C"));
        beds.sortBy(beds.fieldIndex("id"), Qt::DescendingOrder);
        QCOMPARE(beds.valueAt(0, beds.fieldIndex("id")).toInt(), 3);

        Dataset aggregate(*m_connection, "max");
        aggregate.setSql("select max(id) from maxvalue where tablename = 'nothing'");
        aggregate.open();
        QCOMPARE(aggregate.recordCount(), 1);
        QVERIFY(aggregate.firstValue().isNull());
        QVERIFY(!aggregate.canModify());
        QVERIFY_THROWS_EXCEPTION(DatabaseError, aggregate.edit());
    }

    void failingOpenCarriesTheStatementAndStaysClosed()
    {
        Dataset query(*m_connection, "bad");
        query.setSql("select * from nosuchtable");
        try {
            query.open();
            QFAIL("opened");
        } catch (const DatabaseError& error) {
            QVERIFY(error.message().contains("select * from nosuchtable"));
        }
        QVERIFY(!query.active());
    }

private:
    void exec(const QString& sql) { m_connection->execute(sql); }

    std::unique_ptr<TestFolder> m_folder;
    std::unique_ptr<Connection> m_connection;
};

QTEST_MAIN(DatasetTest)
#include "tst_dataset.moc"
