#pragma once
// The two conversions every text passes on its way into the store.

#include <QByteArray>

namespace pote {

// Drops zero bytes at the end; zero bytes inside the text stay.
QByteArray strip_trailing_nul(QByteArray text);

// Replaces each TAB by spaces up to the next stop of width tabWidth. Columns count bytes
// and restart at 1 after each LF. Returns the input itself (no copy) when it holds no TAB.
QByteArray expand_tabs(const QByteArray& text, int tabWidth);

} // namespace pote
