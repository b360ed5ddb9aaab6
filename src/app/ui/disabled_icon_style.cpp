#include "app/ui/disabled_icon_style.h"

#include <QPixmap>

namespace pote {

namespace {
constexpr int kDisabledOpacityPercent = 35;
}

QImage fadedForDisabled(const QImage& image) {
    QImage out = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < out.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x) {
            const QRgb p = line[x];
            const int grey = qGray(p);
            line[x] = qRgba(grey, grey, grey, qAlpha(p) * kDisabledOpacityPercent / 100);
        }
    }
    return out;
}

QPixmap DisabledIconStyle::generatedIconPixmap(QIcon::Mode mode, const QPixmap& pixmap,
                                               const QStyleOption* option) const {
    if (mode != QIcon::Disabled) return QProxyStyle::generatedIconPixmap(mode, pixmap, option);
    QPixmap faded = QPixmap::fromImage(fadedForDisabled(pixmap.toImage()));
    faded.setDevicePixelRatio(pixmap.devicePixelRatio());
    return faded;
}

} // namespace pote
