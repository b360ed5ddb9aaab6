#pragma once
// The two conversions every text passes on its way into the store.

#include <QByteArray>
#include <QString>

namespace pote {

// Drops zero bytes at the end; zero bytes inside the text stay.
QByteArray strip_trailing_nul(QByteArray text);

// Replaces each TAB by spaces up to the next stop of width tabWidth. Columns count bytes
// and restart at 1 after each LF. Returns the input itself (no copy) when it holds no TAB.
QByteArray expand_tabs(const QByteArray& text, int tabWidth);

// Pane text with its tabs turned into the spaces they will be stored as (columns counted in
// CP932 bytes). Text without a TAB comes back as it is.
QString expandTabsInPaneText(const QString& text, int tabWidth);

} // namespace pote
