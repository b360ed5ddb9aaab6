#pragma once
// The program's look on top of the platform style: a disabled tool or menu icon is plainly
// greyed out and faded, not merely a shade lighter than an enabled one (line icons in dark grey
// barely change under the usual greying).

#include <QProxyStyle>

namespace pote {

// The icon as a command that cannot be used now shows it: grey, at a third of its opacity.
QImage fadedForDisabled(const QImage& image);

class DisabledIconStyle : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;
    QPixmap generatedIconPixmap(QIcon::Mode mode, const QPixmap& pixmap,
                                const QStyleOption* option) const override;
};

} // namespace pote
