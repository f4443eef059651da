// The Jet statements the windows compose, translated and run on an in-memory database with
// the real schema: which rows they return or change, which texts are refused, and that
// quoted user values never change a statement's meaning.

#include "data/DatabaseError.h"
#include "data/JetFunctions.h"
#include "data/JetSql.h"
#include "data/Schema.h"

#include <QtTest>

#include <sqlite3.h>

namespace {

// What the windows do with a typed value: put it between single quotes, doubling the quotes.
QString q(QString value) {
    return u'\'' + value.replace(u'\'', QStringLiteral("''")) + u'\'';
}

struct Result {
    QStringList values; // first column of every row, "NULL" for a null
    QStringList types;  // its SQLite storage class
    QString error;
};

Result run(sqlite3* db, const QString& sql, const QStringList& bindings = {}) {
    Result r;
    sqlite3_stmt* stmt = nullptr;
    const QByteArray utf8 = sql.toUtf8();
    if (sqlite3_prepare_v2(db, utf8.constData(), int(utf8.size()), &stmt, nullptr) != SQLITE_OK) {
        r.error = QString::fromUtf8(sqlite3_errmsg(db)) + QStringLiteral(" in ") + sql;
        return r;
    }
    for (int i = 0; i < bindings.size(); ++i) {
        const QByteArray value = bindings[i].toUtf8();
        sqlite3_bind_text(stmt, i + 1, value.constData(), int(value.size()), SQLITE_TRANSIENT);
    }
    int rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        if (sqlite3_column_count(stmt) == 0)
            continue;
        static const char* const names[] = {"", "integer", "real", "text", "blob", "null"};
        const int type = sqlite3_column_type(stmt, 0);
        r.types << QString::fromLatin1(names[type]);
        r.values << (type == SQLITE_NULL
                         ? QStringLiteral("NULL")
                         : QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0))));
    }
    if (rc != SQLITE_DONE)
        r.error = QString::fromUtf8(sqlite3_errmsg(db)) + QStringLiteral(" in ") + sql;
    sqlite3_finalize(stmt);
    return r;
}

QString checkInBrowse(const QString& bed, const QString& name, const QString& staff, const QString& unit,
                      const QString& start, const QString& end) {
    const QString date = QStringLiteral(
        "Cstr(year(rzrq))+Cstr(iif(cint(month(rzrq))<10,'0'+cstr(month(rzrq)),cstr(month(rzrq))))+Cstr(iif(cint("
        "day(rzrq))<10,'0'+cstr(day(rzrq)),cstr(day(rzrq))))");
    return QStringLiteral("select * from client_into where istrue=true and iif(isnull(fwcode),'',fwcode) like '%") +
           bed + QStringLiteral("%'") + QStringLiteral(" and iif(isnull(xm),'',xm) like '%") + name +
           QStringLiteral("%'") + QStringLiteral(" and iif(isnull(cph),'',cph) like '%") + staff +
           QStringLiteral("%'") + QStringLiteral(" and iif(isnull(dw),'',dw) like '%") + unit + QStringLiteral("%'") +
           QStringLiteral(" and ") + date + QStringLiteral(" >='") + start + QStringLiteral("'") +
           QStringLiteral(" and ") + date + QStringLiteral(" <='") + end + QStringLiteral("'");
}

QString checkOutBrowse(const QString& start, const QString& bed, const QString& end) {
    return QStringLiteral(
               "select * from tf1 where "
               "Cstr(year(tfrq))+Cstr(iif(cint(month(tfrq))<10,'0'+cstr(month(tfrq)),cstr(month(tfrq)))) >= '") +
           start + QStringLiteral("' and iif(isnull(fwcode),'',fwcode) like '%") + bed +
           QStringLiteral(
               "%' and "
               "Cstr(year(tfrq))+Cstr(iif(cint(month(tfrq))<10,'0'+cstr(month(tfrq)),cstr(month(tfrq)))) <= '") +
           end + QStringLiteral("'");
}

QString login(const QString& code, const QString& password) {
    return QStringLiteral("select * from baseinfo where flag = 9 and code = '") + code +
           QStringLiteral("' and iif(isnull(expand1),'',expand1) ='") + password + QStringLiteral("'");
}

