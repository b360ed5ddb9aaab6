#pragma once
// The little up-down arrows beside a number field. The arrows, and the up and down keys in the
// field, step the number within the range; the field itself still takes any text, which the
// dialog checks when it is applied.

#include <QWidget>

class QLineEdit;
class QToolButton;

namespace pote {

class UpDown : public QWidget {
    Q_OBJECT
public:
    UpDown(const QString& objectName, QLineEdit* buddy, int minimum, int maximum, QWidget* parent);

    // Shows value (kept within the range) in the field.
    void setPosition(int value);
    int position() const { return m_position; }
    // One step up (+1) or down (-1) from the number in the field, or from the last position
    // when the field holds no number of the range.
    void step(int delta);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QLineEdit* m_buddy;
    QToolButton* m_up;
    QToolButton* m_down;
    int m_minimum;
    int m_maximum;
    int m_position;
};

} // namespace pote
