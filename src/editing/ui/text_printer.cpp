#include "editing/ui/text_printer.h"

#include "editing/print_pagination.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>

#include <vector>

namespace pote {

namespace {

// The pane's font is often sized in screen pixels; on paper it keeps its size in points.
QFont paperFont(const QFont& font) {
    QFont paper(font);
    if (font.pixelSize() > 0) paper.setPointSizeF(font.pixelSize() * 72.0 / 96.0);
    return paper;
}

} // namespace

int printText(QPagedPaintDevice& device, const QString& text, const QFont& font) {
    QPainter painter;
    if (!painter.begin(&device)) return 0;
    const QFont paper = paperFont(font);
    painter.setFont(paper);
    const QFontMetricsF metrics(paper, &device);
    const QRect area = device.pageLayout().paintRectPixels(device.logicalDpiX());
    const double width = area.width();
    const double rowHeight = metrics.lineSpacing();
    const qsizetype rowsPerPage =
        qMax<qsizetype>(1, static_cast<qsizetype>(area.height() / rowHeight));

    std::vector<double> advances(0x10000, -1.0);
    const auto advance = [&](QChar c) {
        double& w = advances[c.unicode()];
        if (w < 0) w = metrics.horizontalAdvance(c);
        return w;
    };
    const std::vector<PrintRow> rows = breakIntoRows(text, width, advance);
    const qsizetype pages = pageCount(static_cast<qsizetype>(rows.size()), rowsPerPage);
    for (qsizetype page = 0; page < pages; ++page) {
        if (page > 0) device.newPage();
        const qsizetype first = page * rowsPerPage;
        const qsizetype last =
            qMin<qsizetype>(first + rowsPerPage, static_cast<qsizetype>(rows.size()));
        for (qsizetype i = first; i < last; ++i) {
            const PrintRow& row = rows[static_cast<size_t>(i)];
            if (row.length == 0) continue;
            const double y = (i - first) * rowHeight + metrics.ascent();
            painter.drawText(QPointF(0, y), text.mid(row.start, row.length));
        }
    }
    painter.end();
    return static_cast<int>(pages);
}

} // namespace pote
