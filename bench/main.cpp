// qitang-bench: speed and memory figures of the program's parts, each measured side by side
// with a plain baseline in the same run.
#include "bench_ascidnum.h"
#include "bench_beds.h"
#include "bench_controls.h"
#include "bench_data.h"
#include "bench_export.h"

#include "support/ProcessSetup.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen") : qgetenv("QT_QPA_PLATFORM"));
    ProcessSetup::avoidRepeatedTimeZoneLookups();
    QApplication app(argc, argv);
    // Names on the command line run just those groups: qitang-bench controls data
    const QStringList chosen = app.arguments().mid(1);
    const auto wanted = [&chosen](const char* group) { return chosen.isEmpty() || chosen.contains(group); };
    if (wanted("data"))
        runDataBench();
    if (wanted("ascidnum"))
        runAscidnumBench(QStringLiteral(QITANG_INSTALL_DIR));
    if (wanted("controls"))
        runControlsBench();
    if (wanted("export"))
        runExportBench();
    if (wanted("beds"))
        runBedsBench();
    return 0;
}
