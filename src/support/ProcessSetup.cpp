#include "support/ProcessSetup.h"

#include <QByteArray>
#include <QFile>

namespace ProcessSetup {

void avoidRepeatedTimeZoneLookups()
{
    if (qEnvironmentVariableIsSet("TZ") || !QFile::exists(QStringLiteral("/etc/localtime")))
        return;
    qputenv("TZ", QByteArray(":/etc/localtime"));
}

} // namespace ProcessSetup
