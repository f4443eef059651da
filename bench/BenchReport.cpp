#include "BenchReport.h"

#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
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
