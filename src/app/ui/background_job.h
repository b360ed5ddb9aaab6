#pragma once
// Work a controller runs off the window's thread (a backup, a book being written), one run at a
// time. The job owns the whole round trip: the worker and its stop flag, cleared at each start;
// the busy cursor; progress handed to the window while the run is on; the result handed back as
// a command of its own; then, once the window has its commands back, the report as another
// command; and the window's close, which waits for the report and then happens by itself.
//
// Every job enters itself in the context's BackgroundJobs, which the window asks whether anything
// is busy, which stops them all, and whose consent a close needs.

#include <QFuture>
#include <QObject>
#include <QtConcurrent/QtConcurrentRun>

#include <atomic>
#include <functional>
#include <vector>

namespace pote {

struct AppContext;
class BackgroundJob;

class BackgroundJobs {
public:
    // While one that holds the window is busy every other command waits.
    bool anyBusy() const;
    // "中止": every job stops after the step at hand and reports what it did.
    void stopAll();
    // The window asks before it closes: no while any job runs from start to last report (each
    // running job is stopped, and closes the window once its report is shown).
    bool closeQuery();

private:
    friend class BackgroundJob;
    std::vector<BackgroundJob*> m_jobs;
};

class BackgroundJob : public QObject {
    Q_OBJECT
public:
    using StopFlag = std::atomic<bool>;

    // Whether the window waits for the job (a backup, a book: every other command waits and the
    // cursor shows it) or goes on beside it (a check that only reads a copy of the texts).
    enum class Holds { Window, Nothing };

    explicit BackgroundJob(AppContext& context, QObject* parent = nullptr,
                           Holds holds = Holds::Window);
    ~BackgroundJob() override;

    // Runs work(stopFlag) on a worker thread and hands its result to done(result) on the
    // window's thread, as a command of its own, after every progress the run posted. A new run
    // clears the stop flag and shows the busy cursor; called from done, start runs the next step
    // of the same run, which a stop already asked for still stops. done either starts the next
    // step or calls finish.
    template <typename Work, typename Done> void start(Work work, Done done);

    // From the worker: show runs on the window's thread, unless the run it came from is over.
    void postProgress(std::function<void()> show);

    // From done: the run is over. The busy cursor goes and the window gets its commands back when
    // the command at hand returns; report follows as a command of its own, read in that state.
    void finish(std::function<void()> report);

    // The worker stops after the step at hand; the run still ends through done.
    void stop() { m_stop = true; }
    // From start to finish: the worker (or the result on its way) holds the run.
    bool busy() const { return m_busy; }
    // Busy in a way that keeps every other command waiting.
    bool holdsWindow() const { return m_busy && m_holds == Holds::Window; }
    // From start to the end of the last report.
    bool running() const { return m_busy || m_reportDue; }
    // While running the answer is no: the run is stopped, and the window closes itself after
    // the report.
    bool closeQuery();
    // The close asked during this run stopped it (the user knows; a report may say less).
    bool closeAsked() const { return m_closeWhenDone; }

    // For the owner's destructor, while the members the worker reads still exist.
    void stopAndWait();

private:
    void begin();
    // Posts handOver to the window's thread, to run as a command once the worker has returned.
    void deliver(std::function<void()> handOver);
    void leaveBusy();

    AppContext& m_context;
    BackgroundJobs& m_jobs;
    const Holds m_holds;
    StopFlag m_stop{false};
    QFuture<void> m_worker;
    // Counts the runs, so that progress of a run that is over shows nothing.
    std::atomic<quint64> m_run{0};
    bool m_busy = false;
    bool m_reportDue = false;
    bool m_closeWhenDone = false;
};

template <typename Work, typename Done> void BackgroundJob::start(Work work, Done done) {
    begin();
    m_worker = QtConcurrent::run([this, work = std::move(work), done = std::move(done)] {
        auto result = work(static_cast<const StopFlag&>(m_stop));
        deliver([done, result = std::move(result)] { done(result); });
    });
}

} // namespace pote
