#pragma once

#include <QString>

namespace AppPaths {

// The folder of the executable, always ending with "/".
QString applicationFolder();

// Where the program keeps the files that belong to the machine rather than the installation
// (daily error log, last operator code, the export workbook): the root of drive C on Windows,
// the application folder elsewhere. Always ends with a separator.
QString rootFolder(const QString& applicationFolder);

// A folder path with exactly one trailing "/".
QString withTrailingSeparator(const QString& folder);

} // namespace AppPaths
