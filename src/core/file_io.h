#pragma once
// Opening and writing document files safely: only regular files are read or replaced, and a
// write that runs out of room says so instead of "Unknown error".

#include "core/result.h"

#include <QByteArray>
#include <QFileDevice>
#include <QString>

#include <cerrno>

#include <functional>
#include <limits>
#include <optional>

class QFile;
class QIODevice;
class QSaveFile;

namespace pote {

// Said when a path names a folder, a pipe, a device or the like instead of a file.
QString notAFileToReadMessage();
QString notAFileToWriteMessage();
// Said when the disk filled up during a write.
QString diskFullMessage();

// Opens path read-only when it is a regular file or a link to one. Anything else is refused at
// once: opening a pipe would wait for a writer forever, a device could be read without end.
// The error names path.
Result<void> openRegularFileForReading(QFile& file, const QString& path);

struct RegularFileRead {
    qint64 size = 0; // the file's size when it was opened
    // What the file held while it was read; nullopt when its size was above the options'
    // maxBytes, and nothing was read.
    std::optional<QByteArray> bytes;
};

struct RegularFileReadOptions {
    qint64 maxBytes = std::numeric_limits<qint64>::max(); // a larger file is not read at all
    qint64 pieceBytes = qint64(64) << 20;
    // Called after each piece with the bytes read so far (a test's stand-in for another
    // program that changes the file while it is read).
    std::function<void(qint64 read)> afterPiece;
};

// The whole file at path, opened with openRegularFileForReading and read with read(), never
// mapped: a mapped file that another program shortens kills the process at the first page past
// the new end. A file that shrinks while it is read gives what it still held; one that grows
// gives its size at the open. The error names path.
Result<RegularFileRead> readRegularFile(const QString& path,
                                        const RegularFileReadOptions& options = {});

// Fails when path cannot be the target of a write that replaces it (a folder, a pipe, a device:
// the write would swap it for a file); passes for a regular file or one that does not exist yet.
Result<void> checkWriteTarget(const QString& path);

// Writes all n bytes. A short write is retried, so that a full disk ends in an error the
// device reports (see writeError) rather than a silent short count.
bool writeFully(QIODevice& device, const char* data, qint64 n);

// A failed operation on path as an error naming it. kind is Qt's class of the failure, code the
// system's error number behind it (0 when not known), text the platform's words. A full disk
// (or a spent quota) is NoSpace in the cat's words whichever step met it; else Io in text.
Error fileError(const QString& path, QFileDevice::FileError kind, int code, const QString& text);
// A failed write on file, right after the call that failed (code defaults to its errno).
Error writeError(const QFileDevice& file, int code = errno);

// Ends a write through a save file: what was written is synced to the disk before it replaces
// the old file. QSaveFile syncs too but ignores the outcome, and a disk that fills up while
// delayed writes are placed (ext4's delayed allocation, network file systems) says so only
// then. On failure the old file is as it was and no temporary is left.
Result<void> commitSaveFile(QSaveFile& file);
// The same for a save file that someone else wrote through its buffer (a PDF writer).
Result<void> commitBuffered(QSaveFile& file);

// The call commitSaveFile syncs with (fsync); tests put in one that fails the way a disk does.
// Returns the call it replaces.
using FileSyncCall = int (*)(int fd);
FileSyncCall replaceFileSyncCall(FileSyncCall call);

} // namespace pote
