#include "core/file_io.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <atomic>
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

Result<void> openRegularFileForReading(QFile& file, const QString& path) {
    const auto failed = [&path](QString reason) { return Error::io(path, std::move(reason)); };
    if (path.isEmpty()) return failed(qt_error_string(ENOENT));
    // Without O_NONBLOCK the open itself would wait for a pipe's writer; what was opened is
    // then checked, so that nothing can swap the path between a check and the open.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return failed(qt_error_string(errno));
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        const QString reason = qt_error_string(errno);
        ::close(fd);
        return failed(reason);
    }
    if (!S_ISREG(st.st_mode)) {
        ::close(fd);
        return failed(notAFileToReadMessage());
    }
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) {
        const QString reason = qt_error_string(errno);
        ::close(fd);
        return failed(reason);
    }
    if (!file.open(fd, QIODevice::ReadOnly | QIODevice::Unbuffered, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return failed(file.errorString());
    }
    return {};
}

Result<RegularFileRead> readRegularFile(const QString& path,
                                        const RegularFileReadOptions& options) {
    QFile file;
    if (Result<void> opened = openRegularFileForReading(file, path); !opened) return opened.error();
    RegularFileRead result;
    result.size = file.size();
    if (result.size > options.maxBytes) return result;
    QByteArray bytes(result.size, Qt::Uninitialized);
    const qint64 piece = options.pieceBytes > 0 ? options.pieceBytes : result.size;
    qint64 got = 0;
    while (got < result.size) {
        const qint64 n = file.read(bytes.data() + got, std::min(piece, result.size - got));
        if (n < 0) return Error::io(path, file.errorString());
        if (n == 0) break; // shortened since the open
        got += n;
        if (options.afterPiece) options.afterPiece(got);
    }
    bytes.truncate(got);
    result.bytes = std::move(bytes);
    return result;
}

Result<void> checkWriteTarget(const QString& path) {
    if (path.isEmpty()) return Error::io(path, qt_error_string(ENOENT));
    // Follows links: a link to a document is saved through, the document replaced.
    const QFileInfo target(path);
    if (target.exists() && !target.isFile()) return Error::refused(notAFileToWriteMessage(), path);
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

Error fileError(const QString& path, QFileDevice::FileError kind, int code, const QString& text) {
    // Qt classes a write that found no room as a resource error; a sync or a close that finds
    // it out later comes with the system's number alone.
    if (kind == QFileDevice::ResourceError || code == ENOSPC || code == EDQUOT)
        return Error::noSpace(diskFullMessage(), path);
    return Error::io(path, text);
}

Error writeError(const QFileDevice& file, int code) {
    return fileError(file.fileName(), file.error(), code, file.errorString());
}

namespace {

std::atomic<FileSyncCall> g_syncCall{&::fsync};

// File systems that cannot sync say so; their files are as safe as they get without it.
bool syncUnsupported(int code) {
    return code == EINVAL || code == ENOSYS || code == ENOTSUP || code == EOPNOTSUPP;
}

} // namespace

FileSyncCall replaceFileSyncCall(FileSyncCall call) {
    return g_syncCall.exchange(call);
}

Result<void> commitSaveFile(QSaveFile& file) {
    if (file.error() != QFileDevice::NoError || !file.flush()) {
        Error error = writeError(file);
        file.cancelWriting();
        return error;
    }
    if (g_syncCall.load()(file.handle()) != 0) {
        const int code = errno;
        if (!syncUnsupported(code)) {
            file.cancelWriting();
            return fileError(file.fileName(), QFileDevice::WriteError, code, qt_error_string(code));
        }
    }
    if (!file.commit()) return writeError(file);
    return {};
}

Result<void> commitBuffered(QSaveFile& file) {
    // A short write in the buffer's flush leaves the platform without a reason; writing what is
    // still buffered once more gets it (a full disk).
    if (file.error() != QFileDevice::NoError || !file.flush()) {
        Error error = writeError(file);
        file.unsetError();
        if (!file.flush()) error = writeError(file);
        file.cancelWriting();
        return error;
    }
    return commitSaveFile(file);
}

} // namespace pote
