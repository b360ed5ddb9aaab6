#include "editing/insert_texts.h"

#include "core/cp932.h"
#include "core/digit_grouping.h"
#include "core/file_io.h"
#include "core/text_lines.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace pote {

namespace {

constexpr qint64 kMebibyte = 1024 * 1024;

// The C and POSIX locales carry no national forms; the editor's users write Japanese.
bool isPlainLocale(const QLocale& locale) {
    return locale.language() == QLocale::C;
}

QChar firstOr(const QString& s, QChar fallback) {
    return s.isEmpty() ? fallback : s.at(0);
}

} // namespace

QByteArray separator_line(int width, QByteArrayView pattern) {
    const qsizetype repeats = pattern.isEmpty() ? 0 : std::max(width, 0) / pattern.size();
    QByteArray line = "\r\n";
    line.reserve(repeats * pattern.size() + 4);
    for (qsizetype i = 0; i < repeats; ++i)
        line.append(pattern);
    line.append("\r\n");
    return line;
}

QByteArray date_text(const QDate& date) {
    // Formatted without a locale: its names of months and its digits would follow the desktop.
    return date.toString(QStringLiteral("yyyy/MM/dd")).toLatin1();
}

QByteArray time_text(const QTime& time) {
    return time.toString(QStringLiteral("H:mm:ss")).toLatin1();
}

QByteArray file_name_text(const QString& path) {
    return cp932::encode(QFileInfo(path).fileName());
}

QByteArray full_path_text(const QString& path) {
    return cp932::encode(path);
}

QByteArray size_text(qint64 size, SizeUnit unit, const QLocale& locale) {
    switch (unit) {
    case SizeUnit::None:
        return {};
    case SizeUnit::Byte:
        return group_digits(size).toLatin1() + "byte";
    case SizeUnit::Kbyte:
        return group_digits(size / 1024).toLatin1() + "Kbyte";
    case SizeUnit::Mbyte: {
        // Tenths rounded half up in integers: a size of 1.25 MB is exact in binary, and a
        // floating-point tie must not round to even.
        const qint64 tenths =
            (size / kMebibyte) * 10 + ((size % kMebibyte) * 10 + kMebibyte / 2) / kMebibyte;
        const bool plain = isPlainLocale(locale);
        const QString number = group_digits_tenths(
            tenths, plain ? QChar(u',') : firstOr(locale.groupSeparator(), u','),
            plain ? QChar(u'.') : firstOr(locale.decimalPoint(), u'.'));
        return cp932::encode(number) + "Mbyte";
    }
    }
    return {};
}

Result<std::vector<ListedFile>> list_folder(const QString& folder) {
    const QFileInfo info(folder);
    if (!info.isDir())
        return Error::refused(QStringLiteral("%1: フォルダが見つからないにゃ。").arg(folder));
    if (!info.isReadable() || !info.isExecutable())
        return Error::refused(QStringLiteral("%1: フォルダを読めないにゃ。").arg(folder));
    const QFileInfoList entries = QDir(folder).entryInfoList(QDir::Files | QDir::NoDotAndDotDot,
                                                             QDir::Name | QDir::IgnoreCase);
    std::vector<ListedFile> files;
    files.reserve(static_cast<size_t>(entries.size()));
    for (const QFileInfo& entry : entries)
        files.push_back({entry.fileName(), entry.size()});
    return files;
}

QByteArray file_list_text(const std::vector<ListedFile>& files, SizeUnit unit,
                          const QLocale& locale) {
    std::vector<QByteArray> names;
    std::vector<QByteArray> sizes;
    qsizetype maxName = 0;
    qsizetype maxSize = 1;
    for (const ListedFile& file : files) {
        names.push_back(cp932::encode(file.name));
        sizes.push_back(size_text(file.size, unit, locale));
        maxName = std::max(maxName, names.back().size());
        maxSize = std::max(maxSize, sizes.back().size());
    }
    QByteArray text = "\r\n";
    text.reserve(2 + static_cast<qsizetype>(files.size()) * (maxName + maxSize + 4) + 2);
    for (size_t i = 0; i < names.size(); ++i) {
        text.append(names[i]);
        text.append(QByteArray(maxName - names[i].size(), ' '));
        text.append("  ");
        text.append(QByteArray(maxSize - sizes[i].size(), ' '));
        text.append(sizes[i]);
        text.append("\r\n");
    }
    text.append("\r\n");
    return text;
}

Result<std::optional<QByteArray>> read_fixed_text(const QString& path) {
    if (path.isEmpty() || !QFileInfo(path).isFile()) return std::optional<QByteArray>();
    Result<RegularFileRead> read = readRegularFile(path);
    if (!read) return read.error();
    return std::optional<QByteArray>(read_as_lines(std::move(*read->bytes)));
}

QString fixed_text_missing_message() {
    return QStringLiteral("指定テキストファイルが見つからないにゃ！\r") +
           QStringLiteral("環境設定でセットしてみてにゃ。");
}

} // namespace pote
