#pragma once
// Opening and writing document files safely: only regular files are read or replaced, and a
// write that runs out of room says so instead of "Unknown error".

#include "core/result.h"

#include <QString>

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
