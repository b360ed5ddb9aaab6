#include "backup/backup_sources.h"

#include "backup/backup_messages.h"

#include <QDir>
#include <QFile>

#include <sys/stat.h>

namespace pote::backup {

namespace {

QByteArray cleanFolder(const QString& path) {
    if (path.isEmpty()) return {};
    return QFile::encodeName(QDir::cleanPath(path));
}

bool isFolder(const QByteArray& path) {
    struct stat st {};
    return ::stat(path.constData(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool sameFolder(const QByteArray& a, const QByteArray& b) {
    if (a == b) return true;
    struct stat sa {
    }, sb{};
    return ::stat(a.constData(), &sa) == 0 && ::stat(b.constData(), &sb) == 0 &&
           S_ISDIR(sa.st_mode) && sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

SourceCheck problem(SourceCheck::Problem p, MessageKind kind, QString message, bool react) {
    SourceCheck check;
    check.problem = p;
    check.kind = kind;
    check.message = std::move(message);
    check.errorReaction = react;
    return check;
}

} // namespace

bool backupConfigured(const BackupSettings& settings) {
    if (settings.copyDir.isEmpty()) return false;
    for (const QString& dir : settings.sourceDirs)
        if (!dir.isEmpty()) return true;
    return false;
}

BackupSources backupSources(const BackupSettings& settings) {
    BackupSources folders;
    for (const QString& dir : settings.sourceDirs) {
        const QByteArray path = cleanFolder(dir);
        if (path.isEmpty()) continue;
        folders.sources.append(Source{path, path.lastIndexOf('/') + 1});
    }
    folders.destination = cleanFolder(settings.copyDir);
    return folders;
}

SourceCheck checkSources(const BackupSettings& settings) {
    using P = SourceCheck::Problem;
    BackupSources folders = backupSources(settings);
    if (folders.sources.isEmpty() || folders.destination.isEmpty())
        return problem(P::NotConfigured, MessageKind::Error, notConfiguredMessage(), false);
    for (const Source& source : folders.sources)
        if (sameFolder(source.path, folders.destination))
            return problem(P::SameFolder, MessageKind::Warning, sameFolderMessage(), false);
    for (const Source& source : folders.sources)
        if (!isFolder(source.path))
            return problem(P::SourceMissing, MessageKind::Error, sourceMissingMessage(), true);
    SourceCheck check;
    check.folders = std::move(folders);
    return check;
}

bool destinationReachable(const QByteArray& destination) {
    if (destination.isEmpty()) return false;
    if (isFolder(destination)) return true;
    const qsizetype slash = destination.lastIndexOf('/');
    if (slash < 0) return isFolder(".");
    return isFolder(slash == 0 ? QByteArray("/") : destination.left(slash));
}

} // namespace pote::backup