const QStringList fixture = {
    // operators: empty, mixed-case and null passwords
    "INSERT INTO baseinfo(id, flag, code, name, expand1) VALUES (1, 9, 'system', '系统管理员', '')",
    "INSERT INTO baseinfo(id, flag, code, name, expand1) VALUES (2, 9, 'Admin', '管理员', 'PassWord')",
    "INSERT INTO baseinfo(id, flag, code, name, expand1) VALUES (3, 9, 'guest', '来宾', NULL)",
    // beds, one occupied, one with a percent sign in its number, one without a number
    "INSERT INTO baseinfo(id, flag, code, expand10) VALUES (4, 4, 'A101', 0), (5, 4, 'a102', 1),"
    " (6, 4, 'B201', 0), (7, 4, '50%', 0), (8, 4, NULL, 0)",
    // departments and a contact sharing a bed's code
    "INSERT INTO baseinfo(id, flag, code, name, expand1, main_tree) VALUES (9, 3, '9', '总务部', '1', 0),"
    " (10, 3, '10', '后勤组', '2', 9)",
    "INSERT INTO baseinfo(id, flag, code, name) VALUES (11, 33, 'A101', '供电所')",
    "INSERT INTO maxvalue(tablename, id) VALUES ('baseinfo', 5), ('baseinfo', 11)",
    "INSERT INTO client_into(id, istrue, fwcode, xm, cph, dw, rzrq) VALUES"
    " (1, 1, 'A101', '张三', 'S001', '一厂', '2026-03-05 08:30:00'),"
    " (2, 1, 'a102', '李四', NULL, NULL, '2026-03-06 09:00:00'),"
    " (3, 0, 'B201', '王五', 'S003', '二厂', '2026-03-05 10:00:00'),"
    " (4, 1, NULL, 'Tom', 's004', 'Unit', NULL),"
    " (5, 1, 'B201', 'Ann', 'S005', '一厂', '2025-12-31 23:59:59'),"
    " (6, 1, 'C1', '赵六', 'S006', '三厂', '2026-10-15 07:00:00')",
    "INSERT INTO tf1(xm, fwcode, tfrq) VALUES ('退甲', 'A101', '2026-05-03 10:00:00'),"
    " ('退乙', 'a102', '2026-04-30 18:00:00'), ('退丙', NULL, '2026-05-31 09:00:00'),"
    " ('退丁', 'B201', '2025-12-15 09:00:00'), ('退戊', 'C1', '2026-12-01 09:00:00'), ('退己', 'A101', NULL)",
    "INSERT INTO log(code, gn, oprdate) VALUES ('系统管理员', '用户上线', '2026-03-05 08:00:00')",
};

} // namespace

class JetSqlTest : public QObject {
    Q_OBJECT

    sqlite3* m_db = nullptr;

    Result runJet(const QString& jet) { return run(m_db, translateJet(jet).sqlite); }

private slots:
    void init() {
        QCOMPARE(sqlite3_open(":memory:", &m_db), SQLITE_OK);
        QVERIFY(registerJetFunctions(m_db));
        for (const QString& sql : Schema::createStatements() + fixture) {
            const Result r = run(m_db, sql);
            QVERIFY2(r.error.isEmpty(), qPrintable(r.error));
        }
    }

    void cleanup() {
        sqlite3_close(m_db);
        m_db = nullptr;
    }

