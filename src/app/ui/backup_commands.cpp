#include "app/ui/backup_commands.h"

#include "app/reporter.h"
#include "app/ui/app_context.h"
#include "backup/backup_messages.h"
#include "backup/backup_sources.h"
#include "core/mascot_reactions.h"
#include "core/prompter.h"
#include "mascot/ui/mascot_view.h"
#include "settings/settings_values.h"

namespace pote {

namespace {

// The cat's two busy pictures take turns at this pace.
constexpr int kBusyFrameMs = 1000;

} // namespace

backup::BackupSettings backupSettingsOf(const Settings& settings) {
    backup::BackupSettings out;
    out.sourceDirs = QStringList(settings.BackupDir.begin(), settings.BackupDir.end());
    out.copyDir = settings.BackupCopyDir;
    out.extensions = settings.BackupExt;
    out.folderCopy = settings.BackupFolderCopy;
    return out;
}

BackupCommands::BackupCommands(AppContext& context, mascot::MascotView& cat, QObject* parent)
    : QObject(parent), m_context(context), m_cat(cat), m_job(context) {
    context.commands.registerCommand(Command::Backup, [this] { nx_backupClick(); });
    m_busyFrames.setInterval(kBusyFrameMs);
    connect(&m_busyFrames, &QTimer::timeout, this, [this] { m_cat.busyFrame(++m_busyFrame); });
}

BackupCommands::~BackupCommands() {
    m_job.stopAndWait();
}

void BackupCommands::nx_backupClick() {
    if (running()) return;
    Prompter& prompter = m_context.prompter;

    const backup::BackupSettings settings = backupSettingsOf(m_context.settings);
    const backup::SourceCheck check = backup::checkSources(settings);
    if (!check.ok()) {
        if (check.errorReaction) m_context.mascot.mascot_react(ReactionError);
        prompter.message(check.kind, Answer::Yes, check.message);
        finish();
        return;
    }
    // A removable disk may simply not be mounted yet: the user can plug it in and retry.
    while (!backup::destinationReachable(check.folders.destination)) {
        m_context.mascot.mascot_react(ReactionError);
        if (prompter.message(MessageKind::Confirmation, Answer::Abort | Answer::Retry,
                             backup::destinationMissingMessage()) != Answer::Retry) {
            finish();
            return;
        }
    }

    enterBusy();
    m_job.start(
        [folders = check.folders, settings](const BackgroundJob::StopFlag& stop) {
            return std::make_shared<const backup::BackupPlan>(
                backup::planBackup(folders, settings, &stop));
        },
        [this](const std::shared_ptr<const backup::BackupPlan>& plan) { scanFinished(plan); });
}

void BackupCommands::scanFinished(std::shared_ptr<const backup::BackupPlan> plan) {
    if (plan->cancelled || plan->items.empty()) {
        finishWith([this, outcome = backup::outcomeBeforeCopying(*plan)] { report(outcome); });
        return;
    }
    if (Result<void> space = backup::backupSpaceCheck(*plan); !space) {
        finishWith([this, error = space.error()] { m_context.reporter.report(error); });
        return;
    }

    // The worker only posts the text; the panel is set on the window's thread while the copy is
    // still ours to show. The observer is copied for the run: the worker never reads what the
    // window may set.
    const auto progress = [this, observer = m_observer](const backup::BackupProgress& p) {
        if (observer) observer(p);
        m_job.postProgress([this, text = backup::progressStatusText(p.done, p.total)] {
            m_statusText = text;
            m_context.view.holdStatusText(text);
        });
    };
    m_job.start(
        [plan = std::move(plan), progress](const BackgroundJob::StopFlag& stop) {
            return backup::runBackup(*plan, progress, stop);
        },
        [this](const backup::BackupOutcome& outcome) { copyFinished(outcome); });
}

void BackupCommands::copyFinished(const backup::BackupOutcome& outcome) {
    // Progress is posted only every so many files; a stopped run shows where it really stopped.
    if (outcome.cancelled)
        m_statusText = backup::progressStatusText(outcome.processed, outcome.total);
    m_statusText = backup::elapsedStatusText(m_statusText, m_clock.elapsed());
    m_context.view.holdStatusText(m_statusText);
    finishWith([this, outcome] { report(outcome); });
}

void BackupCommands::finishWith(std::function<void()> reports) {
    m_busyFrames.stop();
    m_job.finish([this, reports = std::move(reports)] {
        reports();
        finish();
    });
}

void BackupCommands::report(const backup::BackupOutcome& outcome) {
    for (const backup::BackupReport& r : backup::backupReports(outcome)) {
        if (r.reaction != 0) m_context.mascot.mascot_react(r.reaction);
        m_context.prompter.message(r.kind, Answer::Yes, r.text);
        m_context.view.releaseStatusText();
        m_context.view.status_update();
    }
}

void BackupCommands::finish() {
    m_context.view.releaseStatusText();
    m_context.view.status_update();
    m_cat.start();
    m_context.mascot.mascot_react(ReactionExercise);
}

void BackupCommands::enterBusy() {
    m_statusText = backup::scanningStatusText();
    m_context.view.holdStatusText(m_statusText);
    m_clock.start();
    m_cat.stop();
    m_busyFrame = 1; // frame 30 first
    m_cat.busyFrame(m_busyFrame);
    m_busyFrames.start();
}

} // namespace pote
