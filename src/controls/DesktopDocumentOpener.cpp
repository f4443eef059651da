#include "controls/DesktopDocumentOpener.h"

#include <QDesktopServices>
#include <QUrl>

bool DesktopDocumentOpener::open(const QString& path)
{
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}