    // The first column of the rows each statement returns; sorted unless the order matters.
    void selects_data() {
        QTest::addColumn<QString>("jet");
        QTest::addColumn<QStringList>("expected");
        QTest::addColumn<bool>("ordered");
        auto row = [](const char* name, const QString& jet, const QStringList& expected, bool ordered = false) {
            QTest::newRow(name) << jet << expected << ordered;
        };
        const QStringList current = {"1", "2", "4", "5", "6"};
        row("current residents", "select * from client_into where istrue=true", current);
        row("current residents, numeric flag", "select * from client_into where istrue=1", current);
        row("all beds", "select * from baseinfo where flag=4", {"4", "5", "6", "7", "8"});
        row("vacant beds", "select * from baseinfo where flag=4 and expand10=false", {"4", "6", "7", "8"});

        row("login, empty password", login("system", ""), {"1"});
        row("login, code and password in other case", login("ADMIN", "password"), {"2"});
        row("login, wrong password", login("Admin", "passwor"), {});
        row("login, null password read as empty", login("guest", ""), {"3"});
        row("login, null password is not any text", login("guest", "x"), {});
        row("login, empty password is not any text", login("system", "x"), {});

        row("code taken, other case, other kinds ignored", "select * from baseinfo where flag = 4 and code = 'a101'",
            {"4"});
        row("code taken except itself in other case",
            "select * from baseinfo where flag = 4 and code = 'A101' and code <> 'a101'", {});
        row("code taken by another row", "select * from baseinfo where flag = 4 and code = 'B201' and code <> 'A101'",
            {"6"});
        row("child departments", "select * from baseinfo where flag = 3 and main_tree = 9", {"10"});

        row("bed search", "select * from baseinfo where flag=4 and iif(isnull(code),'',code) like '%a1%'", {"4", "5"});
        row("bed search, empty text lists bed without number",
            "select * from baseinfo where flag=4 and iif(isnull(code),'',code) like '%%'", {"4", "5", "6", "7", "8"});
        row("bed search, typed percent is a wildcard",
            "select * from baseinfo where flag=4 and iif(isnull(code),'',code) like '%%%'", {"4", "5", "6", "7", "8"});
        row("bed search, bracketed percent is literal",
            "select * from baseinfo where flag=4 and iif(isnull(code),'',code) like '%[%]%'", {"7"});

        row("check-in browse, empty filters, one day", checkInBrowse("", "", "", "", "20260305", "20260305"), {"1"});
        row("check-in browse, month", checkInBrowse("", "", "", "", "20260301", "20260331"), {"1", "2"});
        row("check-in browse, from the sixth", checkInBrowse("", "", "", "", "20260306", "20261231"), {"2", "6"});
        row("check-in browse, across a year end", checkInBrowse("", "", "", "", "20251231", "20260305"), {"1", "5"});
        row("check-in browse, start after end", checkInBrowse("", "", "", "", "20260331", "20260301"), {});
        row("check-in browse, one character of a name", checkInBrowse("", "三", "", "", "20250101", "20261231"), {"1"});
        row("check-in browse, staff number in other case", checkInBrowse("", "", "s00", "", "20250101", "20261231"),
            {"1", "5", "6"});
        row("check-in browse, unit and bed", checkInBrowse("b2", "", "", "一厂", "20250101", "20261231"), {"5"});

        row("check-out browse, one month", checkOutBrowse("202605", "", "202605"), {"退丙", "退甲"});
        row("check-out browse, bed filter", checkOutBrowse("202604", "a1", "202605"), {"退乙", "退甲"});
        row("check-out browse, year range", checkOutBrowse("202512", "", "202612"),
            {"退丁", "退丙", "退乙", "退戊", "退甲"});

        row("max id over no rows", "select max(id) from maxvalue where tablename = 'client_into'", {"NULL"});
        row("max id", "select max(id) from maxvalue where tablename = 'baseinfo'", {"11"});
        row("count", "select count(*) from client_into where istrue=true", {"5"});
        row("keywords and functions in any case",
            "SELECT * FROM BaseInfo WHERE FLAG = 4 AND IIF(ISNULL(Code),'',Code) LIKE '%A%'", {"4", "5"});
        row("bracketed names", "select [id], [baseinfo].[code] from [baseinfo] where [flag]=3;", {"10", "9"});
        row("date literals", "select * from client_into where rzrq >= #2026-03-06# and rzrq < #10/15/2026#", {"2"});
        row("in and not", "select * from client_into where fwcode in ('a101','b201') and not istrue", {"3"});
        row("is null", "select * from client_into where cph is null or dw is null", {"2"});
        row("between", "select * from baseinfo where id between 2 and 4", {"2", "3", "4"});

        row("order by text column ignores case", "select * from baseinfo where flag=4 order by code desc",
            {"6", "5", "4", "7", "8"}, true);
        row("order by expression ignores case",
            "select * from baseinfo where flag=4 order by iif(isnull(code),'',code), id", {"8", "7", "4", "5", "6"},
            true);
    }

