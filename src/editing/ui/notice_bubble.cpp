#include "editing/ui/notice_bubble.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTimer>

namespace pote {

namespace {
constexpr int kShownMilliseconds = 6000;
constexpr int kMaximumWidth = 360;
} // namespace

NoticeBubble::NoticeBubble(QWidget* anchor)
    : QLabel(anchor, Qt::ToolTip | Qt::FramelessWindowHint), m_anchor(anchor),
      m_timer(new QTimer(this)) {
    setObjectName(QStringLiteral("notice_bubble"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
    setForegroundRole(QPalette::ToolTipText);
    setBackgroundRole(QPalette::ToolTipBase);
    setAutoFillBackground(true);
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setMargin(4);
    setWordWrap(true);
    m_timer->setSingleShot(true);
    connect(m_timer, &QTimer::timeout, this, &QWidget::hide);
}

void NoticeBubble::showAt(const QPoint& at, const QString& text) {
    setText(text);
    // One line where it fits: a word-wrapped label would otherwise settle on a narrow column.
    const int oneLine = fontMetrics().horizontalAdvance(text) + 2 * (margin() + frameWidth()) + 2;
    setFixedWidth(qMin(oneLine, kMaximumWidth));
    adjustSize();
    QPoint global = m_anchor->mapToGlobal(at);
    // Kept on the screen, so that a caret near the right or bottom edge does not hide it.
    if (const QScreen* screen = m_anchor->screen()) {
        const QRect room = screen->availableGeometry();
        global.setX(qBound(room.left(), global.x(), qMax(room.left(), room.right() - width())));
        global.setY(qBound(room.top(), global.y(), qMax(room.top(), room.bottom() - height())));
    }
    move(global);
    show();
    raise();
    m_timer->start(kShownMilliseconds);
}

void NoticeBubble::mousePressEvent(QMouseEvent* event) {
    Q_UNUSED(event);
    hide();
}

void showNotice(QWidget& anchor, const QPoint& at, const QString& text) {
    auto* bubble = anchor.findChild<NoticeBubble*>(QString(), Qt::FindDirectChildrenOnly);
    if (!bubble) bubble = new NoticeBubble(&anchor);
    bubble->showAt(at, text);
}

} // namespace pote
