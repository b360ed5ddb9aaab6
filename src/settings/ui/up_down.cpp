#include "settings/ui/up_down.h"

#include "editing/tax.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QToolButton>

#include <algorithm>

namespace pote {

UpDown::UpDown(const QString& objectName, QLineEdit* buddy, int minimum, int maximum,
               QWidget* parent)
    : QWidget(parent), m_buddy(buddy), m_minimum(minimum), m_maximum(maximum), m_position(minimum) {
    setObjectName(objectName);
    const auto arrow = [this](Qt::ArrowType type, int delta) {
        auto* b = new QToolButton(this);
        b->setArrowType(type);
        b->setAutoRepeat(true);
        b->setFocusPolicy(Qt::NoFocus);
        connect(b, &QToolButton::clicked, this, [this, delta] { step(delta); });
        return b;
    };
    m_up = arrow(Qt::UpArrow, 1);
    m_down = arrow(Qt::DownArrow, -1);
    m_buddy->installEventFilter(this);
}

void UpDown::setPosition(int value) {
    m_position = std::clamp(value, m_minimum, m_maximum);
    m_buddy->setText(QString::number(m_position));
}

void UpDown::step(int delta) {
    if (const int typed = check_number(m_buddy->text(), m_minimum, m_maximum); typed >= 0)
        m_position = typed;
    setPosition(m_position + delta);
    m_buddy->selectAll();
}

bool UpDown::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_buddy && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            step(key == Qt::Key_Up ? 1 : -1);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void UpDown::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    const int half = height() / 2;
    m_up->setGeometry(0, 0, width(), half);
    m_down->setGeometry(0, half, width(), height() - half);
}

} // namespace pote