    void selects() {
        QFETCH(QString, jet);
        QFETCH(QStringList, expected);
        QFETCH(bool, ordered);
        Result r = runJet(jet);
        QVERIFY2(r.error.isEmpty(), qPrintable(r.error));
        if (!ordered)
            r.values.sort();
        QCOMPARE(r.values, expected);
    }

    // Each statement runs on a fresh fixture; the check reads what it changed.
    void changes_data() {
        QTest::addColumn<QString>("jet");
        QTest::addColumn<QString>("check");
        QTest::addColumn<QStringList>("expected");
        const QString occupied = "select id from baseinfo where expand10=1 order by id";
        QTest::newRow("bed occupied") << "update baseinfo set expand10=true where flag=4 and code='A101'" << occupied
                                      << QStringList{"4", "5"};
        QTest::newRow("bed freed by number in other case")
            << "update baseinfo set expand10=false where flag=4 and code='A102'" << occupied << QStringList{};
        QTest::newRow("resident checked out")
            << "update client_into set istrue=false where id=1"
            << "select id from client_into where istrue=0 order by id" << QStringList{"1", "3"};
        QTest::newRow("password changed for that operator only")
            << "update baseinfo set expand1 = 'new''pw' where flag = 9 and code = 'ADMIN'"
            << "select id || ':' || ifnull(expand1, 'NULL') from baseinfo where flag=9 order by id"
            << QStringList{"1:", "2:new'pw", "3:NULL"};
        QTest::newRow("department renamed")
            << "update baseinfo set code = '9',name = '综合部' where flag = 3 and id = 9"
            << "select name from baseinfo where flag=3 order by id" << QStringList{"综合部", "后勤组"};
        QTest::newRow("identifier handed out") << "insert into maxvalue(tablename, id) values('client_into',1)"
                                               << "select tablename || '|' || id || '|' || typeof(id) from maxvalue "
                                                  "where tablename='client_into'"
                                               << QStringList{"client_into|1|integer"};
        QTest::newRow("department added")
            << "insert into baseinfo(id,code,name,expand1,flag,main_tree,bm_id) values(12,'12','保卫科','2',3,9,0)"
            << "select code||'|'||name||'|'||expand1||'|'||typeof(expand1)||'|'||main_tree||'|'||bm_id from baseinfo "
               "where id=12"
            << QStringList{"12|保卫科|2|text|9|0"};
        QTest::newRow("bed added with numbers, vacant by default")
            << "insert into baseinfo(id,code,expand12,expand13,field1,field2,field3,field4,expand30,flag) "
               "values(13,'C301',300,150.5,10,0,0,.5,'靠窗 ''南''',4)"
            << "select code||'|'||expand12||'|'||expand13||'|'||field4||'|'||expand30||'|'||expand10 from baseinfo "
               "where id=13"
            << QStringList{"C301|300.0|150.5|0.5|靠窗 '南'|0"};
        QTest::newRow("check-out with negative deposit")
            << "insert into tf1(xm, yj, hj) values('退庚', -500, 120.5 + -500)"
            << "select yj || '|' || hj from tf1 where xm='退庚'" << QStringList{"-500.0|-379.5"};
        QTest::newRow("check-in current by default")
            << "insert into client_into(id, fwcode, xm, rzrq) values(7, 'C1', '钱七', #2026-03-07 08:15:00#)"
            << "select istrue || '|' || rzrq from client_into where id=7" << QStringList{"1|2026-03-07 08:15:00"};
        QTest::newRow("row deleted") << "delete from baseinfo where flag = 4 and id = 8"
                                     << "select count(*) from baseinfo" << QStringList{"10"};
        QTest::newRow("rows deleted with star") << "DELETE * FROM tf1 WHERE fwcode = 'a101'"
                                                << "select count(*) from tf1" << QStringList{"4"};
    }

    void changes() {
        QFETCH(QString, jet);
        QFETCH(QString, check);
        QFETCH(QStringList, expected);
        const Result changed = runJet(jet);
        QVERIFY2(changed.error.isEmpty(), qPrintable(changed.error));
        const Result r = run(m_db, check);
        QVERIFY2(r.error.isEmpty(), qPrintable(r.error));
        QCOMPARE(r.values, expected);
    }

