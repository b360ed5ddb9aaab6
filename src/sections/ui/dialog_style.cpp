#include "sections/ui/dialog_style.h"

#include <QFontMetrics>
#include <QLabel>

namespace pote {

QFont dialogFont() {
    QFont font(QStringLiteral("ＭＳ Ｐゴシック"));
    font.setPixelSize(12);
    return font;
}

int listItemHeight(const QFont& font) {
    constexpr int kDesignHeight = 13;
    return qMax(kDesignHeight, QFontMetrics(font).height());
}

QLabel* captionLabel(const QString& objectName, const QString& text, QWidget* buddy, QPoint at,
                     QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(objectName);
    QFont font = dialogFont();
    font.setPixelSize(16);
    font.setBold(true);
    font.setItalic(true);
    label->setFont(font);
    label->setBuddy(buddy);
    label->move(at);
    label->adjustSize();
    return label;
}

QIcon dialogIcon(const QString& name) {
    return QIcon(QStringLiteral(":/icons/") + name + QStringLiteral(".svg"));
}

} // namespace pote
