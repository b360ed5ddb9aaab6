#pragma once
// The copying part of a backup, meant to run off the user-interface thread (QtConcurrent::run
// or a QThread): it reports its progress through a callback and stops, after the file at hand,
// when asked to. What the user is told at the end comes from backupReports.

#include "backup/backup_plan.h"
#include "backup/file_copy.h"
#include "core/prompter.h"
#include "textio/free_space.h"

#include <QList>
#include <QString>

#include <atomic>
#include <functional>

namespace pote::backup {

struct BackupProgress {
    qint64 done = 0; // files looked at so far, 1 to total
    qint64 total = 0;
    QString currentFile; // the source just looked at
};
// Called on the running thread; a window hands the values to its own thread.
using ProgressCallback = std::function<void(const BackupProgress&)>;

struct BackupOutcome {
    qint64 total = 0;     // files in the plan, copied or already up to date
    qint64 processed = 0; // files looked at: total unless cancelled
    qint64 copied = 0;
    qint64 dropped = 0;            // same-named files left out of a flat backup
    QList<BackupFailure> failures; // the scan's, then the copies' in list order
    bool lastCopyOk = true;        // the last copy attempted succeeded, or none was needed
    bool cancelled = false;
};

struct RunOptions {
    CopyOptions copy;
    // A batch of copies is written through to the disk and renamed into place when it holds
    // this many files or bytes, or has been open this long. Each batch waits once for the
    // disk; bigger batches wait less in all, and a crash costs at most one batch's work
    // (left as hidden temporary files).
    qsizetype batchFiles = 8192;
    qint64 batchBytes = qint64(256) << 20;
    qint64 batchMs = 3000;
    // Progress is reported after every 51st file and at the last, and besides at most this
    // often while large files are copied.
    qint64 progressMs = 250;
};

// The outcome of a plan before any copy: what a cancelled or empty scan reports.
BackupOutcome outcomeBeforeCopying(const BackupPlan& plan);

// Copies every item that needs it, in order. A failing copy is counted and the run goes on.
// Hidden temporaries that a killed run left in a folder copied into are removed.
// When cancel is set the run stops after the file at hand; the copies made so far are kept.
BackupOutcome runBackup(const BackupPlan& plan, const ProgressCallback& progress,
                        const std::atomic<bool>& cancel, const RunOptions& options = {});

// The total-form free-space check of the destination for the plan's needed bytes.
Result<void> backupSpaceCheck(const BackupPlan& plan);

// A message box to show at the end, in order; reaction is the cat's reaction to raise just
// before it, 0 for none.
struct BackupReport {
    MessageKind kind = MessageKind::Information;
    QString text;
    int reaction = 0;
};
// Nothing found, or cancelled, or completed (only when the last copy attempted succeeded);
// then the failures, if any.
QList<BackupReport> backupReports(const BackupOutcome& outcome);

} // namespace pote::backup
