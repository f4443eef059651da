#include "support/AppPaths.h"

#include <QCoreApplication>
#include <QDir>

namespace AppPaths {

QString withTrailingSeparator(const QString& folder)
{
    QString path = QDir::fromNativeSeparators(folder);
    while (path.size() > 1 && path.endsWith('/'))
        path.chop(1);
    return path.endsWith('/') ? path : path + '/';
}

QString applicationFolder()
{
    return withTrailingSeparator(QCoreApplication::applicationDirPath());
}

QString rootFolder(const QString& applicationFolder)
{
#ifdef Q_OS_WIN
    Q_UNUSED(applicationFolder);
    return QStringLiteral("C:/");
#else
    return withTrailingSeparator(applicationFolder);
#endif
}

} // namespace AppPaths
