#include "mascot/ui/mascot_view.h"

#include "mascot/sprite_sheet.h"

#include <QMouseEvent>
#include <QPainter>
#include <QtDebug>

namespace pote::mascot {

namespace {

// The sheet's background. The picture shows the tool panel through it, so the cat sits on the
// panel instead of on a green square.
constexpr QRgb kKeyColour = qRgb(0, 128, 0);

} // namespace

QImage withTransparentBackground(const QImage& cell) {
    QImage out = cell.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < out.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x) {
            if ((line[x] & RGB_MASK) == (kKeyColour & RGB_MASK)) line[x] = 0;
        }
    }
    return out;
}

MascotView::MascotView(QWidget* parent) : QWidget(parent) {
    setFixedSize(kPictureSize, kPictureSize);
    setFocusPolicy(Qt::NoFocus);
    setMouseTracking(true); // pt_mm wants moves without a button held
    m_pote_am.setInterval(kNormalInterval);
    connect(&m_pote_am, &QTimer::timeout, this, &MascotView::pote_ontime);
}

bool MascotView::loadSheet(const QString& path) {
    releaseSheet();
    SheetLoadResult loaded = mascot_load_sheet(path);
    if (!loaded.ok()) {
        qWarning().noquote() << "mascot picture not loaded:" << loaded.detail;
        return false;
    }
    const SpriteSheet& sheet = loaded.sheet;
    m_sheet = QImage(reinterpret_cast<const uchar*>(sheet.rgb.constData()), sheet.width(),
                     sheet.height(), qsizetype(sheet.width()) * 3, QImage::Format_RGB888)
                  .copy();
    if (m_sheet.isNull()) {
        qWarning() << "mascot picture not loaded: out of memory";
        return false;
    }
    m_cellWidth = sheet.cellWidth;
    m_cellHeight = sheet.cellHeight;
    m_columns = sheet.columns;
    m_rows = sheet.rows;
    return true;
}

void MascotView::releaseSheet() {
    m_sheet = QImage();
    m_canvas = QImage();
    m_cellWidth = m_cellHeight = m_columns = m_rows = 0;
    m_shownFrame = 0;
    update();
}

QImage MascotView::cellImage(int frame) const {
    if (m_sheet.isNull() || frame < 1 || frame > m_columns * m_rows) return {};
    const int cell = frame - 1;
    return m_sheet.copy((cell % m_columns) * m_cellWidth, (cell / m_columns) * m_cellHeight,
                        m_cellWidth, m_cellHeight);
}

void MascotView::mascot_draw(int frame) {
    const QImage cell = cellImage(frame);
    if (cell.isNull()) return;
    m_canvas = withTransparentBackground(cell);
    m_shownFrame = frame;
    update();
}

void MascotView::mascot_react(int reactionCode) {
    m_animation.react(reactionCode);
    applyInterval();
}

void MascotView::busyFrame(int n) {
    mascot_draw(29 + (n & 1));
    repaint();
}

void MascotView::pote_ontime() {
    const MascotAnimation::Tick tick = m_animation.tick();
    for (const int frame : tick.frames)
        mascot_draw(frame);
    applyInterval();
}

void MascotView::applyInterval() {
    // Setting the interval restarts a running timer; only do it when the pace changes.
    if (m_pote_am.interval() != m_animation.intervalMs())
        m_pote_am.setInterval(m_animation.intervalMs());
}

void MascotView::setPlaceholder(const QImage& picture) {
    if (hasSheet()) return;
    m_canvas = picture;
    update();
}

void MascotView::paintEvent(QPaintEvent*) {
    if (m_canvas.isNull()) return;
    QPainter painter(this);
    painter.drawImage(0, 0, m_canvas);
}

void MascotView::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) pt_click();
}

void MascotView::mouseDoubleClickEvent(QMouseEvent* event) {
    // The first click of a double click has already started reaction 9; this replaces it.
    if (event->button() == Qt::LeftButton) Image1DblClick();
}

void MascotView::mouseMoveEvent(QMouseEvent*) {
    pt_mm();
}

void MascotView::pt_click() {
    mascot_react(code::kExercise);
}

void MascotView::Image1DblClick() {
    mascot_react(code::kDoubleClicked);
}

void MascotView::pt_mm() {
    if (m_animation.pointerMoved()) applyInterval();
}

} // namespace pote::mascot
