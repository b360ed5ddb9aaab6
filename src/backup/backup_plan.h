#pragma once
// What a backup will copy: the scanned files after the same-name rule, each with its target
// path and whether its target is missing or older.

#include "backup/backup_scan.h"
#include "backup/backup_sources.h"

#include <atomic>
#include <vector>

namespace pote::backup {

struct BackupItem {
    QByteArray source; // full paths, file-system form
    QByteArray target;
    qint64 size = 0;
    FileTime time;
    bool targetExists = false;
    qint64 targetSize = 0;
    bool needsCopy = true; // no target, or a target older than the source

    QString displayPath() const;
};

struct BackupPlan {
    QByteArray destination;
    std::vector<BackupItem> items; // in copying order
    qint64 dropped = 0;            // same-named files left out (flat backups only)
    QList<BackupFailure> failures; // what the scan could not read
    qint64 neededBytes = 0;        // for the free-space check of the destination
    bool cancelled = false;
};

// For a flat backup: of each group of files whose names are equal but for ASCII letter case,
// only the newest stays, the first in list order among equally new ones; the order of the
// survivors is kept. dropped receives how many files were left out.
std::vector<ScannedFile> keepNewestOfSameName(std::vector<ScannedFile> files, qint64* dropped);

// Where a scanned file goes: the destination itself for a flat backup; otherwise the
// destination plus the file's folder without the source's prefix.
QByteArray targetFolderFor(const QByteArray& folder, const Source& source,
                           const QByteArray& destination, bool folderCopy);

// Scans, filters, applies the same-name rule, looks at every target and sums the space the
// copies need: all the files' sizes less those of the targets that exist already, at least 0.
// Runs off the user-interface thread; cancel, when set, stops it between two folders.
BackupPlan planBackup(const BackupSources& folders, const BackupSettings& settings,
                      const std::atomic<bool>* cancel = nullptr);

} // namespace pote::backup
