#include "app/export_status.h"

#include <QFileInfo>

namespace pote {

QString exportedStatusText(const QString& path, int count, ExportUnit unit) {
    const QString unitName =
        unit == ExportUnit::Pages ? QStringLiteral("ページ") : QStringLiteral("セクション");
    return QStringLiteral("「%1」に書き出したにゃ（%2%3）")
        .arg(QFileInfo(path).fileName())
        .arg(count)
        .arg(unitName);
}

} // namespace pote
