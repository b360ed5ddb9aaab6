#include "support/test_files.h"

#include "core/cp932.h"

#include <QFile>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <stdexcept>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace pote::test {

QByteArray readAll(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) throw std::runtime_error("cannot read " + path.toStdString());
    return f.readAll();
}

void writeAll(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size())
        throw std::runtime_error("cannot write " + path.toStdString());
}

QString dataPath(const QString& name) {
    return QStringLiteral(POTE_TEST_DATA_DIR "/") + name;
}

QByteArray sjis(const char* utf8) {
    return cp932::encode(QString::fromUtf8(utf8));
}

bool readsPipeWithoutWaiting(const QString& path, const std::function<void()>& read) {
    const QByteArray native = QFile::encodeName(path);
    if (::mkfifo(native.constData(), 0600) != 0) return false;
    std::mutex mutex;
    std::condition_variable finished;
    bool done = false;
    std::thread reader([&] {
        read();
        const std::lock_guard lock(mutex);
        done = true;
        finished.notify_one();
    });
    bool waited = false;
    {
        std::unique_lock lock(mutex);
        waited = !finished.wait_for(lock, std::chrono::seconds(5), [&] { return done; });
    }
    if (waited) {
        // Releases a reader blocked in its open; it then reads the end of the pipe at once.
        const int writer = ::open(native.constData(), O_WRONLY | O_NONBLOCK);
        if (writer >= 0) ::close(writer);
    }
    reader.join();
    return !waited;
}

bool pipesAvailable(const QString& folder) {
    const QByteArray probe = QFile::encodeName(folder + QStringLiteral("/.pipe-probe"));
    if (::mkfifo(probe.constData(), 0600) != 0) return false;
    ::unlink(probe.constData());
    return true;
}

} // namespace pote::test
