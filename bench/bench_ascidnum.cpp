#include "bench_ascidnum.h"

#include "residents/ascidnum.h"

#include <QDir>
#include <QElapsedTimer>
#include <QStringList>

#include <cstdio>

namespace {

// A measurement that did not do its work (valid false) is a miss whatever its time.
void printLine(const char* name, double value, const char* format, double target, bool valid = true) {
    std::printf("%s: ", name);
    std::printf(format, value);
    std::printf(" ms (target <= %g ms) %s\n", target, valid && value <= target ? "ok" : "MISS");
    std::fflush(stdout);
}

// Valid 18-character numbers over counties, cities and municipal districts of the real table.
QStringList sampleNumbers() {
    const char* const stems[] = {"11010519491231002", "13010219850317123", "44030419920101005", "32010619800101001",
                                 "51010719761231001", "65010220010715002", "13010020000229004", "42900419681108007"};
    QStringList numbers;
    for (const char* stem : stems) {
        const QString number = QString::fromLatin1(stem);
        numbers << number + GetCheckChar(number + u'0');
    }
    return numbers;
}

} // namespace

void runAscidnumBench(const QString& installDir) {
    const QString path = QDir(installDir).filePath(QStringLiteral("regioncode.dat"));

    constexpr int loadRuns = 5;
    double bestLoad = -1;
    for (int run = 0; run < loadRuns; ++run) {
        QElapsedTimer timer;
        timer.start();
        const bool loaded = LoadRegionCodes(path);
        const double ms = timer.nsecsElapsed() / 1e6;
        if (!loaded) {
            std::printf("region file load: %s not loaded MISS\n", qPrintable(path));
            std::fflush(stdout);
            return;
        }
        if (bestLoad < 0 || ms < bestLoad)
            bestLoad = ms;
    }
    printLine("region file load", bestLoad, "%.1f", 20);

    const QStringList numbers = sampleNumbers();
    constexpr int calls = 1000000;
    int named = 0;
    TIDNumInfo info;
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < calls; ++i) {
        if (ParseIDNumber(numbers[i % numbers.size()], info) && FillRegionName(info))
            ++named;
    }
    const double ms = timer.nsecsElapsed() / 1e6;
    // Every call must have parsed and found a name, or the time measures the wrong path.
    printLine("ParseIDNumber+FillRegionName x1000000", ms, "%.0f", 1000, named == calls);
}
