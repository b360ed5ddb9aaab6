#include "app/ui/background_job.h"

#include "app/ui/app_context.h"

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <algorithm>

namespace pote {

bool BackgroundJobs::anyBusy() const {
    return std::any_of(m_jobs.begin(), m_jobs.end(),
                       [](const BackgroundJob* j) { return j->holdsWindow(); });
}

void BackgroundJobs::stopAll() {
    for (BackgroundJob* job : m_jobs)
        job->stop();
}

bool BackgroundJobs::closeQuery() {
    bool agreed = true;
    for (BackgroundJob* job : m_jobs)
        agreed = job->closeQuery() && agreed; // every running job hears it
    return agreed;
}

BackgroundJob::BackgroundJob(AppContext& context, QObject* parent, Holds holds)
    : QObject(parent), m_context(context), m_jobs(context.jobs), m_holds(holds) {
    m_jobs.m_jobs.push_back(this);
}

BackgroundJob::~BackgroundJob() {
    stopAndWait();
    std::erase(m_jobs.m_jobs, this);
}

void BackgroundJob::begin() {
    ++m_run;
    if (m_busy) return; // the next step of the same run: a stop asked for still holds
    m_stop = false;
    m_busy = true;
    m_closeWhenDone = false;
    // The arrow with the busy sign: the window still takes clicks, for "中止".
    if (m_holds == Holds::Window) QApplication::setOverrideCursor(Qt::BusyCursor);
}

void BackgroundJob::postProgress(std::function<void()> show) {
    QMetaObject::invokeMethod(
        this,
        [this, run = m_run.load(), show = std::move(show)] {
            if (m_busy && run == m_run) show();
        },
        Qt::QueuedConnection);
}

void BackgroundJob::deliver(std::function<void()> handOver) {
    // Posted after every progress of the run, so handled after them.
    QMetaObject::invokeMethod(
        this,
        [this, handOver = std::move(handOver)] {
            m_worker.waitForFinished(); // past its last step already
            m_context.commands.runAsCommand(handOver);
        },
        Qt::QueuedConnection);
}

void BackgroundJob::leaveBusy() {
    if (!m_busy) return;
    m_busy = false;
    ++m_run;
    if (m_holds == Holds::Window) QApplication::restoreOverrideCursor();
}

void BackgroundJob::finish(std::function<void()> report) {
    leaveBusy();
    m_reportDue = true;
    QMetaObject::invokeMethod(
        this,
        [this, report = std::move(report)] {
            m_context.commands.runAsCommand([&] {
                report();
                m_reportDue = false;
                if (!m_closeWhenDone) return;
                m_closeWhenDone = false;
                // After this command has returned, so that the close asks its own questions.
                QTimer::singleShot(0, m_context.view.dialogParent()->window(), &QWidget::close);
            });
        },
        Qt::QueuedConnection);
}

bool BackgroundJob::closeQuery() {
    if (!running()) return true;
    m_stop = true;
    m_closeWhenDone = true;
    return false;
}

void BackgroundJob::stopAndWait() {
    m_stop = true;
    m_worker.waitForFinished();
    leaveBusy();
}

} // namespace pote