    // Operators, functions and precedence, each as the one value of "select <expr> from log".
    void expressions_data() {
        QTest::addColumn<QString>("expression");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("type");
        auto row = [](const char* expression, const char* value, const char* type) {
            QTest::newRow(expression) << QString::fromUtf8(expression) << QString::fromUtf8(value)
                                      << QString::fromLatin1(type);
        };
        row("cstr(2)", "2", "text");
        row("cstr(2.0)", "2", "text");
        row("cstr(-0.25)", "-0.25", "text");
        row("cstr(0.1 + 0.2)", "0.30000000000000004", "text");
        row("cstr('abc')", "abc", "text");
        row("cstr(null)", "NULL", "null");
        row("cint(2.5)", "2", "integer");
        row("cint(3.5)", "4", "integer");
        row("cint(-2.5)", "-2", "integer");
        row("cint(2.51)", "3", "integer");
        row("cint('7.6')", "8", "integer");
        row("cint(null)", "NULL", "null");
        row("year('2026-03-05 08:30:00')", "2026", "integer");
        row("month('2026-03-05 08:30:00')", "3", "integer");
        row("day('2026/3/5')", "5", "integer");
        row("month(#10/15/2026 2:05 PM#)", "10", "integer");
        row("month('2026-13-01')", "NULL", "null");
        row("day('yesterday')", "NULL", "null");
        row("year(null)", "NULL", "null");
        row("1 + 2", "3", "integer");
        row("'1' + '2'", "12", "text");
        row("'1' + 2", "3", "integer");
        row("1.5 + 1", "2.5", "real");
        row("'a' + 1", "a1", "text");
        row("null + 'a'", "NULL", "null");
        row("'0' + cstr(3)", "03", "text");
        row("'a' & null", "a", "text");
        row("1 & 2", "12", "text");
        row("'a' & 1 + 2", "a3", "text");
        row("7 / 2", "3.5", "real");
        row("2 + 3 * 4", "14", "integer");
        row("(2 + 3) * 4", "20", "integer");
        row("-2 + 5", "3", "integer");
        row("10 - 2 - 3", "5", "integer");
        row("iif(1 > 2, 'x', 'y')", "y", "text");
        row("iif(null, 'x', 'y')", "y", "text");
        row("isnull(null)", "1", "integer");
        row("isnull('')", "0", "integer");
        row("true", "1", "integer");
        row("not true", "0", "integer");
        row("not 1 = 2", "1", "integer");
        row("1 = 1 or 1 = 2 and 1 = 2", "1", "integer");
        row("#2026-03-05#", "2026-03-05 00:00:00", "text");
        row("'ABC' = 'abc'", "1", "integer");
        row("iif(true, 'ABC', '') = 'abc'", "1", "integer");
        row("cstr(1) + 'X' >= '1x'", "1", "integer");
        row("'B' > 'a'", "1", "integer");
        row("'a' in ('A', 'b')", "1", "integer");
        row("'b' not in ('A', 'B')", "0", "integer");
        row("'b' between 'A' and 'C'", "1", "integer");
        row("'Hello' like 'h%'", "1", "integer");
        row("'Ärger' like 'äR_er'", "1", "integer");
        row("'ΩMEGA' like 'ωm%'", "1", "integer");
        row("'张三丰' like '%三%'", "1", "integer");
        row("'50%' like '50[%]'", "1", "integer");
        row("'500' like '50[%]'", "0", "integer");
        row("'a_c' like 'a[_]c'", "1", "integer");
        row("'a[b' like 'a[[]b'", "1", "integer");
        row("'abc' like 'a[_]c'", "0", "integer");
        row("'B' like '[a-c]'", "1", "integer");
        row("'d' like '[a-c]'", "0", "integer");
        row("'d' like '[!a-c]'", "1", "integer");
        row("'-' like '[a-]'", "1", "integer");
        row("'abc' like 'a*c'", "0", "integer");
        row("'[x' like '[x'", "1", "integer");
        row("'ab' like 'a_c'", "0", "integer");
        row("'abcbc' like '%bc'", "1", "integer");
        row("'' like '%'", "1", "integer");
        row("'ab' not like 'a%'", "0", "integer");
        row("null like '%'", "NULL", "null");
        row("123 like '1%'", "1", "integer");
    }

