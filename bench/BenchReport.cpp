#include "BenchReport.h"

#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <sqlite3.h>
#include <unistd.h>

void printFigure(const QString& name, double value, const QString& unit, const QString& target, bool ok)
{
    std::printf("%s: %.3g %s (target %s) %s\n", qPrintable(name), value, qPrintable(unit), qPrintable(target),
                ok ? "ok" : "MISS");
    std::fflush(stdout);
}

double bestOfMs(int runs, const std::function<void()>& work)
{
    double best = 1e300;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        work();
        best = std::min(best, timer.nsecsElapsed() / 1e6);
    }
    return best;
}

double residentMegabytes()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> parts = statm.readAll().split(' ');
    if (parts.size() < 2)
        return 0;
    return parts[1].toDouble() * double(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

QString benchFolder()
{
    static QTemporaryDir dir;
    return dir.path() + '/';
}

void execOrDie(sqlite3* db, const char* sql)
{
    char* message = nullptr;
    if (sqlite3_exec(db, sql, nullptr, nullptr, &message) != SQLITE_OK) {
        std::fprintf(stderr, "bench setup failed: %s\n", message);
        std::exit(1);
    }
}

void insertNumbered(sqlite3* db, const char* sql, int count)
{
    sqlite3_stmt* insert = nullptr;
    if (sqlite3_prepare_v2(db, sql, -1, &insert, nullptr) != SQLITE_OK) {
        std::fprintf(stderr, "bench setup failed: %s\n", sqlite3_errmsg(db));
        std::exit(1);
    }
    for (int i = 1; i <= count; ++i) {
        sqlite3_bind_int(insert, 1, i);
        sqlite3_step(insert);
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
}
