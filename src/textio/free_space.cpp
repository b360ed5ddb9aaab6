#include "textio/free_space.h"

#include <QDir>
#include <QFileInfo>

#include <sys/statvfs.h>

namespace pote {

qint64 free_bytes_for(const QString& path) {
    if (path.isEmpty()) return -1;
    // The file itself may not exist yet; measure the nearest folder that does.
    QFileInfo info(QDir::cleanPath(QFileInfo(path).absoluteFilePath()));
    QString dir = info.isDir() ? info.absoluteFilePath() : info.absolutePath();
    while (!QFileInfo(dir).isDir()) {
        const QString parent = QFileInfo(dir).absolutePath();
        if (parent == dir) return -1;
        dir = parent;
    }
    struct statvfs fs {};
    if (::statvfs(QFile::encodeName(dir).constData(), &fs) != 0) return -1;
    return static_cast<qint64>(fs.f_bavail) * static_cast<qint64>(fs.f_frsize);
}

Result<void> free_space_decide(qint64 freeBytes, qint64 needed, SpaceForm form) {
    if (needed <= freeBytes) return {};
    const bool total = form == SpaceForm::Total;
    const auto number = [total](qint64 v) { return total ? group_digits(v) : QString::number(v); };
    return Error::noSpace(
        QStringLiteral("ディスクの空き容量が足りないみたいだにゃ。\r\n") +
        QStringLiteral("ディスクの空き容量＝") + number(freeBytes) + QStringLiteral("byte") +
        QStringLiteral("\r\n") +
        (total ? QStringLiteral("合計書き込みサイズ＝") : QStringLiteral("書き込みサイズ＝")) +
        number(needed) + QStringLiteral("byte"));
}

Result<void> free_space_check(const QString& path, qint64 needed, SpaceForm form) {
    return free_space_decide(free_bytes_for(path), needed, form);
}

} // namespace pote
