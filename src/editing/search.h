#pragma once
// The one search routine of the editor: find, replace, the tax scanner and the linked-text
// reader all find patterns with it.

#include <QByteArrayView>

namespace pote {

enum class CaseMode { Sensitive, Insensitive };

// Byte offset of the first match at or after from (from is a character boundary), never starting
// inside a double-byte character; -1 when none or when pattern is empty.
qsizetype search_from(QByteArrayView text, QByteArrayView pattern, qsizetype from, CaseMode mode);

} // namespace pote
