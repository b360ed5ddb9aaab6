#include "recovery/recovery_folder.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace pote::recovery {

namespace {

// A lock file may be a moment old without its copy: its editor is just starting. Older ones
// without a copy belong to editors that ended before their first copy.
constexpr qint64 kStaleLockSeconds = 3600;

QString errnoText(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

// Opens (creating) a lock file and takes its lock without waiting; -1 when another process
// holds it or the file cannot be opened.
int takeLock(const QString& lockPath, int* error = nullptr) {
    const QByteArray native = QFile::encodeName(lockPath);
    const int fd = ::open(native.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) {
        if (error) *error = errno;
        return -1;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if (error) *error = errno;
        ::close(fd);
        return -1;
    }
    return fd;
}

QString idOf(const QString& fileName, const char* suffix) {
    return fileName.left(fileName.size() - qsizetype(std::strlen(suffix)));
}

} // namespace

QString defaultRecoveryFolder() {
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    if (state.isEmpty() || QDir::isRelativePath(state))
        state = QDir::homePath() + QStringLiteral("/.local/state");
    return state + QStringLiteral("/poteedit/recovery");
}

Leftover::Leftover(QString copyPath, QString lockPath, int lockFd)
    : m_copyPath(std::move(copyPath)), m_lockPath(std::move(lockPath)), m_lockFd(lockFd) {}

Leftover::Leftover(Leftover&& other) noexcept
    : m_copyPath(std::move(other.m_copyPath)), m_lockPath(std::move(other.m_lockPath)),
      m_lockFd(std::exchange(other.m_lockFd, -1)) {}

Leftover& Leftover::operator=(Leftover&& other) noexcept {
    if (this != &other) {
        release();
        m_copyPath = std::move(other.m_copyPath);
        m_lockPath = std::move(other.m_lockPath);
        m_lockFd = std::exchange(other.m_lockFd, -1);
    }
    return *this;
}

Leftover::~Leftover() {
    release();
}

void Leftover::release() {
    if (m_lockFd >= 0) ::close(m_lockFd);
    m_lockFd = -1;
}

void Leftover::forgetLock() {
    // The copy is gone first, so no one who takes the lock after us finds it again.
    if (m_lockFd >= 0) ::unlink(QFile::encodeName(m_lockPath).constData());
    release();
}

Result<void> Leftover::discard() {
    QFile copy(m_copyPath);
    if (copy.exists() && !copy.remove()) return Error::io(m_copyPath, copy.errorString());
    forgetLock();
    return {};
}

Result<void> Leftover::moveTo(const QString& target) {
    // rename(2) replaces the target in one step; QFile::rename would refuse an existing one.
    if (::rename(QFile::encodeName(m_copyPath).constData(),
                 QFile::encodeName(target).constData()) != 0)
        return Error::io(m_copyPath, errnoText(errno));
    forgetLock();
    return {};
}

RecoveryFolder::RecoveryFolder(const QString& folder)
    : m_folder(folder.isEmpty() ? defaultRecoveryFolder() : folder) {
    m_id = QStringLiteral("%1-%2")
               .arg(::getpid())
               .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'));
}

RecoveryFolder::~RecoveryFolder() {
    if (m_lockFd < 0) return;
    ::unlink(QFile::encodeName(m_folder + QLatin1Char('/') + m_id + QLatin1String(kLockSuffix))
                 .constData());
    ::close(m_lockFd);
}

Result<void> RecoveryFolder::open() {
    if (isOpen()) return {};
    QDir dir(m_folder);
    if (!dir.mkpath(QStringLiteral(".")))
        return Error::io(m_folder, QStringLiteral("cannot create %1").arg(m_folder));
    // Copies hold the user's writing, in plain text unless the document has a password.
    if (!QFile::setPermissions(m_folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner))
        return Error::io(m_folder, QStringLiteral("cannot make %1 private").arg(m_folder));
    int lockError = 0;
    m_lockFd = takeLock(dir.filePath(m_id + QLatin1String(kLockSuffix)), &lockError);
    if (m_lockFd < 0) return Error::io(m_folder, errnoText(lockError));
    return {};
}

QString RecoveryFolder::copyPath() const {
    return m_folder + QLatin1Char('/') + m_id + QLatin1String(kCopySuffix);
}

std::vector<Leftover> RecoveryFolder::claimLeftovers() {
    std::vector<Leftover> claimed;
    const QDir dir(m_folder);
    const QStringList copies =
        dir.entryList({QStringLiteral("*") + QLatin1String(kCopySuffix)}, QDir::Files, QDir::Name);
    for (const QString& name : copies) {
        const QString id = idOf(name, kCopySuffix);
        if (id == m_id) continue;
        const QString lockPath = dir.filePath(id + QLatin1String(kLockSuffix));
        const int fd = takeLock(lockPath);
        if (fd >= 0) claimed.emplace_back(dir.filePath(name), lockPath, fd);
    }

    const QDateTime staleBefore = QDateTime::currentDateTimeUtc().addSecs(-kStaleLockSeconds);
    for (const QFileInfo& lock :
         dir.entryInfoList({QStringLiteral("*") + QLatin1String(kLockSuffix)}, QDir::Files)) {
        const QString id = idOf(lock.fileName(), kLockSuffix);
        if (id == m_id || dir.exists(id + QLatin1String(kCopySuffix)) ||
            lock.lastModified().toUTC() > staleBefore)
            continue;
        const int fd = takeLock(lock.filePath());
        if (fd < 0) continue;
        ::unlink(QFile::encodeName(lock.filePath()).constData());
        ::close(fd);
    }
    return claimed;
}

} // namespace pote::recovery
