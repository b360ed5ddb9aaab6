#pragma once
// Modification times as the backup keeps and compares them.

#include <QtGlobal>

namespace pote::backup {

struct FileTime {
    qint64 seconds = 0; // since the epoch
    qint32 nanoseconds = 0;
};

// Times are compared in whole 2-second steps, the resolution of FAT file systems: a backup on
// a FAT-formatted stick stores its times rounded to an even second, and must not look older
// than its source for that reason alone.
constexpr qint64 twoSecondStep(FileTime t) {
    return t.seconds >= 0 ? t.seconds / 2 : -((-t.seconds + 1) / 2);
}

constexpr bool laterAtBackupResolution(FileTime a, FileTime b) {
    return twoSecondStep(a) > twoSecondStep(b);
}

} // namespace pote::backup
