#include "core/export_target.h"

#include <QFile>
#include <QFileInfo>

#include <optional>

#include <sys/stat.h>

namespace pote {

namespace {

std::optional<struct stat> identity(const QString& path) {
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0) return std::nullopt;
    return st;
}

} // namespace

bool sameFileOnDisk(const QString& a, const QString& b) {
    if (a.isEmpty() || b.isEmpty()) return false;
    const QString first = QFileInfo(a).canonicalFilePath();
    if (!first.isEmpty() && first == QFileInfo(b).canonicalFilePath()) return true;
    const std::optional<struct stat> one = identity(a);
    const std::optional<struct stat> other = identity(b);
    return one && other && one->st_dev == other->st_dev && one->st_ino == other->st_ino;
}

Result<void> exportTargetCheck(const QString& target, const QString& document) {
    if (sameFileOnDisk(target, document)) return Error::refused(exportOverDocumentMessage());
    return {};
}

QString exportOverDocumentMessage() {
    return QStringLiteral("そこは、いま開いている文書のファイルにゃ。\r\n") +
           QStringLiteral("上書きしたら原稿が消えちゃうから、別の名前にしてにゃん。");
}

} // namespace pote
