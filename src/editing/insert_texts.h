#pragma once
// What the insert commands put at the caret, as CP932 bytes: the separator line, the date and
// time, a file's name, path or size, the list of a folder's files, and the fixed text.

#include "core/result.h"

#include <QByteArray>
#include <QDate>
#include <QLocale>
#include <QString>
#include <QTime>

#include <optional>
#include <vector>

namespace pote {

// "\r\n" + pattern repeated (width / its byte length) times + "\r\n": the width counts bytes,
// so a double-byte pattern fills half as many. An empty pattern gives the two breaks only.
QByteArray separator_line(int width, QByteArrayView pattern);

// The Japanese forms "2026/12/07" and "21:52:30", whatever the desktop's locale: a writer's
// text does not change its dates with the machine it was written on.
QByteArray date_text(const QDate& date);
QByteArray time_text(const QTime& time);

// The chosen file's name with its extension, or its full path as the chooser returned it.
QByteArray file_name_text(const QString& path);
QByteArray full_path_text(const QString& path);

enum class SizeUnit { None, Byte, Kbyte, Mbyte };

// "1,234,567byte", "1,205Kbyte" (whole Kbytes, the fraction dropped), "1.2Mbyte" (the
// "#,##0.0" form with the locale's separators); empty for SizeUnit::None. Sizes are 64-bit.
QByteArray size_text(qint64 size, SizeUnit unit, const QLocale& locale = QLocale::system());

struct ListedFile {
    QString name;
    qint64 size = 0;
};

// The files of a folder sorted by name, without sub-folders and hidden files (names starting
// with "."), and without descending into sub-folders. A folder that cannot be listed is Refused
// with the cat's words, which name it.
Result<std::vector<ListedFile>> list_folder(const QString& folder);

// "\r\n", then per file its name padded to the longest name, two spaces and its size text
// right-aligned to the longest one (at least one column), "\r\n"; then one more "\r\n".
// Widths count bytes, so names with double-byte characters align too.
QByteArray file_list_text(const std::vector<ListedFile>& files, SizeUnit unit,
                          const QLocale& locale = QLocale::system());

// The fixed-text file read as lines: each followed by CR LF, cut at the first NUL; nullopt when
// there is no such file. A file that cannot be read is an Io error naming it.
Result<std::optional<QByteArray>> read_fixed_text(const QString& path);
// The notice for a fixed-text file that does not exist.
QString fixed_text_missing_message();

} // namespace pote
