#include "core/program_files.h"

#include <QDir>
#include <QFileInfo>

namespace pote {

QString dataFolderFor(const QString& programFolder, const QString& entry) {
    if (QFileInfo::exists(programFolder + QLatin1Char('/') + entry)) return programFolder;
    const QString installed = QDir::cleanPath(programFolder + QStringLiteral("/../share/poteedit"));
    if (QFileInfo::exists(installed + QLatin1Char('/') + entry)) return installed;
    return programFolder;
}

QString manualFolderFor(const QString& programFolder) {
    const QString name = QStringLiteral("help");
    return dataFolderFor(programFolder, name) + QLatin1Char('/') + name;
}

} // namespace pote
