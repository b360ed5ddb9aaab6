#include "vertical/ui/spread_view.h"

#include "vertical/page_geometry.h"
#include "vertical/ui/page_painter.h"
#include "vertical/ui/vertical_font.h"

#include <QPainter>

#include <algorithm>

namespace pote::vertical {

namespace {

constexpr int kMargin = 16;
const QColor kDesk(0x80, 0x80, 0x80);

} // namespace

SpreadView::SpreadView(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("vp_spread"));
    setFocusPolicy(Qt::StrongFocus);
    setAutoFillBackground(false);
}

void SpreadView::setPages(const PageFormat& format, VerticalFont* font, std::optional<Shown> right,
                          std::optional<Shown> left) {
    m_format = format;
    m_font = font;
    m_right = std::move(right);
    m_left = std::move(left);
    update();
}

QSize SpreadView::fittingSize(QSize viewport) const {
    const QSizeF paper = paperFor(m_format).millimetres;
    const qreal scale =
        std::max<qreal>(0.05, std::min((viewport.width() - 3.0 * kMargin) / (2 * paper.width()),
                                       (viewport.height() - 2.0 * kMargin) / paper.height()));
    return QSize(int(2 * paper.width() * scale) + 3 * kMargin,
                 int(paper.height() * scale) + 2 * kMargin);
}

QSizeF SpreadView::pageSize() const {
    const QSizeF paper = paperFor(m_format).millimetres;
    const qreal scale = std::min((width() - 3.0 * kMargin) / (2 * paper.width()),
                                 (height() - 2.0 * kMargin) / paper.height());
    return paper * std::max<qreal>(0.05, scale);
}

QRectF SpreadView::rightPageRect() const {
    const QSizeF page = pageSize();
    const qreal left = (width() - 2 * page.width() - kMargin) / 2;
    return QRectF(QPointF(left + page.width() + kMargin, (height() - page.height()) / 2), page);
}

QRectF SpreadView::leftPageRect() const {
    return rightPageRect().translated(-(pageSize().width() + kMargin), 0);
}

void SpreadView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), kDesk);
    painter.setRenderHint(QPainter::Antialiasing);
    const auto paintPage = [&](const std::optional<Shown>& shown, QRectF where) {
        if (!shown) return;
        painter.fillRect(where.translated(3, 3), QColor(0, 0, 0, 80));
        painter.fillRect(where, Qt::white);
        if (!m_font) return;
        painter.save();
        painter.translate(where.topLeft());
        PagePainter(*m_font, PageGeometry(m_format, where.size()), m_format.grid)
            .paint(painter, shown->page, shown->number);
        painter.restore();
    };
    paintPage(m_right, rightPageRect());
    paintPage(m_left, leftPageRect());
}

} // namespace pote::vertical
