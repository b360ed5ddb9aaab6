#pragma once
// "バックアップ(&B)" and its tool button: the checks, then the scan and the copies on a worker
// thread while the window stays live, with the progress in the status bar, the cat's busy
// pictures, and "中止" (Esc or the status bar's button) as the one command left.

#include "app/ui/background_work.h"
#include "backup/backup_plan.h"
#include "backup/backup_runner.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <functional>
#include <memory>

namespace pote {

struct AppContext;
struct Settings;
namespace mascot {
class MascotView;
}

// The backup's part of the settings.
backup::BackupSettings backupSettingsOf(const Settings& settings);

class BackupCommands : public QObject {
    Q_OBJECT
public:
    BackupCommands(AppContext& context, mascot::MascotView& cat, QObject* parent = nullptr);
    // Stops a run still going and waits for its worker: it reads the plan and the flag kept here.
    ~BackupCommands() override;

    void nx_backupClick();
    // "中止" (the window's): the run stops after the file at hand and reports what it copied.
    void stop() { m_work.stop(); }

    // From the first check to the last report.
    bool running() const { return m_phase != Phase::Idle; }
    // While the scan or the copies run: every other command waits.
    bool busy() const { return m_work.busy(); }
    // The window asks before it closes. While a run goes on the answer is no: the run is
    // stopped, its report shown, and the window then closes by itself.
    bool closeQuery() { return m_work.closeQuery(running()); }

    // Called on the worker thread with every progress report of the copy (tests stop a run
    // half-way from here). A run keeps the observer it started with.
    void setProgressObserver(std::function<void(const backup::BackupProgress&)> observer) {
        m_observer = std::move(observer);
    }

private:
    enum class Phase { Idle, Checking, Scanning, Copying, Reporting };

    void enterBusy();
    void leaveBusy();
    void leaveBusyThen(std::function<void()> reports);
    void nextBusyFrame();
    // Hands work's result back to the window's thread, as a command of its own.
    template <typename Result> void deliver(Result result, void (BackupCommands::*handler)(Result));
    void scanFinished(std::shared_ptr<const backup::BackupPlan> plan);
    void copyFinished(backup::BackupOutcome outcome);
    void report(const backup::BackupOutcome& outcome);
    void finish();

    AppContext& m_context;
    mascot::MascotView& m_cat;
    Phase m_phase = Phase::Idle;
    BackgroundWork m_work; // the scan, then the copies
    QTimer m_busyFrames;
    int m_busyFrame = 0;
    QElapsedTimer m_clock;
    QString m_statusText; // what the first status panel shows during the run
    std::function<void(const backup::BackupProgress&)> m_observer;
};

} // namespace pote