    void expressions() {
        QFETCH(QString, expression);
        QFETCH(QString, value);
        QFETCH(QString, type);
        const Result r = runJet(QStringLiteral("select ") + expression + QStringLiteral(" from log"));
        QVERIFY2(r.error.isEmpty(), qPrintable(r.error));
        QCOMPARE(r.values, QStringList{value});
        QCOMPARE(r.types, QStringList{type});
    }

    // A row-addressable select splits into pieces that, put together again, give its rows.
    void pieces_data() {
        QTest::addColumn<QString>("jet");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("table");
        QTest::addColumn<bool>("addressable");
        const int select = int(JetStatement::Kind::Select);
        QTest::newRow("star") << "select * from baseinfo where flag=4" << select << "baseinfo" << true;
        QTest::newRow("list, order, no where")
            << "select id, xm from [client_into] order by fwcode desc, id;" << select << "client_into" << true;
        QTest::newRow("like and expression order")
            << "select * from client_into where iif(isnull(xm),'',xm) like '%三%' order by cstr(id)" << select
            << "client_into" << true;
        QTest::newRow("distinct") << "select distinct fwcode from client_into" << select << "client_into" << false;
        QTest::newRow("aggregate") << "select max(id) from maxvalue where tablename = 'baseinfo'" << select
                                   << "maxvalue" << false;
        QTest::newRow("grouped") << "select flag, count(*) from baseinfo group by flag" << select << "baseinfo"
                                 << false;
        QTest::newRow("insert") << "insert into log(code) values('x')" << int(JetStatement::Kind::Insert) << "log"
                                << false;
        QTest::newRow("update") << "update tf1 set hj = 0" << int(JetStatement::Kind::Update) << "tf1" << false;
        QTest::newRow("delete") << "delete from maxvalue" << int(JetStatement::Kind::Delete) << "maxvalue" << false;
    }

    void pieces() {
        QFETCH(QString, jet);
        QFETCH(int, kind);
        QFETCH(QString, table);
        QFETCH(bool, addressable);
        const JetStatement s = translateJet(jet);
        QCOMPARE(int(s.kind), kind);
        QCOMPARE(s.table, table);
        QCOMPARE(s.rowAddressable, addressable);
        if (!addressable)
            return;
        if (jet.startsWith(QLatin1String("select *")))
            QCOMPARE(s.selectList, QStringLiteral("*"));
        QString rebuilt = QStringLiteral("SELECT ") + s.selectList + QStringLiteral(" FROM ") + s.table;
        if (!s.where.isEmpty())
            rebuilt += QStringLiteral(" WHERE ") + s.where;
        if (!s.orderBy.isEmpty())
            rebuilt += QStringLiteral(" ORDER BY ") + s.orderBy;
        const Result whole = run(m_db, s.sqlite);
        const Result parts = run(m_db, rebuilt);
        QVERIFY2(whole.error.isEmpty(), qPrintable(whole.error));
        QVERIFY2(parts.error.isEmpty(), qPrintable(parts.error));
        QVERIFY(!whole.values.isEmpty());
        QCOMPARE(parts.values, whole.values);
    }

    // Comparing a column keeps the index on (flag, code) in use: no collation is forced on it.
    void columnComparisonsUseIndex_data() {
        QTest::addColumn<QString>("jet");
        QTest::newRow("code taken") << "select * from baseinfo where flag = 4 and code = 'a101'";
        QTest::newRow("login") << login("system", "");
    }

