#include "vertical/ui/page_painter.h"

#include "vertical/line_rules.h"
#include "vertical/ui/vertical_font.h"

#include <QGlyphRun>
#include <QPainter>

#include <algorithm>
#include <functional>

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

// Adds a glyph to its layer and to the text, as a new cluster showing `text` or, when text is
// empty, as one more glyph of the last cluster.
void add(PagePlan& plan, qreal size, bool turned, quint32 glyph, QPointF at, QStringView text) {
    GlyphLayer& layer = layerFor(plan, size, turned);
    layer.glyphs.append(glyph);
    layer.positions.append(at);
    if (plan.text.isEmpty() || plan.text.last().pixelSize != size ||
        plan.text.last().turned != turned) {
        plan.text.append(TextRun{size, turned, {}, {}, {}});
        // A character's glyphs stay in one run: a run never begins inside a cluster.
    }
    TextRun& run = plan.text.last();
    run.glyphs.append(glyph);
    run.positions.append(at);
    if (!text.isEmpty() || run.clusters.isEmpty())
        run.clusters.append(TextCluster{text.toString(), 1});
    else
        ++run.clusters.last().glyphs;
}

// Glyphs shaped from `text`, each starting a cluster of its character unless it is a further
// glyph of the character before.
void addShaped(PagePlan& plan, const QList<CellGlyph>& glyphs, QStringView text, qreal size,
               const std::function<QPointF(const CellGlyph&)>& at) {
    int last = -1;
    for (const CellGlyph& g : glyphs) {
        if (isBlank(text[g.index].unicode())) continue;
        add(plan, size, g.turned, g.glyph, at(g),
            g.index == last ? QStringView() : text.sliced(g.index, 1));
        last = g.index;
    }
}

void put(PagePlan& plan, const CellGlyph& g, QRectF cell, qreal size, QStringView text) {
    const QPointF from = g.turned ? toTurnedFrame(cell.center())
                                  : QPointF(cell.center().x(), cell.center().y() - size / 2);
    add(plan, size, g.turned, g.glyph, from + g.origin * size, text);
}

} // namespace

QRectF dotShape(qreal dotSize) {
    const qreal d = dotSize;
    return QRectF(-d * 0.32, -d * 0.55, d * 0.64, d * 1.1);
}

QPointF toTurnedFrame(QPointF onPage) {
    return QPointF(onPage.y(), -onPage.x());
}

PagePainter::PagePainter(VerticalFont& font, const PageGeometry& geometry, bool grid)
    : m_font(font), m_geometry(geometry), m_grid(grid),
      m_textSize(geometry.cellSize() * (grid ? kTextInGrid : kTextFree)),
      m_rubySize(geometry.sideBand(0, 0, 1).width() * kRubyInBand) {}

void PagePainter::placeUprightRun(PagePlan& plan, QStringView text, const QList<QRectF>& cells,
                                  qreal size) const {
    int last = -1;
    for (const CellGlyph& g : m_font.upright(text)) {
        if (isBlank(text[g.index].unicode())) continue;
        put(plan, g, cells[g.index], size,
            g.index == last ? QStringView() : text.sliced(g.index, 1));
        last = g.index;
    }
}

void PagePainter::flushUpright(PagePlan& plan, QString& text, QList<QRectF>& cells) const {
    placeUprightRun(plan, text, cells, m_textSize);
    text.clear();
    cells.clear();
}

void PagePainter::placeSidewaysRun(PagePlan& plan, QStringView text, QRectF cells) const {
    qreal width = 0;
    const QList<CellGlyph> glyphs = m_font.sideways(text, width);
    // The run keeps the margin an upright character has at each end of its cell; a face whose
    // letters are wider than half a cell is set smaller, never past its cells.
    const qreal margin = (m_geometry.cellSize() - m_textSize) / 2;
    const qreal room = cells.height() - 2 * margin;
    const qreal size = width * m_textSize > room && width > 0 ? room / width : m_textSize;
    const QPointF start = toTurnedFrame(QPointF(cells.center().x(), cells.top() + margin));
    addShaped(plan, glyphs, text, size,
              [&](const CellGlyph& g) { return start + g.origin * size; });
}

