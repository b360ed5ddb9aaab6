#pragma once
// Image1: the 48 × 48 picture of the cat in the tool panel, with the timer pote_am that
// animates it. Without a sprite sheet the picture stays empty and everything else still works,
// so the program can run without the cat.

#include "core/mascot_reactions.h"
#include "mascot/mascot_animation.h"

#include <QImage>
#include <QTimer>
#include <QWidget>

namespace pote::mascot {

// A cell with the sheet's background colour made transparent, for pictures on a panel.
QImage withTransparentBackground(const QImage& cell);

class MascotView : public QWidget, public MascotReactions {
    Q_OBJECT
public:
    static constexpr int kPictureSize = 48;

    explicit MascotView(QWidget* parent = nullptr);

    // mascot_load_sheet for this picture. False (and no picture) when the file is missing or
    // refused; the reason is logged.
    bool loadSheet(const QString& path);
    bool hasSheet() const { return !m_sheet.isNull(); }
    // Releases the sheet (at close). The picture keeps nothing.
    void releaseSheet();
    // One cell of the sheet, for pictures that draw the cat themselves (the cat window).
    // Null without a sheet or for a frame the sheet does not hold.
    QImage cellImage(int frame) const;

    // Shows that frame now (mascot_draw). Frames the sheet lacks leave the picture as it was.
    void mascot_draw(int frame);
    // What the picture shows while there is no sheet.
    void setPlaceholder(const QImage& picture);
    // MascotReactions: starts a reaction; the next tick draws it.
    void mascot_react(int reactionCode) override;
    int currentReaction() const override { return m_animation.state().anime_code; }
    // The picture long operations show while they keep the event loop waiting: frame 29 for
    // even n, 30 for odd n, painted at once.
    void busyFrame(int n);

    void start() { m_pote_am.start(); }
    void stop() { m_pote_am.stop(); }
    bool isRunning() const { return m_pote_am.isActive(); }

    const MascotAnimation& animation() const { return m_animation; }
    int timerInterval() const { return m_pote_am.interval(); }
    // The frame currently shown; 0 before the first one.
    int shownFrame() const { return m_shownFrame; }

    // The timer's tick, reachable without waiting for it.
    void pote_ontime();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    void pt_click();
    void Image1DblClick();
    void pt_mm();
    void applyInterval();

    QTimer m_pote_am;
    MascotAnimation m_animation;
    QImage m_sheet;  // RGB888, the whole sheet
    QImage m_canvas; // what the picture shows, key colour already made transparent
    int m_cellWidth = 0;
    int m_cellHeight = 0;
    int m_columns = 0;
    int m_rows = 0;
    int m_shownFrame = 0;
};

} // namespace pote::mascot
