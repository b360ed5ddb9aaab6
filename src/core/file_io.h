#pragma once
// Opening and writing document files safely: only regular files are read or replaced, and a
// write that runs out of room says so instead of "Unknown error".

#include <QByteArray>
#include <QString>

#include <functional>
#include <limits>

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
// Returns the reason when the file was not opened, empty when it was.
QString openRegularFileForReading(QFile& file, const QString& path);

struct RegularFileRead {
    enum class Status { Ok, IoError, TooLarge };
    Status status = Status::IoError;
    QByteArray bytes; // Ok: what the file held while it was read
    QString error;    // IoError: the platform's text, or why it is no file to read
    qint64 size = 0;  // the file's size when it was opened
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
// gives its size at the open.
RegularFileRead readRegularFile(const QString& path, const RegularFileReadOptions& options = {});

// Why path cannot be the target of a write that replaces it (a folder, a pipe, a device: the
// write would swap it for a file), or empty when it is a regular file or does not exist yet.
QString writeTargetProblem(const QString& path);

// Writes all n bytes. A short write is retried, so that a full disk ends in an error the
// device reports (see writeErrorText) rather than a silent short count.
bool writeFully(QIODevice& device, const char* data, qint64 n);

// The text for a failed write on file: the full disk in the cat's words, else the platform's.
QString writeErrorText(const QFileDevice& file);
// Commits a save file that someone else wrote through its buffer (a PDF writer): empty when it
// is in place, else why not, a full disk named as such; then the old file is as it was.
QString commitBuffered(QSaveFile& file);

} // namespace pote
