#pragma once
// Where the parts of a vertical page go on paper: the cells of each line, the narrow band to a
// line's right where ruby and emphasis dots sit, the fold band of manuscript paper and the page
// number. One answer for the screen, the PDF and the printer, in whatever unit the caller
// measures the paper in.

#include "vertical/layout.h"

#include <QRectF>
#include <QSizeF>

namespace pote::vertical {

// The sheet a format is set on: A4, landscape when the format asks for it, and otherwise in
// whichever orientation gives the larger cells.
struct Paper {
    QSizeF millimetres;
    bool landscape = false;
};
Paper paperFor(const PageFormat& format);

class PageGeometry {
public:
    // paper: the whole sheet, in the unit every answer is given in.
    PageGeometry(const PageFormat& format, QSizeF paper);

    QSizeF paper() const { return m_paper; }
    qreal cellSize() const { return m_cell; }
    // Lines and cells as the layout counts them: line 0 is the rightmost, cell 0 the top one.
    // cell == charsPerLine is the place of a 、 or 。 hanging below the line.
    QRectF cellRect(int line, int cell) const;
    // The band to the right of a line's cells, from cell first to cell last (exclusive).
    QRectF sideBand(int line, int firstCell, int lastCell) const;
    // All the lines, side bands included.
    QRectF frame() const { return m_frame; }
    // The fold of manuscript paper between the two halves; empty when there is none.
    QRectF foldBand() const { return m_fold; }
    // Where the page number is centred.
    QPointF pageNumberCentre() const;
    int charsPerLine() const { return m_format.charsPerLine; }
    int linesPerPage() const { return m_format.linesPerPage; }

private:
    qreal lineRight(int line) const;

    PageFormat m_format;
    QSizeF m_paper;
    qreal m_cell = 0;
    qreal m_band = 0; // the side band's width
    QRectF m_frame;
    QRectF m_fold;
};

} // namespace pote::vertical
