#pragma once
// Paints one laid-out page: the grid of manuscript paper, the characters with their vertical
// forms, ruby, emphasis dots and the page number. The preview, the PDF and the printer all paint
// through here, so what is seen is what is printed.

#include "vertical/layout.h"
#include "vertical/page_geometry.h"

#include <QColor>
#include <QLineF>
#include <QList>
#include <QPointF>
#include <QPolygonF>
#include <QRectF>
#include <QString>

class QPainter;

namespace pote::vertical {

class VerticalFont;

// The classic red-brown of manuscript paper.
inline constexpr QColor kGridColour{176, 82, 58};

// Glyphs of one size drawn in one run. Positions are on the page, or, for a turned layer, in
// the page's frame turned a quarter to the right (QPainter::rotate(90)).
struct GlyphLayer {
    qreal pixelSize = 0;
    bool turned = false;
    QList<quint32> glyphs;
    QList<QPointF> positions;
};

// The same glyphs with the text they show, in reading order: each line from the top, its ruby
// after it, the page number last. A PDF writes them so, and its text can then be copied and
// searched as it is read. A run changes where the size or the turn does; a cluster is the text
// of one character and the glyphs drawn for it.
struct TextCluster {
    QString text;
    int glyphs = 0;
};

struct TextRun {
    qreal pixelSize = 0;
    bool turned = false;
    QList<quint32> glyphs;
    QList<QPointF> positions;
    QList<TextCluster> clusters;
};

struct PagePlan {
    QList<GlyphLayer> layers;
    QList<TextRun> text;
    QList<QPointF> dots; // centres of the emphasis dots
    qreal dotSize = 0;
};

// The manuscript paper's lines: thin rules between cells and lines, the frame drawn thicker,
// and the mark in the fold (empty without one).
struct GridPlan {
    QList<QLineF> rules;
    qreal ruleWidth = 0;
    QRectF frame;
    qreal frameWidth = 0;
    QPolygonF foldMark;
};

// Sesame dots: a tear leaning to the upper right, turned by kDotTilt degrees about its centre.
inline constexpr qreal kDotTilt = -35;
QRectF dotShape(qreal dotSize);

// Where a point of the page lies in the turned frame of a turned layer.
QPointF toTurnedFrame(QPointF onPage);

class PagePainter {
public:
    PagePainter(VerticalFont& font, const PageGeometry& geometry, bool grid);

    const PageGeometry& geometry() const { return m_geometry; }
    // The text's size and the ruby's.
    qreal textSize() const { return m_textSize; }
    qreal rubySize() const { return m_rubySize; }

    // What paint draws for the page, its grid aside. pageNumber 0 draws none.
    PagePlan plan(const Page& page, int pageNumber) const;
    GridPlan grid() const;
    // Paints on a painter whose coordinates are those of the geometry's paper.
    void paint(QPainter& painter, const Page& page, int pageNumber);

private:
    void paintGrid(QPainter& painter) const;
    void placeCell(PagePlan& plan, const Cell& cell, QRectF rect) const;
    // Sideways cells one after another on a line: one run, read continuously.
    void placeSidewaysRun(PagePlan& plan, QStringView text, QRectF cells) const;
    void placeUprightRun(PagePlan& plan, QStringView text, const QList<QRectF>& cells,
                         qreal size) const;
    // The upright characters gathered so far on a line, placed before what breaks them.
    void flushUpright(PagePlan& plan, QString& text, QList<QRectF>& cells) const;
    void placeRuby(PagePlan& plan, const RubyMark& ruby) const;

    VerticalFont& m_font;
    PageGeometry m_geometry;
    bool m_grid;
    qreal m_textSize;
    qreal m_rubySize;
};

} // namespace pote::vertical
