#include "bench_data.h"

#include "BenchReport.h"
#include "data/Connection.h"
#include "data/DataModule.h"
#include "data/Dataset.h"
#include "support/MessageService.h"

#include <QDir>
#include <QVariant>
#include <sqlite3.h>

namespace {

constexpr int kResidents = 100000;
constexpr int kLogRows = 1000000;

// A folder with ss.mdb holding the residents and, when asked, the large log.
QString makeDatabase(const QString& name, bool withLog)
{
    const QString folder = benchFolder() + name + '/';
    QDir().mkpath(folder);
    createDatabaseFile(folder + "ss.mdb");
    sqlite3* db = nullptr;
    sqlite3_open((folder + "ss.mdb").toUtf8().constData(), &db);
    execOrDie(db, "BEGIN");
    insertNumbered(db,
                   "INSERT INTO client_into(id, istrue, fwcode, xm, cph, dw, bm_id, xb, hj, xl, zw, sfzh, lxdh,"
                   " yhzh, rzrq, mzrq, csrq, yjqk, fyqk, yj, zj, zdy1, zdy2, zdy3, zdy4, flxz, memo1, grqkbz,"
                   " gzxz, wx, fk, wyls_gtf) VALUES (?1, 1, 'A' || ?1, '住户' || ?1, 'G' || ?1, '第一车间', 3,"
                   " '男', '北京市东城区', '大专', '工人', '110101199003071234', '13800000000', '6222000011112222',"
                   " '2026-01-05 08:30:00', '2026-01-05 08:30:00', '1990-03-07 00:00:00', '交', '应交', 200.0,"
                   " 350.5, 10, 20, 30, 40, '公', '备注', '个人情况', '', 0, 0, 0)",
                   kResidents);
    if (withLog)
        insertNumbered(db,
                       "INSERT INTO log(code, gn, oprdate) VALUES ('系统管理员', '铺位信息', '2026-05-01 10:00:00')",
                       kLogRows);
    else // the identifiers handed out over years, in the database without the large log
        insertNumbered(db, "INSERT INTO maxvalue(tablename, id) VALUES ('client_into', ?1)", kLogRows);
    execOrDie(db, "COMMIT");
    sqlite3_close(db);
    return folder;
}

QVariant plainValue(sqlite3_stmt* stmt, int column)
{
    switch (sqlite3_column_type(stmt, column)) {
    case SQLITE_INTEGER:
        return static_cast<qlonglong>(sqlite3_column_int64(stmt, column));
    case SQLITE_FLOAT:
        return sqlite3_column_double(stmt, column);
    case SQLITE_NULL:
        return {};
    default:
        return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, column)),
                                 sqlite3_column_bytes(stmt, column));
    }
}

void benchFullRead(const QString& folder)
{
    Connection connection;
    connection.setConnectionString("Data Source=" + folder + "ss.mdb");
    connection.connect();
    qint64 sink = 0;
    const double plain = bestOfMs(3, [&] {
        sqlite3_stmt* stmt = nullptr;
        sqlite3_prepare_v2(connection.handle(), "SELECT * FROM client_into WHERE istrue=1", -1, &stmt, nullptr);
        const int columns = sqlite3_column_count(stmt);
        while (sqlite3_step(stmt) == SQLITE_ROW)
            for (int c = 0; c < columns; ++c)
                sink += plainValue(stmt, c).isValid();
        sqlite3_finalize(stmt);
    });
    const double dataset = bestOfMs(3, [&] {
        Dataset query(connection, "bench");
        query.setSql("select * from client_into where istrue=true");
        query.open();
        const int columns = query.fieldCount();
        for (int row = 0; row < query.recordCount(); ++row)
            for (int c = 0; c < columns; ++c)
                sink += query.valueAt(row, c).isValid();
    });
    const double ratio = dataset / plain;
    printFigure("dataset full read of 100000 residents vs plain sqlite3 loop", ratio, "x",
                QString("<= 2.0; %1 ms vs %2 ms").arg(dataset, 0, 'f', 1).arg(plain, 0, 'f', 1), ratio <= 2.0);
    if (sink == 42)
        std::puts("");
}

void benchRecordPointer(const QString& folder)
{
    Connection connection;
    connection.setConnectionString("Data Source=" + folder + "ss.mdb");
    connection.connect();
    const double before = residentMegabytes();
    Dataset query(connection, "bench");
    QElapsedTimer timer;
    timer.start();
    query.setSql("select * from client_into where istrue=true");
    query.open();
    qint64 sink = 0;
    while (!query.eof()) {
        sink += query.field(3).asString().size();
        query.next();
    }
    const double ms = timer.nsecsElapsed() / 1e6;
    const double held = residentMegabytes() - before;
    printFigure("open 100000 residents and walk to the last record", ms, "ms", "reported", true);
    printFigure("memory held by that open dataset", held, "MB", "< 100 MB", held < 100);
    if (sink == 42)
        std::puts("");
}

void benchConnect(const QString& withLog, const QString& withoutLog)
{
    auto connectOnce = [](const QString& folder) {
        TDM module(folder, folder);
        if (!module.ConnectDatabase("bench"))
            std::fprintf(stderr, "connect failed\n");
    };
    const double large = bestOfMs(3, [&] { connectOnce(withLog); });
    const double empty = bestOfMs(3, [&] { connectOnce(withoutLog); });
    const double extra = large - empty;
    printFigure("ConnectDatabase with 1000000 log rows, more than with an empty log", extra, "ms",
                QString("<= 100 ms; %1 ms vs %2 ms").arg(large, 0, 'f', 1).arg(empty, 0, 'f', 1), extra <= 100);
}

// One call of each of the two routines that every function run and every new row use.
void benchRoutines(const QString& withLog, const QString& withIds)
{
    constexpr int calls = 200;
    TDM ids(withIds, withIds);
    ids.ConnectDatabase("bench");
    const double allocate = bestOfMs(3,
                                     [&] {
                                         for (int i = 0; i < calls; ++i)
                                             ids.AllocateId("client_into");
                                     }) /
                            calls;
    printFigure("AllocateId with 1000000 rows in maxvalue", allocate, "ms a call", "<= 1 ms", allocate <= 1.0);
    TDM module(withLog, withLog);
    module.ConnectDatabase("bench");
    const double log = bestOfMs(3,
                                [&] {
                                    for (int i = 0; i < calls; ++i)
                                        module.WriteOperationLog("系统管理员", "铺位信息");
                                }) /
                       calls;
    printFigure("WriteOperationLog with 1000000 rows in log", log, "ms a call", "<= 1 ms", log <= 1.0);
}

} // namespace

void runDataBench()
{
    const QString large = makeDatabase("large", true);
    const QString small = makeDatabase("small", false);
    benchFullRead(small);
    benchRecordPointer(small);
    benchConnect(large, small);
    benchRoutines(large, small);
}
