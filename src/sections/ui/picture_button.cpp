#include "sections/ui/picture_button.h"

#include <QStyleOptionButton>
#include <QStylePainter>

namespace pote {

PictureButton::PictureButton(const QString& objectName, const QIcon& icon, const QString& text,
                             QWidget* parent)
    : QPushButton(icon, text, parent) {
    setObjectName(objectName);
    setIconSize(QSize(24, 24));
}

void PictureButton::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    painter.drawControl(QStyle::CE_PushButtonBevel, option);

    const QRect area = rect().adjusted(2, 4, -2, -3);
    const QIcon::Mode mode = isEnabled() ? QIcon::Normal : QIcon::Disabled;
    const QPixmap picture = icon().pixmap(iconSize(), devicePixelRatio(), mode);
    const QRect pictureRect(area.x() + (area.width() - iconSize().width()) / 2, area.y(),
                            iconSize().width(), iconSize().height());
    painter.drawPixmap(pictureRect, picture);

    const QRect textRect(area.x(), pictureRect.bottom() + 1, area.width(),
                         area.bottom() - pictureRect.bottom());
    style()->drawItemText(&painter, textRect,
                          Qt::AlignHCenter | Qt::AlignVCenter | Qt::TextShowMnemonic, palette(),
                          isEnabled(), text(), QPalette::ButtonText);
    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = rect().adjusted(3, 3, -3, -3);
        painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
    }
}

} // namespace pote
