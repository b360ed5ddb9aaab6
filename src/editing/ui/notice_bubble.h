#pragma once
// A short notice beside the spot it is about, in the manner of a tool tip: it takes neither the
// focus nor the keys, and goes away by itself after a few seconds or when clicked. Each widget
// that needs one gets its own (see showNotice).

#include <QLabel>

class QTimer;

namespace pote {

class NoticeBubble : public QLabel {
    Q_OBJECT
public:
    explicit NoticeBubble(QWidget* anchor);
    // Shows text with its top left corner at `at`, in the anchor's coordinates.
    void showAt(const QPoint& at, const QString& text);

protected:
    void mousePressEvent(QMouseEvent* event) override;

private:
    QWidget* m_anchor;
    QTimer* m_timer;
};

// The anchor's bubble, made on first use, showing text at `at` (anchor coordinates).
void showNotice(QWidget& anchor, const QPoint& at, const QString& text);

} // namespace pote
