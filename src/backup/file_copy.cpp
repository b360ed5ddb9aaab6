#include "backup/file_copy.h"

#include <QFile>
#include <QRandomGenerator>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <utility>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace pote::backup {

namespace {

QString errorText(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

QByteArray folderOf(const QByteArray& path) {
    const qsizetype slash = path.lastIndexOf('/');
    if (slash < 0) return ".";
    return slash == 0 ? QByteArray("/") : path.left(slash);
}

// Hidden, and recognisable as ours if a killed run leaves it behind.
constexpr QByteArrayView kTemporarySuffix = ".potebak-";
constexpr qsizetype kTemporaryUniqueChars = 6; // what mkostemp puts in place of the Xs
// Room for the dot and the suffix within the 255-byte limit of a name.
constexpr qsizetype kTemporaryNameChars = 200;

QByteArray temporaryTemplate(const QByteArray& target) {
    const qsizetype slash = target.lastIndexOf('/');
    const QByteArray folder = slash < 0 ? QByteArray() : target.left(slash + 1);
    const QByteArray name = target.mid(slash + 1).left(kTemporaryNameChars);
    return folder + '.' + name + kTemporarySuffix.toByteArray() +
           QByteArray(kTemporaryUniqueChars, 'X');
}

bool isAsciiLetterOrDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool before(const timespec& a, const timespec& b) {
    return a.tv_sec < b.tv_sec || (a.tv_sec == b.tv_sec && a.tv_nsec < b.tv_nsec);
}

constexpr off_t kEarlyWriteOutBytes = off_t(1) << 20;

// Files of no name stay open until their batch is committed; at most half of the process's
// open-file limit goes to them, so that the rest of the program keeps room.
qsizetype unnamedLimit() {
    // Linked in through their /proc entry, which needs no privilege (linking by descriptor
    // itself does).
    if (::access("/proc/self/fd", X_OK) != 0) return 0;
    rlimit limit{};
    if (::getrlimit(RLIMIT_NOFILE, &limit) != 0) return 0;
    if (limit.rlim_cur == RLIM_INFINITY) return 4096;
    return std::max<qsizetype>(0, static_cast<qsizetype>(limit.rlim_cur / 2) - 64);
}

QByteArray procPath(int fd) {
    return "/proc/self/fd/" + QByteArray::number(fd);
}

// A fresh name from temporaryTemplate's pattern, for a link that must not replace anything.
QByteArray randomTemporaryName(const QByteArray& target) {
    static constexpr char kChars[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    QByteArray name = temporaryTemplate(target);
    for (qsizetype i = name.size() - kTemporaryUniqueChars; i < name.size(); ++i)
        name[i] = kChars[QRandomGenerator::global()->bounded(int(sizeof kChars - 1))];
    return name;
}

bool isFolder(const QByteArray& path) {
    struct stat st {};
    return ::stat(path.constData(), &st) == 0 && S_ISDIR(st.st_mode);
}

} // namespace

timespec fileSystemNow() {
    // File times come from the kernel's coarse clock, which may lag the precise one by a tick:
    // compared with the precise clock, a file made just after "now" could look older.
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME_COARSE, &now);
    return now;
}

bool isCopyTemporaryName(const QByteArray& name) {
    const qsizetype tail = kTemporarySuffix.size() + kTemporaryUniqueChars;
    const qsizetype middle = name.size() - 1 - tail;
    if (!name.startsWith('.') || middle < 1 || middle > kTemporaryNameChars) return false;
    const QByteArrayView end = QByteArrayView(name).last(tail);
    return end.startsWith(kTemporarySuffix) &&
           std::all_of(end.begin() + kTemporarySuffix.size(), end.end(), isAsciiLetterOrDigit);
}

int removeStaleTemporaries(const QByteArray& folder, const timespec& before) {
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return 0;
    DIR* dir = ::fdopendir(fd);
    if (!dir) {
        ::close(fd);
        return 0;
    }
    std::vector<QByteArray> stale;
    while (const dirent* entry = ::readdir(dir)) {
        const QByteArray name(entry->d_name);
        struct stat st {};
        // The last change, not the modification time: a finished copy is given its source's.
        if (isCopyTemporaryName(name) &&
            ::fstatat(fd, name.constData(), &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(st.st_mode) &&
            pote::backup::before(st.st_ctim, before))
            stale.push_back(name);
    }
    int removed = 0;
    for (const QByteArray& name : stale)
        if (::unlinkat(fd, name.constData(), 0) == 0) ++removed;
    ::closedir(dir);
    return removed;
}

CopyBatch::CopyBatch(CopyOptions options) : m_options(std::move(options)) {
    if (m_options.chunkBytes <= 0) m_options.chunkBytes = qint64(8) << 20;
    m_unnamedLimit = m_options.unnamedTemporaries ? unnamedLimit() : 0;
}

CopyBatch::~CopyBatch() {
    if (m_flushFd >= 0) ::close(m_flushFd);
    for (Pending& pending : m_pending)
        discard(pending);
}

void CopyBatch::discard(Pending& pending) {
    if (pending.fd >= 0) {
        // A file of no name is gone once closed.
        ::close(std::exchange(pending.fd, -1));
        --m_unnamedOpen;
    } else {
        ::unlink(pending.temporary.constData());
    }
}

int CopyBatch::openUnnamed(const QByteArray& folder) {
    if (!m_unnamedWorks || m_unnamedOpen >= m_unnamedLimit) return -1;
    const int fd = ::open(folder.constData(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
    if (fd < 0) {
        // Not on this file system or kernel: named temporaries from now on. Other refusals
        // (no room, no permission) the named temporary meets again, and reports.
        if (errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL || errno == ENOSYS)
            m_unnamedWorks = false;
        return -1;
    }
    ++m_unnamedOpen;
    return fd;
}

int CopyBatch::linkIn(const Pending& pending) {
    const QByteArray from = procPath(pending.fd);
    if (::linkat(AT_FDCWD, from.constData(), AT_FDCWD, pending.target.constData(),
                 AT_SYMLINK_FOLLOW) == 0)
        return 0;
    if (errno != EEXIST) return errno;
    // An older copy is there: the new one is linked in beside it under a temporary name and
    // renamed over it, so that the name holds one whole copy or the other at every moment.
    for (int attempt = 0; attempt < 16; ++attempt) {
        const QByteArray temporary = randomTemporaryName(pending.target);
        if (::linkat(AT_FDCWD, from.constData(), AT_FDCWD, temporary.constData(),
                     AT_SYMLINK_FOLLOW) != 0) {
            if (errno == EEXIST) continue;
            return errno;
        }
        if (::rename(temporary.constData(), pending.target.constData()) == 0) return 0;
        const int code = errno;
        ::unlink(temporary.constData());
        return code;
    }
    return EEXIST;
}

int CopyBatch::makeFolder(const QByteArray& folder) {
    if (folder == m_madeFolder) return 0;
    if (::mkdir(folder.constData(), 0777) == 0 || (errno == EEXIST && isFolder(folder))) {
        m_madeFolder = folder;
        return 0;
    }
    if (errno != ENOENT) return errno == EEXIST ? ENOTDIR : errno;
    const QByteArray parent = folderOf(folder);
    if (parent == folder) return ENOENT;
    if (const int code = makeFolder(parent); code != 0) return code;
    if (::mkdir(folder.constData(), 0777) != 0 && !(errno == EEXIST && isFolder(folder)))
        return errno;
    m_madeFolder = folder;
    return 0;
}

int CopyBatch::copyData(int in, int out, const QByteArray& source) {
    qint64 copied = 0;
    bool kernelCopy = true;
    for (;;) {
        const size_t chunk = static_cast<size_t>(m_options.chunkBytes);
        ssize_t n;
        if (kernelCopy) {
            n = ::copy_file_range(in, nullptr, out, nullptr, chunk, 0);
            if (n < 0 && (errno == EXDEV || errno == EINVAL || errno == ENOSYS ||
                          errno == EOPNOTSUPP || errno == EBADF || errno == EPERM)) {
                // Not between these two file systems: read and write instead. The file
                // offsets are where the kernel copy left them.
                kernelCopy = false;
                continue;
            }
        } else {
            if (m_buffer.empty()) m_buffer.resize(size_t(1) << 20);
            n = ::read(in, m_buffer.data(), std::min(chunk, m_buffer.size()));
            for (ssize_t written = 0; n > 0 && written < n;) {
                const ssize_t w = ::write(out, m_buffer.data() + written, size_t(n - written));
                if (w < 0 && errno == EINTR) continue;
                if (w <= 0) return w < 0 ? errno : EIO;
                written += w;
            }
        }
        if (n < 0) {
            if (errno == EINTR) continue;
            return errno;
        }
        if (n == 0) return 0;
        copied += n;
        if (m_options.afterChunk && !m_options.afterChunk(source, copied)) return ECANCELED;
    }
}

Result<void> CopyBatch::stage(const QByteArray& source, const QByteArray& target, qint64 tag) {
    const auto failed = [&source](int code) {
        return Error::io(QFile::decodeName(source), errorText(code));
    };
    // Non-blocking, so that a file swapped for a pipe since the scan cannot hang the run.
    const int in = ::open(source.constData(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (in < 0) return failed(errno);
    struct stat st {};
    const int statCode = ::fstat(in, &st) == 0 ? (S_ISREG(st.st_mode) ? 0 : EINVAL) : errno;
    if (statCode != 0) {
        ::close(in);
        return failed(statCode);
    }
    const QByteArray folder = folderOf(target);
    if (const int code = makeFolder(folder); code != 0) {
        ::close(in);
        return failed(code);
    }
    if (m_options.staleBefore && !m_sweptFolders.contains(folder)) {
        m_sweptFolders.insert(folder);
        removeStaleTemporaries(folder, *m_options.staleBefore);
    }
    Pending pending{{}, target, tag};
    int out = openUnnamed(folder);
    if (out < 0) {
        QByteArray temporary = temporaryTemplate(target);
        out = ::mkostemp(temporary.data(), O_CLOEXEC);
        if (out < 0) {
            const int code = errno;
            ::close(in);
            return failed(code);
        }
        pending.temporary = std::move(temporary);
    } else {
        pending.fd = out;
    }
    int code = copyData(in, out, source);
    ::close(in);
    if (code == 0) {
        // The permissions are a courtesy (some file systems have none); the time is what the
        // next run compares, so failing to set it fails the copy.
        (void)::fchmod(out, st.st_mode & 0777);
        const timespec times[2] = {st.st_atim, st.st_mtim};
        if (::futimens(out, times) != 0) code = errno;
    }
    // A large file starts on its way to the disk now, so that the disk works while the next
    // files are copied. Small ones wait for the commit's flush: started one by one, each would
    // cost a write request of its own (measured: a first copy of small files took half as long
    // again).
    if (code == 0 && st.st_size >= kEarlyWriteOutBytes)
        (void)::sync_file_range(out, 0, 0, SYNC_FILE_RANGE_WRITE);
    if (pending.fd >= 0) {
        // A file of no name stays open until it is linked in. The batch's first file, named or
        // not, is kept open for the flush, which reports a write error of any file of the batch.
        if (code == 0 && m_flushFd < 0 && (m_flushFd = ::dup(out)) < 0) code = errno;
    } else if (code == 0 && m_flushFd < 0) {
        m_flushFd = out;
    } else if (::close(out) != 0 && code == 0) {
        code = errno;
    }
    if (code != 0) {
        discard(pending);
        return failed(code);
    }
    m_pending.push_back(std::move(pending));
    m_pendingBytes += static_cast<qint64>(st.st_size);
    return {};
}

std::vector<CopyBatch::Failure> CopyBatch::commit() {
    const int flushFd = std::exchange(m_flushFd, -1);
    const auto flush = [this](int fd) {
        return m_options.flushFileSystem ? m_options.flushFileSystem(fd) : ::syncfs(fd);
    };
    // Every copy reaches the disk before any is renamed. A flush per file would flush the
    // disk's cache once per file; one flush of the whole file system does it once for the
    // batch, and reports a write error of any file written since the batch's first was made.
    // After an error each file is flushed on its own, to tell which ones failed.
    const bool flushed = flushFd >= 0 && flush(flushFd) == 0;
    std::vector<int> codes(m_pending.size(), 0);
    bool anyRenamed = false;
    for (size_t k = 0; k < m_pending.size(); ++k) {
        Pending& pending = m_pending[k];
        int code = 0;
        if (!flushed && pending.fd >= 0) {
            if (::fsync(pending.fd) != 0) code = errno;
        } else if (!flushed) {
            const int fd = ::open(pending.temporary.constData(), O_RDONLY | O_CLOEXEC);
            if (fd < 0 || ::fsync(fd) != 0) code = errno;
            if (fd >= 0 && ::close(fd) != 0 && code == 0) code = errno;
        }
        if (code == 0 && pending.fd >= 0) {
            code = linkIn(pending);
        } else if (code == 0 &&
                   ::rename(pending.temporary.constData(), pending.target.constData()) != 0) {
            code = errno;
        }
        if (code == 0) {
            anyRenamed = true;
            if (pending.fd >= 0) {
                // Linked in: closing it now loses nothing, its bytes are on the disk.
                ::close(std::exchange(pending.fd, -1));
                --m_unnamedOpen;
            }
            continue;
        }
        codes[k] = code;
        discard(pending);
    }
    // The new names reach the disk too: a backup drive unplugged once the run has said it is
    // done must hold every copy under its name. A copy whose name may not have got there is
    // reported, though its bytes did.
    int namesCode = 0;
    if (anyRenamed && flush(flushFd) != 0) namesCode = errno;
    if (flushFd >= 0 && ::close(flushFd) != 0 && namesCode == 0) namesCode = errno;
    std::vector<Failure> failures;
    for (size_t k = 0; k < m_pending.size(); ++k) {
        const int code = codes[k] ? codes[k] : namesCode;
        if (code != 0) failures.push_back(Failure{m_pending[k].tag, errorText(code)});
    }
    m_pending.clear();
    m_pendingBytes = 0;
    return failures;
}

Result<void> copyFile(const QByteArray& source, const QByteArray& target,
                      const CopyOptions& options) {
    CopyBatch batch(options);
    if (Result<void> staged = batch.stage(source, target, 0); !staged) return staged;
    const std::vector<CopyBatch::Failure> failures = batch.commit();
    if (failures.empty()) return {};
    return Error::io(QFile::decodeName(source), failures.front().error);
}

} // namespace pote::backup