void PagePainter::placeCell(PagePlan& plan, const Cell& cell, QRectF rect) const {
    const qsizetype n = cell.ch[1] ? 2 : 1;
    const QStringView text(cell.ch, n);
    int last = -1;
    for (const CellGlyph& g : m_font.across(text, cell.kind == CellKind::Sideways)) {
        put(plan, g, rect, m_textSize, g.index == last ? QStringView() : text.sliced(g.index, 1));
        last = g.index;
    }
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
    QString sideways;
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
                continue;
            }
            // What breaks an upright run is placed after it, so the text reads in order.
            flushUpright(plan, upright, uprightCells);
            if (cell.kind == CellKind::Sideways) {
                int end = c;
                sideways.clear();
                for (; end < line.cells.size() && line.cells[end].kind == CellKind::Sideways;
                     ++end) {
                    sideways.append(QChar(line.cells[end].ch[0]));
                    if (line.cells[end].ch[1]) sideways.append(QChar(line.cells[end].ch[1]));
                }
                placeSidewaysRun(plan, sideways, rect.united(m_geometry.cellRect(l, end - 1)));
                c = end - 1;
            } else {
                placeCell(plan, cell, rect);
            }
        }
        flushUpright(plan, upright, uprightCells);
        // Each line's readings after it: copied, a ruby follows the line that holds its base.
        for (const RubyMark& ruby : page.ruby)
            if (ruby.line == l) placeRuby(plan, ruby);
    }
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
        const QString number = QString::number(pageNumber);
        addShaped(plan, m_font.horizontalCentred(number), number, size,
                  [&](const CellGlyph& g) { return centre + g.origin * size; });
    }
    return plan;
}

GridPlan PagePainter::grid() const {
    GridPlan grid;
    const qreal cell = m_geometry.cellSize();
    const int lines = m_geometry.linesPerPage();
    const int chars = m_geometry.charsPerLine();
    grid.rules.reserve(lines * (chars + 3));
    for (int l = 0; l < lines; ++l) {
        const QRectF column = m_geometry.cellRect(l, 0).united(m_geometry.cellRect(l, chars - 1));
        grid.rules.append(QLineF(column.topLeft(), column.bottomLeft()));
        grid.rules.append(QLineF(column.topRight(), column.bottomRight()));
        for (int c = 1; c < chars; ++c) {
            const qreal y = column.top() + c * cell;
            grid.rules.append(QLineF(column.left(), y, column.right(), y));
        }
    }
    grid.ruleWidth = cell * 0.025;
    grid.frame = m_geometry.frame();
    grid.frameWidth = cell * 0.06;
    const QRectF fold = m_geometry.foldBand();
    if (!fold.isEmpty()) {
        // The mark in the fold that a sheet is folded at.
        const qreal w = fold.width() * 0.5;
        const QPointF top(fold.center().x(), fold.top() + fold.height() * 0.1);
        grid.foldMark = {top + QPointF(-w / 2, 0), top + QPointF(w / 2, 0), top + QPointF(w / 2, w),
                         top + QPointF(0, w * 0.6), top + QPointF(-w / 2, w)};
    }
    return grid;
}

void PagePainter::paintGrid(QPainter& painter) const {
    const GridPlan grid = this->grid();
    painter.save();
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(kGridColour, grid.ruleWidth));
    painter.drawLines(grid.rules);
    painter.setPen(QPen(kGridColour, grid.frameWidth));
    painter.drawRect(grid.frame);
    if (!grid.foldMark.isEmpty()) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(kGridColour);
        painter.drawPolygon(grid.foldMark);
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
        for (const QPointF& dot : plan.dots) {
            painter.save();
            painter.translate(dot);
            painter.rotate(kDotTilt);
            painter.drawEllipse(dotShape(plan.dotSize));
            painter.restore();
        }
    }
    painter.restore();
}

} // namespace pote::vertical
