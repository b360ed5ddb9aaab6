#include "vertical/ui/page_painter.h"

#include "vertical/ui/vertical_font.h"

#include <QGlyphRun>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>

namespace pote::vertical {

namespace {

// Inside the boxes of manuscript paper a character keeps clear of the lines; without them it
// fills more of its cell.
constexpr qreal kTextInGrid = 0.8;
constexpr qreal kTextFree = 0.94;
constexpr qreal kRubyInBand = 0.9;
constexpr qreal kNumberSize = 0.55;
constexpr qreal kDotSize = 0.3; // of the side band

GlyphLayer& layerFor(PagePlan& plan, qreal size, bool turned) {
    for (GlyphLayer& layer : plan.layers)
        if (layer.pixelSize == size && layer.turned == turned) return layer;
    plan.layers.append(GlyphLayer{size, turned, {}, {}});
    return plan.layers.last();
}

void put(PagePlan& plan, const CellGlyph& g, QRectF cell, qreal size) {
    GlyphLayer& layer = layerFor(plan, size, g.turned);
    const QPointF from = g.turned ? toTurnedFrame(cell.center())
                                  : QPointF(cell.center().x(), cell.center().y() - size / 2);
    layer.glyphs.append(g.glyph);
    layer.positions.append(from + g.origin * size);
}

} // namespace

QPointF toTurnedFrame(QPointF onPage) {
    return QPointF(onPage.y(), -onPage.x());
}

PagePainter::PagePainter(VerticalFont& font, const PageGeometry& geometry, bool grid)
    : m_font(font), m_geometry(geometry), m_grid(grid),
      m_textSize(geometry.cellSize() * (grid ? kTextInGrid : kTextFree)),
      m_rubySize(geometry.sideBand(0, 0, 1).width() * kRubyInBand) {}

void PagePainter::placeUprightRun(PagePlan& plan, QStringView text, const QList<QRectF>& cells,
                                  qreal size) const {
    for (const CellGlyph& g : m_font.upright(text))
        put(plan, g, cells[g.index], size);
}

void PagePainter::placeCell(PagePlan& plan, const Cell& cell, QRectF rect) const {
    const qsizetype n = cell.ch[1] ? 2 : 1;
    const QStringView text(cell.ch, n);
    for (const CellGlyph& g : m_font.across(text, cell.kind == CellKind::Sideways))
        put(plan, g, rect, m_textSize);
}

void PagePainter::placeRuby(PagePlan& plan, const RubyMark& ruby) const {
    if (ruby.reading.isEmpty() || ruby.readingLength <= 0) return;
    // The layout has placed the reading along the line, in cells from its top.
    const QRectF band = m_geometry.sideBand(ruby.line, 0, 1);
    const qreal cell = m_geometry.cellSize();
    const qreal pitch = ruby.readingLength * cell / ruby.reading.size();
    const qreal top = band.top() + ruby.readingTop * cell;
    QList<QRectF> cells;
    cells.reserve(ruby.reading.size());
    for (qsizetype i = 0; i < ruby.reading.size(); ++i)
        cells.append(QRectF(band.left(), top + i * pitch, band.width(), pitch));
    placeUprightRun(plan, ruby.reading, cells, std::min(m_rubySize, pitch));
}

PagePlan PagePainter::plan(const Page& page, int pageNumber) const {
    PagePlan plan;
    QString upright;
    QList<QRectF> uprightCells;
    for (int l = 0; l < page.lines.size(); ++l) {
        const Line& line = page.lines[l];
        upright.clear();
        uprightCells.clear();
        for (int c = 0; c < line.cells.size(); ++c) {
            const Cell& cell = line.cells[c];
            const QRectF rect = m_geometry.cellRect(l, c);
            if (cell.kind == CellKind::Upright) {
                upright.append(QChar(cell.ch[0]));
                uprightCells.append(rect);
            } else {
                placeCell(plan, cell, rect);
            }
        }
        placeUprightRun(plan, upright, uprightCells, m_textSize);
    }
    for (const RubyMark& ruby : page.ruby)
        placeRuby(plan, ruby);
    const qreal band = m_geometry.sideBand(0, 0, 1).width();
    plan.dotSize = band * kDotSize;
    for (const EmphasisMark& mark : page.emphasis) {
        for (int c = mark.firstCell; c < mark.lastCell; ++c) {
            const QRectF side = m_geometry.sideBand(mark.line, c, c + 1);
            plan.dots.append(QPointF(side.left() + side.width() * 0.4, side.center().y()));
        }
    }
    if (pageNumber > 0) {
        const qreal size = m_geometry.cellSize() * kNumberSize;
        const QPointF centre = m_geometry.pageNumberCentre();
        for (const CellGlyph& g : m_font.horizontalCentred(QString::number(pageNumber))) {
            GlyphLayer& layer = layerFor(plan, size, false);
            layer.glyphs.append(g.glyph);
            layer.positions.append(centre + g.origin * size);
        }
    }
    return plan;
}

void PagePainter::paintGrid(QPainter& painter) const {
    const qreal cell = m_geometry.cellSize();
    const int lines = m_geometry.linesPerPage();
    const int chars = m_geometry.charsPerLine();
    QList<QLineF> rules;
    rules.reserve(lines * (chars + 3));
    for (int l = 0; l < lines; ++l) {
        const QRectF column = m_geometry.cellRect(l, 0).united(m_geometry.cellRect(l, chars - 1));
        rules.append(QLineF(column.topLeft(), column.bottomLeft()));
        rules.append(QLineF(column.topRight(), column.bottomRight()));
        for (int c = 1; c < chars; ++c) {
            const qreal y = column.top() + c * cell;
            rules.append(QLineF(column.left(), y, column.right(), y));
        }
    }
    painter.save();
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(kGridColour, cell * 0.025));
    painter.drawLines(rules);
    painter.setPen(QPen(kGridColour, cell * 0.06));
    painter.drawRect(m_geometry.frame());
    const QRectF fold = m_geometry.foldBand();
    if (!fold.isEmpty()) {
        // The mark in the fold that a sheet is folded at.
        const qreal w = fold.width() * 0.5;
        const QPointF top(fold.center().x(), fold.top() + fold.height() * 0.1);
        QPainterPath mark;
        mark.moveTo(top + QPointF(-w / 2, 0));
        mark.lineTo(top + QPointF(w / 2, 0));
        mark.lineTo(top + QPointF(w / 2, w));
        mark.lineTo(top + QPointF(0, w * 0.6));
        mark.lineTo(top + QPointF(-w / 2, w));
        mark.closeSubpath();
        painter.setPen(Qt::NoPen);
        painter.setBrush(kGridColour);
        painter.drawPath(mark);
    }
    painter.restore();
}

void PagePainter::paint(QPainter& painter, const Page& page, int pageNumber) {
    if (m_grid) paintGrid(painter);
    const PagePlan plan = this->plan(page, pageNumber);
    painter.save();
    painter.setPen(Qt::black);
    for (const GlyphLayer& layer : plan.layers) {
        QGlyphRun run;
        run.setRawFont(m_font.raw(layer.pixelSize));
        run.setGlyphIndexes(layer.glyphs);
        run.setPositions(layer.positions);
        if (layer.turned) {
            painter.save();
            painter.rotate(90);
            painter.drawGlyphRun(QPointF(), run);
            painter.restore();
        } else {
            painter.drawGlyphRun(QPointF(), run);
        }
    }
    if (!plan.dots.isEmpty()) {
        // Sesame dots: a tear leaning to the upper right.
        painter.setPen(Qt::NoPen);
        painter.setBrush(Qt::black);
        const qreal d = plan.dotSize;
        for (const QPointF& dot : plan.dots) {
            painter.save();
            painter.translate(dot);
            painter.rotate(-35);
            painter.drawEllipse(QRectF(-d * 0.32, -d * 0.55, d * 0.64, d * 1.1));
            painter.restore();
        }
    }
    painter.restore();
}

} // namespace pote::vertical
