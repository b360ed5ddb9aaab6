#include "backup/backup_plan.h"

#include <QFile>
#include <QHash>

#include <sys/stat.h>

namespace pote::backup {

namespace {

QByteArray foldAsciiCase(const QByteArray& name) {
    QByteArray folded = name;
    for (char& c : folded)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return folded;
}

QByteArray joinPath(const QByteArray& folder, const QByteArray& name) {
    if (name.isEmpty()) return folder;
    QByteArray path;
    path.reserve(folder.size() + 1 + name.size());
    path += folder;
    if (!path.endsWith('/')) path += '/';
    return path += name;
}

} // namespace

QString BackupItem::displayPath() const {
    return QFile::decodeName(source);
}

std::vector<ScannedFile> keepNewestOfSameName(std::vector<ScannedFile> files, qint64* dropped) {
    // Index of the surviving file of each name: the first of the latest two-second step.
    QHash<QByteArray, size_t> newest;
    newest.reserve(static_cast<qsizetype>(files.size()));
    std::vector<QByteArray> keys;
    keys.reserve(files.size());
    for (size_t i = 0; i < files.size(); ++i) {
        keys.push_back(foldAsciiCase(files[i].name));
        const auto found = newest.constFind(keys.back());
        if (found == newest.cend())
            newest.insert(keys.back(), i);
        else if (laterAtBackupResolution(files[i].time, files[*found].time))
            newest[keys.back()] = i;
    }
    std::vector<ScannedFile> kept;
    kept.reserve(static_cast<size_t>(newest.size()));
    for (size_t i = 0; i < files.size(); ++i)
        if (newest.value(keys[i]) == i) kept.push_back(std::move(files[i]));
    if (dropped) *dropped = static_cast<qint64>(files.size() - kept.size());
    return kept;
}

QByteArray targetFolderFor(const QByteArray& folder, const Source& source,
                           const QByteArray& destination, bool folderCopy) {
    if (!folderCopy) return destination;
    return joinPath(destination, folder.mid(source.prefixLength));
}

BackupPlan planBackup(const BackupSources& folders, const BackupSettings& settings,
                      const std::atomic<bool>* cancel) {
    BackupPlan plan;
    plan.destination = folders.destination;
    ScanResult scan = scanSources(folders, ExtensionFilter(settings.extensions), cancel);
    plan.failures = std::move(scan.failures);
    plan.cancelled = scan.cancelled;
    if (plan.cancelled) return plan;
    std::vector<ScannedFile> files = std::move(scan.files);
    if (!settings.folderCopy) files = keepNewestOfSameName(std::move(files), &plan.dropped);

    plan.items.reserve(files.size());
    qint64 sourceBytes = 0;
    qint64 targetBytes = 0;
    QByteArray lastFolder;
    QByteArray lastTargetFolder;
    for (ScannedFile& file : files) {
        // Files of one folder share one target folder.
        if (lastTargetFolder.isEmpty() || file.folder != lastFolder) {
            lastFolder = file.folder;
            lastTargetFolder = targetFolderFor(file.folder, folders.sources[file.source],
                                               folders.destination, settings.folderCopy);
        }
        BackupItem item;
        item.source = joinPath(file.folder, file.name);
        item.target = joinPath(lastTargetFolder, file.name);
        item.size = file.size;
        item.time = file.time;
        struct stat st {};
        if (::stat(item.target.constData(), &st) == 0) {
            item.targetExists = true;
            if (S_ISREG(st.st_mode)) {
                item.targetSize = static_cast<qint64>(st.st_size);
                const FileTime targetTime{static_cast<qint64>(st.st_mtim.tv_sec),
                                          static_cast<qint32>(st.st_mtim.tv_nsec)};
                item.needsCopy = laterAtBackupResolution(item.time, targetTime);
                targetBytes += item.targetSize;
            }
            // Anything else under the file's name (a folder) is left to the copy, whose
            // failure then names the file instead of skipping it unseen.
        }
        sourceBytes += item.size;
        plan.items.push_back(std::move(item));
    }
    plan.neededBytes = qMax<qint64>(0, sourceBytes - targetBytes);
    return plan;
}

} // namespace pote::backup
