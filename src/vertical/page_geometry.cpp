#include "vertical/page_geometry.h"

#include <algorithm>

namespace pote::vertical {

namespace {

constexpr QSizeF kA4Portrait{210, 297};
// In cells: the band beside each line holds ruby at half the size of the text.
constexpr qreal kBand = 0.5;
constexpr qreal kFold = 1.5;
// Below the lines: the place of a hanging 、 and the page number.
constexpr qreal kBelow = 2.0;
// The margin around everything, as a share of the sheet's shorter side.
constexpr qreal kMarginShare = 0.06;

bool hasFold(const PageFormat& f) {
    return f.grid && f.linesPerPage % 2 == 0;
}

qreal widthInCells(const PageFormat& f) {
    return f.linesPerPage * (1 + kBand) + (hasFold(f) ? kFold : 0);
}

qreal heightInCells(const PageFormat& f) {
    return f.charsPerLine + kBelow;
}

qreal cellFor(const PageFormat& f, QSizeF paper) {
    const qreal margin = std::min(paper.width(), paper.height()) * kMarginShare;
    return std::min((paper.width() - 2 * margin) / widthInCells(f),
                    (paper.height() - 2 * margin) / heightInCells(f));
}

} // namespace

Paper paperFor(const PageFormat& format) {
    const QSizeF landscape = kA4Portrait.transposed();
    if (format.a4Landscape || cellFor(format, landscape) > cellFor(format, kA4Portrait))
        return {landscape, true};
    return {kA4Portrait, false};
}

PageGeometry::PageGeometry(const PageFormat& format, QSizeF paper)
    : m_format(format), m_paper(paper) {
    m_format.charsPerLine = std::max(1, m_format.charsPerLine);
    m_format.linesPerPage = std::max(1, m_format.linesPerPage);
    m_cell = std::max<qreal>(0, cellFor(m_format, paper));
    m_band = m_cell * kBand;
    const QSizeF frame(widthInCells(m_format) * m_cell, m_format.charsPerLine * m_cell);
    const qreal top = (paper.height() - heightInCells(m_format) * m_cell) / 2;
    m_frame = QRectF(QPointF((paper.width() - frame.width()) / 2, top), frame);
    if (hasFold(m_format)) {
        const qreal right = lineRight(m_format.linesPerPage / 2 - 1) - m_cell - m_band;
        m_fold = QRectF(right - kFold * m_cell, m_frame.top(), kFold * m_cell, frame.height());
    }
}

qreal PageGeometry::lineRight(int line) const {
    qreal right = m_frame.right() - line * (m_cell + m_band);
    if (hasFold(m_format) && line >= m_format.linesPerPage / 2) right -= kFold * m_cell;
    return right;
}

QRectF PageGeometry::cellRect(int line, int cell) const {
    return QRectF(lineRight(line) - m_band - m_cell, m_frame.top() + cell * m_cell, m_cell, m_cell);
}

QRectF PageGeometry::sideBand(int line, int firstCell, int lastCell) const {
    return QRectF(lineRight(line) - m_band, m_frame.top() + firstCell * m_cell, m_band,
                  (lastCell - firstCell) * m_cell);
}

QPointF PageGeometry::pageNumberCentre() const {
    return QPointF(m_frame.center().x(), m_frame.bottom() + 1.5 * m_cell);
}

} // namespace pote::vertical
