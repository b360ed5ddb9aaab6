#include "editing/status_text.h"

namespace pote {

QString caretStatusText(qint64 line, qint64 column, qint64 totalLines) {
    return QStringLiteral("  ") + QString::number(line + 1) + QStringLiteral("行") +
           QStringLiteral("   ") + QString::number(column + 1) + QStringLiteral("桁    ") +
           QStringLiteral(" (") + QString::number(totalLines) + QStringLiteral("行)");
}

QString plainTextModeStatus() {
    return QStringLiteral("通常テキストモード");
}

} // namespace pote
