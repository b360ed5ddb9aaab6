#pragma once
// Opening and writing document files safely: only regular files are read or replaced, and a
// write that runs out of room says so instead of "Unknown error".

#include "core/result.h"

#include <QByteArray>
#include <QString>

#include <functional>
#include <limits>
#include <optional>

class QFile;
class QFileDevice;
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

// A failed write on file as an error naming it: NoSpace for a full disk, in the cat's words;
// else Io, in the platform's.
Error writeError(const QFileDevice& file);
// Commits a save file that someone else wrote through its buffer (a PDF writer). When it
// fails (a full disk named as such) the old file is as it was.
Result<void> commitBuffered(QSaveFile& file);

} // namespace pote
