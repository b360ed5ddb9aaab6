#pragma once
// Listing every sub-folder of every source for the files the backup takes.

#include "backup/backup_sources.h"
#include "backup/backup_time.h"
#include "backup/extension_filter.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <atomic>
#include <vector>

namespace pote::backup {

// A file or folder the backup could not read, shown to the user as a failure.
struct BackupFailure {
    QString path;
    QString reason; // the platform's error text
};

struct ScannedFile {
    QByteArray folder; // shared by the files of one folder
    QByteArray name;
    qint64 size = 0;
    FileTime time;
    int source = 0; // index into BackupSources::sources
};

struct ScanResult {
    // In the order the backup copies them: each folder's files in name order; after a folder,
    // its sub-folders from the last in name order to the first, each with all of its own.
    std::vector<ScannedFile> files;
    QList<BackupFailure> failures;
    bool cancelled = false;
};

// Lists every source with all its sub-folders and keeps the files that pass filter (see
// isBackupCandidate). Links to folders are not followed, so a link back up the tree cannot
// loop; a link to a file counts as the file it points to; other special files are passed over.
// The destination folder is never listed, so a destination inside a source does not back up
// its own backups. Pseudo file systems (/proc, /sys, ...) are not entered. A folder that
// cannot be listed, and a candidate that cannot be examined, is a failure. cancel, when set,
// stops the scan between two folders.
ScanResult scanSources(const BackupSources& folders, const ExtensionFilter& filter,
                       const std::atomic<bool>* cancel = nullptr);

} // namespace pote::backup
