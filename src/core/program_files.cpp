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

namespace {

QString subfolder(const QString& programFolder, const QString& name) {
    return dataFolderFor(programFolder, name) + QLatin1Char('/') + name;
}

} // namespace

QString manualFolderFor(const QString& programFolder) {
    return subfolder(programFolder, QStringLiteral("help"));
}

QString iconFolderFor(const QString& programFolder) {
    return subfolder(programFolder, QStringLiteral("icons"));
}

} // namespace pote