    void columnComparisonsUseIndex() {
        QFETCH(QString, jet);
        sqlite3_stmt* stmt = nullptr;
        const QByteArray sql = ("EXPLAIN QUERY PLAN " + translateJet(jet).sqlite).toUtf8();
        QCOMPARE(sqlite3_prepare_v2(m_db, sql.constData(), -1, &stmt, nullptr), SQLITE_OK);
        QString detail;
        while (sqlite3_step(stmt) == SQLITE_ROW)
            detail += QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 3)));
        sqlite3_finalize(stmt);
        QVERIFY2(detail.contains(QLatin1String("baseinfo_flag_code (flag=? AND code=?)")), qPrintable(detail));
    }

    void rejected_data() {
        QTest::addColumn<QString>("jet");
        QTest::newRow("empty") << "";
        QTest::newRow("not a statement") << "drop table log";
        QTest::newRow("misspelt keyword") << "select * frm baseinfo";
        QTest::newRow("unknown function") << "select * from baseinfo where left(code, 1) = 'A'";
        QTest::newRow("iif with two arguments") << "select iif(flag = 4, 'y') from baseinfo";
        QTest::newRow("second statement") << "select * from baseinfo; delete from baseinfo";
        QTest::newRow("trailing word") << "select * from baseinfo where flag=4 garbage";
        QTest::newRow("comment") << "select * from baseinfo -- all rows";
        QTest::newRow("unknown operator") << "select * from baseinfo where flag != 4";
        QTest::newRow("quote in a value") << login("O'Neil", "");
        QTest::newRow("unterminated text") << "select * from baseinfo where code = 'abc";
        QTest::newRow("unterminated bracket") << "select * from [baseinfo where flag = 4";
        QTest::newRow("missing parenthesis") << "select * from baseinfo where (flag = 4";
        QTest::newRow("keyword as column") << "select * from baseinfo where from = 1";
        QTest::newRow("number glued to a name") << "select * from baseinfo where flag = 4abc";
        QTest::newRow("invalid date") << "select * from baseinfo where expand9 > #2026-02-30#";
        QTest::newRow("two tables") << "select * from baseinfo, client_into";
        QTest::newRow("aggregate in condition") << "select * from baseinfo where max(id) = 1";
        QTest::newRow("values do not match columns") << "insert into maxvalue(tablename, id) values('x')";
        QTest::newRow("update without assignment") << "update baseinfo set where id = 1";
    }

    void rejected() {
        QFETCH(QString, jet);
        try {
            translateJet(jet);
            QFAIL("the statement was accepted");
        } catch (const DatabaseError& e) {
            QCOMPARE(e.statement(), jet);
            QVERIFY2(e.message().contains(jet), qPrintable(e.message()));
        }
    }

    // A value quoted by doubling its quotes is matched, stored and read back as typed.
    void hostileValues_data() {
        QTest::addColumn<QString>("value");
        QTest::newRow("quote inside") << "O'Neil";
        QTest::newRow("single quote") << "'";
        QTest::newRow("many quotes") << "'''";
        QTest::newRow("always true") << "' or '1'='1";
        QTest::newRow("second statement") << "'); delete from baseinfo; --";
        QTest::newRow("percent and underscore") << "100%_";
        QTest::newRow("dashes and semicolon") << "--;";
        QTest::newRow("backslashes") << "C:\\temp\\'x\\";
        QTest::newRow("double quotes") << "\"x\"";
        QTest::newRow("hashes") << "#2026-01-01#";
        QTest::newRow("open bracket") << "[";
        QTest::newRow("chinese") << "张三 李四";
        QTest::newRow("line breaks") << "a\r\nb\tc";
    }

    void hostileValues() {
        QFETCH(QString, value);
        QVERIFY(run(m_db, "INSERT INTO baseinfo(id, flag, code, expand1) VALUES (100, 9, ?, ?)", {value, value})
                    .error.isEmpty());

        Result r = runJet(QStringLiteral("select * from baseinfo where flag = 9 and code = ") + q(value) +
                          QStringLiteral(" and iif(isnull(expand1),'',expand1) =") + q(value));
        QVERIFY2(r.error.isEmpty(), qPrintable(r.error));
        QCOMPARE(r.values, QStringList{"100"});

        r = runJet(QStringLiteral("select * from baseinfo where flag = 9 and iif(isnull(code),'',code) like ") +
                   q(u'%' + value + u'%'));
        QVERIFY2(r.error.isEmpty(), qPrintable(r.error));
        QVERIFY(r.values.contains("100"));

        r = runJet(QStringLiteral("insert into baseinfo(id,code,name,flag) values(101,") + q(value) + u',' + q(value) +
                   QStringLiteral(",33)"));
        QVERIFY2(r.error.isEmpty(), qPrintable(r.error));
        r = run(m_db, "SELECT id FROM baseinfo WHERE code = ? AND name = ? AND flag = 33", {value, value});
        QCOMPARE(r.values, QStringList{"101"});
        QCOMPARE(run(m_db, "SELECT count(*) FROM baseinfo").values, QStringList{"13"});
    }
};

QTEST_GUILESS_MAIN(JetSqlTest)
#include "tst_jetsql.moc"
