#pragma once
// "バックアップ(&B)" and its tool button: the checks, then the scan and the copies on a worker
// thread while the window stays live, with the progress in the status bar, the cat's busy
// pictures, and "中止" (Esc or the status bar's button) as the one command left.

#include "app/ui/background_job.h"
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
    void stop() { m_job.stop(); }

    // From the start of the scan to the last report.
    bool running() const { return m_job.running(); }
    // While the scan or the copies run: every other command waits.
    bool busy() const { return m_job.busy(); }

    // Called on the worker thread with every progress report of the copy (tests stop a run
    // half-way from here). A run keeps the observer it started with.
    void setProgressObserver(std::function<void(const backup::BackupProgress&)> observer) {
        m_observer = std::move(observer);
    }

private:
    void enterBusy();
    void scanFinished(std::shared_ptr<const backup::BackupPlan> plan);
    void copyFinished(const backup::BackupOutcome& outcome);
    // Leaves busy; the reports follow as a command of their own.
    void finishWith(std::function<void()> reports);
    void report(const backup::BackupOutcome& outcome);
    void finish();

    AppContext& m_context;
    mascot::MascotView& m_cat;
    BackgroundJob m_job; // the scan, then the copies
    QTimer m_busyFrames;
    int m_busyFrame = 0;
    QElapsedTimer m_clock;
    QString m_statusText; // what the first status panel shows during the run
    std::function<void(const backup::BackupProgress&)> m_observer;
};

} // namespace pote
