#pragma once
// The caret read-out of the status bar's first panel.

#include <QString>

namespace pote {

// line and column 0-based (column in bytes); totalLines as shown (already + 1).
QString caretStatusText(qint64 line, qint64 column, qint64 totalLines);

QString plainTextModeStatus(); // "通常テキストモード"

} // namespace pote
