#include "backup/backup_scan.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <dirent.h>
#include <fcntl.h>
#include <linux/magic.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>

namespace pote::backup {

namespace {

FileTime modificationTime(const struct stat& st) {
    return FileTime{static_cast<qint64>(st.st_mtim.tv_sec),
                    static_cast<qint32>(st.st_mtim.tv_nsec)};
}

// Kernel views rather than stored files: some of their "files" never end or block on read.
bool isPseudoFileSystem(int dirFd) {
    struct statfs fs {};
    if (::fstatfs(dirFd, &fs) != 0) return false;
    switch (static_cast<unsigned long>(fs.f_type)) {
    case PROC_SUPER_MAGIC:
    case SYSFS_MAGIC:
    case DEVPTS_SUPER_MAGIC:
    case CGROUP_SUPER_MAGIC:
    case CGROUP2_SUPER_MAGIC:
    case DEBUGFS_MAGIC:
    case TRACEFS_MAGIC:
    case SECURITYFS_MAGIC:
    case PSTOREFS_MAGIC:
    case BPF_FS_MAGIC:
    case 0x62656570: // configfs
    case 0x65735543: // fusectl
    case 0x19800202: // mqueue
        return true;
    default:
        return false;
    }
}

struct PendingFolder {
    QByteArray path;
    dev_t parentDevice = 0;
    bool root = false;
};

class Scanner {
public:
    Scanner(const BackupSources& folders, const ExtensionFilter& filter, ScanResult& result)
        : m_filter(filter), m_result(result) {
        struct stat st {};
        m_haveDestination = ::stat(folders.destination.constData(), &st) == 0;
        if (m_haveDestination) {
            m_destinationDevice = st.st_dev;
            m_destinationInode = st.st_ino;
        }
    }

    void scan(const Source& source, int sourceIndex, const std::atomic<bool>* cancel) {
        // A stack: the sub-folder listed last is visited next, and all of a folder's own
        // sub-folders before the folders listed beside it.
        std::vector<PendingFolder> pending{PendingFolder{source.path, 0, true}};
        while (!pending.empty()) {
            if (cancel && cancel->load(std::memory_order_relaxed)) {
                m_result.cancelled = true;
                return;
            }
            PendingFolder folder = std::move(pending.back());
            pending.pop_back();
            listFolder(folder, sourceIndex, pending);
        }
    }

private:
    void fail(const QByteArray& path, int error) {
        m_result.failures.append(
            BackupFailure{QFile::decodeName(path), QString::fromLocal8Bit(std::strerror(error))});
    }

    static QByteArray join(const QByteArray& folder, const char* name) {
        QByteArray path = folder;
        if (!path.endsWith('/')) path += '/';
        return path += name;
    }

    void listFolder(const PendingFolder& folder, int sourceIndex,
                    std::vector<PendingFolder>& pending) {
        const int fd = ::open(folder.path.constData(),
                              O_RDONLY | O_DIRECTORY | O_CLOEXEC | (folder.root ? 0 : O_NOFOLLOW));
        if (fd < 0) {
            // A folder replaced by a link since it was listed is passed over like any link.
            if (errno != ELOOP && errno != ENOTDIR && !(errno == ENOENT && !folder.root))
                fail(folder.path, errno);
            return;
        }
        struct stat self {};
        if (::fstat(fd, &self) != 0) {
            fail(folder.path, errno);
            ::close(fd);
            return;
        }
        if (m_haveDestination && self.st_dev == m_destinationDevice &&
            self.st_ino == m_destinationInode) {
            ::close(fd);
            return;
        }
        if ((folder.root || self.st_dev != folder.parentDevice) && isPseudoFileSystem(fd)) {
            ::close(fd);
            return;
        }
        DIR* dir = ::fdopendir(fd);
        if (!dir) {
            fail(folder.path, errno);
            ::close(fd);
            return;
        }
        m_entries.clear();
        errno = 0;
        while (const dirent* entry = ::readdir(dir)) {
            const char* name = entry->d_name;
            if (name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0))) continue;
            m_entries.push_back(Entry{QByteArray(name), entry->d_type});
        }
        if (errno != 0) fail(folder.path, errno);
        std::sort(m_entries.begin(), m_entries.end(),
                  [](const Entry& a, const Entry& b) { return a.name < b.name; });

        const int dirFd = ::dirfd(dir);
        for (const Entry& entry : m_entries) {
            unsigned char type = entry.type;
            struct stat st {};
            bool haveStat = false;
            if (type == DT_UNKNOWN) {
                if (::fstatat(dirFd, entry.name.constData(), &st, AT_SYMLINK_NOFOLLOW) != 0) {
                    if (errno != ENOENT && isBackupCandidate(entry.name, m_filter))
                        fail(join(folder.path, entry.name.constData()), errno);
                    continue;
                }
                haveStat = true;
                type = S_ISDIR(st.st_mode)   ? DT_DIR
                       : S_ISREG(st.st_mode) ? DT_REG
                       : S_ISLNK(st.st_mode) ? DT_LNK
                                             : DT_UNKNOWN;
            }
            if (type == DT_DIR) {
                pending.push_back(
                    PendingFolder{join(folder.path, entry.name.constData()), self.st_dev, false});
                continue;
            }
            if ((type != DT_REG && type != DT_LNK) || !isBackupCandidate(entry.name, m_filter))
                continue;
            if (type == DT_LNK || !haveStat) {
                // Links are followed here: a link to a file is backed up as that file.
                if (::fstatat(dirFd, entry.name.constData(), &st, 0) != 0) {
                    // Gone since the listing: nothing to back up. A dangling link or an entry
                    // that cannot be examined is reported.
                    if (type == DT_LNK || errno != ENOENT)
                        fail(join(folder.path, entry.name.constData()), errno);
                    continue;
                }
            }
            if (!S_ISREG(st.st_mode)) continue;
            m_result.files.push_back(ScannedFile{folder.path, entry.name,
                                                 static_cast<qint64>(st.st_size),
                                                 modificationTime(st), sourceIndex});
        }
        ::closedir(dir);
    }

    struct Entry {
        QByteArray name;
        unsigned char type;
    };

    const ExtensionFilter& m_filter;
    ScanResult& m_result;
    std::vector<Entry> m_entries;
    bool m_haveDestination = false;
    dev_t m_destinationDevice = 0;
    ino_t m_destinationInode = 0;
};

} // namespace

ScanResult scanSources(const BackupSources& folders, const ExtensionFilter& filter,
                       const std::atomic<bool>* cancel) {
    ScanResult result;
    Scanner scanner(folders, filter, result);
    for (int i = 0; i < folders.sources.size() && !result.cancelled; ++i)
        scanner.scan(folders.sources[i], i, cancel);
    return result;
}

} // namespace pote::backup
