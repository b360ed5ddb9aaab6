#include "core/file_io.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace pote {

QString notAFileToReadMessage() {
    return QStringLiteral("これはふつうのファイルじゃないにゃ。読めないにゃん。");
}

QString notAFileToWriteMessage() {
    return QStringLiteral("ここはふつうのファイルじゃないにゃ。上書きして保存はできないにゃん。");
}

QString diskFullMessage() {
    return QStringLiteral("ディスクがいっぱいで書き込めなかったにゃ。") +
           QStringLiteral("空きを作ってから、もう一度保存してにゃん。");
}

QString openRegularFileForReading(QFile& file, const QString& path) {
    if (path.isEmpty()) return qt_error_string(ENOENT);
    // Without O_NONBLOCK the open itself would wait for a pipe's writer; what was opened is
    // then checked, so that nothing can swap the path between a check and the open.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return qt_error_string(errno);
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        const QString reason = qt_error_string(errno);
        ::close(fd);
        return reason;
    }
    if (!S_ISREG(st.st_mode)) {
        ::close(fd);
        return notAFileToReadMessage();
    }
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) {
        const QString reason = qt_error_string(errno);
        ::close(fd);
        return reason;
    }
    if (!file.open(fd, QIODevice::ReadOnly | QIODevice::Unbuffered, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return file.errorString();
    }
    return {};
}

RegularFileRead readRegularFile(const QString& path, const RegularFileReadOptions& options) {
    RegularFileRead result;
    QFile file;
    if (QString problem = openRegularFileForReading(file, path); !problem.isEmpty()) {
        result.error = std::move(problem);
        return result;
    }
    result.size = file.size();
    if (result.size > options.maxBytes) {
        result.status = RegularFileRead::Status::TooLarge;
        return result;
    }
    QByteArray bytes(result.size, Qt::Uninitialized);
    const qint64 piece = options.pieceBytes > 0 ? options.pieceBytes : result.size;
    qint64 got = 0;
    while (got < result.size) {
        const qint64 n = file.read(bytes.data() + got, std::min(piece, result.size - got));
        if (n < 0) {
            result.error = file.errorString();
            return result;
        }
        if (n == 0) break; // shortened since the open
        got += n;
        if (options.afterPiece) options.afterPiece(got);
    }
    bytes.truncate(got);
    result.bytes = std::move(bytes);
    result.status = RegularFileRead::Status::Ok;
    return result;
}

QString writeTargetProblem(const QString& path) {
    if (path.isEmpty()) return qt_error_string(ENOENT);
    // Follows links: a link to a document is saved through, the document replaced.
    const QFileInfo target(path);
    if (target.exists() && !target.isFile()) return notAFileToWriteMessage();
    return {};
}

bool writeFully(QIODevice& device, const char* data, qint64 n) {
    while (n > 0) {
        const qint64 written = device.write(data, n);
        if (written <= 0) return false;
        data += written;
        n -= written;
    }
    return true;
}

QString writeErrorText(const QFileDevice& file) {
    // A full disk comes back as a resource error while writing, and as the plain system text
    // when it is only found out at the final flush.
    if (file.error() == QFileDevice::ResourceError || file.errorString() == qt_error_string(ENOSPC))
        return diskFullMessage();
    return file.errorString();
}

QString commitBuffered(QSaveFile& file) {
    // A short write in the buffer's flush leaves the platform without a reason; writing what is
    // still buffered once more gets it (a full disk).
    if (file.error() != QFileDevice::NoError || !file.flush()) {
        QString error = writeErrorText(file);
        file.unsetError();
        if (!file.flush()) error = writeErrorText(file);
        file.cancelWriting();
        return error;
    }
    if (!file.commit()) return writeErrorText(file);
    return {};
}

} // namespace pote
