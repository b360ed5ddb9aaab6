#pragma once
// The one piece of background work a controller runs at a time (a backup, a book being written):
// its worker thread and the flag that stops it, the busy cursor while it runs, and the window's
// close, which waits for the work to stop and then happens by itself.

#include <QFuture>

#include <atomic>

class QWidget;

namespace pote {

class BackgroundWork {
public:
    // Read by the worker after every step; set to stop it.
    std::atomic<bool> cancel{false};
    QFuture<void> worker;

    // A new run: not stopped, no close waiting for it.
    void begin() {
        cancel = false;
        m_closeWhenDone = false;
    }
    void stop() { cancel = true; }

    // The arrow with the busy sign: the window still takes clicks, for "中止".
    void enterBusy();
    // False when the work was not busy.
    bool leaveBusy();
    bool busy() const { return m_busy; }

    // The window asks before it closes: while the work runs (running) the answer is no, the work
    // is stopped, and closeWindowIfAsked closes the window once its last report is shown.
    bool closeQuery(bool running);
    bool closeAsked() const { return m_closeWhenDone; }
    // After the command at hand has returned, so that the window's close asks its own questions.
    void closeWindowIfAsked(QWidget* window);

    // For the controller's destructor: the worker reads what the controller holds.
    void stopAndWait();

private:
    bool m_busy = false;
    bool m_closeWhenDone = false;
};

} // namespace pote
