#include "bench_beds.h"

#include "BenchReport.h"
#include "data/Connection.h"
#include "premises/BatchBeds.h"

#include <QDir>
#include <QFile>
#include <sqlite3.h>

namespace {

constexpr int kBeds = 10000;
constexpr int kRuns = 3;

QStringList bedNumbers()
{
    QStringList numbers;
    numbers.reserve(kBeds);
    for (int i = 1; i <= kBeds; ++i)
        numbers << QStringLiteral("B%1").arg(i, 5, 10, QLatin1Char('0'));
    return numbers;
}

// A new database file for one run, with the schema and the first identifier handed out.
QString freshDatabase(const QString& name)
{
    const QString path = benchFolder() + name + QStringLiteral(".mdb");
    QFile::remove(path);
    createDatabaseFile(path);
    return path;
}

double batchRoutineMs(const QStringList& numbers, const BedCharges& charges, int* created)
{
    double best = 1e300;
    for (int run = 0; run < kRuns; ++run) {
        Connection connection;
        connection.setConnectionString(QStringLiteral("Data Source=") + freshDatabase(QStringLiteral("batch")));
        connection.connect();
        QElapsedTimer timer;
        timer.start();
        const BatchOutcome outcome = CreateBeds(connection, numbers, charges);
        best = std::min(best, timer.nsecsElapsed() / 1e6);
        *created = int(outcome.created.size());
    }
    return best;
}

// The same bed rows written with one prepared statement in one transaction, nothing else.
double plainInsertMs(const QStringList& numbers, const BedCharges& charges)
{
    double best = 1e300;
    for (int run = 0; run < kRuns; ++run) {
        const QString path = freshDatabase(QStringLiteral("plain"));
        sqlite3* db = nullptr;
        sqlite3_open(path.toUtf8().constData(), &db);
        QElapsedTimer timer;
        timer.start();
        sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
        sqlite3_stmt* insert = nullptr;
        sqlite3_prepare_v2(db,
                           "INSERT INTO baseinfo(id, code, expand12, expand13, field1, field2, field3, field4,"
                           " expand30, flag) VALUES(?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, 4)",
                           -1, &insert, nullptr);
        const QByteArray description = charges.description.toUtf8();
        for (int i = 0; i < numbers.size(); ++i) {
            const QByteArray code = numbers[i].toUtf8();
            sqlite3_bind_int64(insert, 1, i + 2);
            sqlite3_bind_text(insert, 2, code.constData(), int(code.size()), SQLITE_TRANSIENT);
            sqlite3_bind_double(insert, 3, charges.deposit);
            sqlite3_bind_double(insert, 4, charges.rent);
            for (int c = 0; c < 4; ++c)
                sqlite3_bind_double(insert, 5 + c, charges.custom[c]);
            sqlite3_bind_text(insert, 9, description.constData(), int(description.size()), SQLITE_TRANSIENT);
            sqlite3_step(insert);
            sqlite3_reset(insert);
        }
        sqlite3_finalize(insert);
        sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
        best = std::min(best, timer.nsecsElapsed() / 1e6);
        sqlite3_close(db);
    }
    return best;
}

} // namespace

void runBedsBench()
{
    const QStringList numbers = bedNumbers();
    BedCharges charges;
    charges.deposit = 200;
    charges.rent = 350.5;
    charges.custom[0] = 10;
    charges.description = QStringLiteral("新楼三层");

    int created = 0;
    const double batch = batchRoutineMs(numbers, charges, &created);
    const double plain = plainInsertMs(numbers, charges);
    printFigure(QStringLiteral("10000 beds created by the batch routine (%1 created)").arg(created), batch, "ms",
                "<= 1000", batch <= 1000 && created == kBeds);
    const double ratio = batch / plain;
    printFigure(QStringLiteral("batch routine vs plain sqlite3 insert of the same bed rows"), ratio, "x",
                QString("<= 5; %1 ms vs %2 ms").arg(batch, 0, 'f', 1).arg(plain, 0, 'f', 1), ratio <= 5);
}
