#include "app/ui/background_work.h"

#include <QApplication>
#include <QTimer>
#include <QWidget>

namespace pote {

void BackgroundWork::enterBusy() {
    m_busy = true;
    QApplication::setOverrideCursor(Qt::BusyCursor);
}

bool BackgroundWork::leaveBusy() {
    if (!m_busy) return false;
    m_busy = false;
    QApplication::restoreOverrideCursor();
    return true;
}

bool BackgroundWork::closeQuery(bool running) {
    if (!running) return true;
    cancel = true;
    m_closeWhenDone = true;
    return false;
}

void BackgroundWork::closeWindowIfAsked(QWidget* window) {
    if (!m_closeWhenDone) return;
    m_closeWhenDone = false;
    QTimer::singleShot(0, window, &QWidget::close);
}

void BackgroundWork::stopAndWait() {
    cancel = true;
    worker.waitForFinished();
    leaveBusy();
}

} // namespace pote
