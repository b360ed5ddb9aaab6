#include "vertical/ui/page_printing.h"

#include "vertical/page_geometry.h"
#include "vertical/ui/page_painter.h"

#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>

namespace pote::vertical {

namespace {

QString deviceRefusedMessage() {
    return QStringLiteral("could not start drawing pages");
}

} // namespace

void setUpSheet(QPagedPaintDevice& device, const PageFormat& format) {
    const Paper paper = paperFor(format);
    device.setPageLayout(
        QPageLayout(QPageSize(QPageSize::A4),
                    paper.landscape ? QPageLayout::Landscape : QPageLayout::Portrait, QMarginsF()));
}

Result<int> printPages(QPagedPaintDevice& device, PageSource& source, VerticalFont& font,
                       const PageProgress& progress) {
    const int total = source.pageCount();
    QPainter painter;
    if (!painter.begin(&device)) return Error::io({}, deviceRefusedMessage());
    painter.setRenderHint(QPainter::Antialiasing);
    const PageFormat& format = source.format();
    const PageGeometry geometry(format, QSizeF(device.width(), device.height()));
    PagePainter pages(font, geometry, format.grid);
    for (int n = 0; n < total; ++n) {
        if (n > 0 && !device.newPage()) {
            painter.end();
            return Error::io({}, deviceRefusedMessage());
        }
        pages.paint(painter, source.page(n), n + 1);
        if (progress && !progress(n + 1, total)) {
            painter.end();
            return Error::cancelled();
        }
    }
    painter.end();
    return total;
}

} // namespace pote::vertical
