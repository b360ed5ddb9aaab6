#include "backup/backup_runner.h"

#include "backup/backup_messages.h"
#include "core/mascot_reactions.h"

#include <QElapsedTimer>
#include <QFile>

#include <algorithm>

namespace pote::backup {

namespace {

// Counts files since the last report: one report per 51 files and one at the last, plus one
// whenever a report is overdue by time.
class ProgressPacer {
public:
    explicit ProgressPacer(qint64 intervalMs) : m_intervalMs(intervalMs) { m_clock.start(); }

    bool due(qint64 done, qint64 total) {
        ++m_sinceReport;
        if (m_sinceReport > 50 || done == total || m_clock.elapsed() >= m_intervalMs) {
            m_sinceReport = 0;
            m_clock.restart();
            return true;
        }
        return false;
    }

private:
    qint64 m_intervalMs;
    int m_sinceReport = 0;
    QElapsedTimer m_clock;
};

} // namespace

BackupOutcome outcomeBeforeCopying(const BackupPlan& plan) {
    BackupOutcome outcome;
    outcome.total = static_cast<qint64>(plan.items.size());
    outcome.dropped = plan.dropped;
    outcome.failures = plan.failures;
    outcome.cancelled = plan.cancelled;
    return outcome;
}

BackupOutcome runBackup(const BackupPlan& plan, const ProgressCallback& progress,
                        const std::atomic<bool>& cancel, const RunOptions& options) {
    BackupOutcome outcome = outcomeBeforeCopying(plan);
    if (plan.cancelled) return outcome;

    // Temporaries a killed run left are cleared from each folder this run copies into; those
    // made from now on may be another run's at work.
    CopyOptions copyOptions = options.copy;
    if (!copyOptions.staleBefore) copyOptions.staleBefore = fileSystemNow();
    CopyBatch batch(copyOptions);
    QElapsedTimer batchClock;
    std::vector<std::pair<qint64, BackupFailure>> copyFailures;
    const auto failed = [&](qint64 index, const QString& reason) {
        copyFailures.emplace_back(index,
                                  BackupFailure{plan.items[size_t(index)].displayPath(), reason});
    };
    qint64 lastAttempt = -1;
    bool lastAttemptOk = true;
    const auto commit = [&] {
        const std::vector<CopyBatch::Failure> failures = batch.commit();
        outcome.copied -= static_cast<qint64>(failures.size());
        for (const CopyBatch::Failure& failure : failures) {
            failed(failure.tag, failure.error);
            if (failure.tag == lastAttempt) lastAttemptOk = false;
        }
    };

    ProgressPacer pacer(options.progressMs);
    const qint64 total = outcome.total;
    qint64 index = 0;
    for (; index < total; ++index) {
        if (cancel.load(std::memory_order_relaxed)) {
            outcome.cancelled = true;
            break;
        }
        const BackupItem& item = plan.items[size_t(index)];
        if (item.needsCopy) {
            lastAttempt = index;
            const Result<void> staged = batch.stage(item.source, item.target, index);
            lastAttemptOk = staged.ok();
            if (lastAttemptOk) {
                // Counted now, taken back if the commit fails.
                ++outcome.copied;
                if (batch.pendingCount() == 1) batchClock.start();
            } else {
                failed(index, staged.error().text);
            }
            if (batch.pendingCount() >= options.batchFiles ||
                batch.pendingBytes() >= options.batchBytes ||
                (batch.pendingCount() > 0 && batchClock.elapsed() >= options.batchMs))
                commit();
        }
        if (progress && pacer.due(index + 1, total))
            progress(BackupProgress{index + 1, total, item.displayPath()});
    }
    commit();
    outcome.processed = index;
    outcome.lastCopyOk = lastAttemptOk;
    std::stable_sort(copyFailures.begin(), copyFailures.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    for (auto& failure : copyFailures)
        outcome.failures.append(std::move(failure.second));
    return outcome;
}

Result<void> backupSpaceCheck(const BackupPlan& plan) {
    return free_space_check(QFile::decodeName(plan.destination), plan.neededBytes,
                            SpaceForm::Total);
}

QList<BackupReport> backupReports(const BackupOutcome& outcome) {
    QList<BackupReport> reports;
    if (outcome.cancelled)
        reports.append({MessageKind::Information, cancelledMessage(outcome.copied), 0});
    else if (outcome.total == 0)
        reports.append({MessageKind::Information, nothingFoundMessage(), 0});
    else if (outcome.lastCopyOk)
        reports.append(
            {MessageKind::Information, completionMessage(outcome.total, outcome.dropped), 0});
    if (!outcome.failures.isEmpty())
        reports.append({MessageKind::Error,
                        failureMessage(outcome.failures.size(), outcome.failures.last().path),
                        ReactionNotFound});
    return reports;
}

} // namespace pote::backup
