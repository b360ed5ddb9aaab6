#include "app/ui/backup_commands.h"

#include "app/reporter.h"
#include "app/ui/app_context.h"
#include "backup/backup_messages.h"
#include "backup/backup_sources.h"
#include "core/mascot_reactions.h"
#include "core/prompter.h"
#include "mascot/ui/mascot_view.h"
#include "settings/settings_values.h"

#include <QWidget>
#include <QtConcurrent/QtConcurrentRun>

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
    : QObject(parent), m_context(context), m_cat(cat) {
    context.commands.registerCommand(Command::Backup, [this] { nx_backupClick(); });
    m_busyFrames.setInterval(kBusyFrameMs);
    connect(&m_busyFrames, &QTimer::timeout, this, &BackupCommands::nextBusyFrame);
}

BackupCommands::~BackupCommands() {
    m_work.stopAndWait();
}

void BackupCommands::nx_backupClick() {
    if (running()) return;
    m_phase = Phase::Checking;
    m_work.begin();
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
    m_phase = Phase::Scanning;
    m_work.worker = QtConcurrent::run([this, folders = check.folders, settings] {
        deliver(std::make_shared<const backup::BackupPlan>(
                    backup::planBackup(folders, settings, &m_work.cancel)),
                &BackupCommands::scanFinished);
    });
}

template <typename Result>
void BackupCommands::deliver(Result result, void (BackupCommands::*handler)(Result)) {
    // Posted after every progress text of the same run, so it is handled after them.
    QMetaObject::invokeMethod(
        this,
        [this, result = std::move(result), handler] {
            m_context.commands.runAsCommand([&] { (this->*handler)(result); });
        },
        Qt::QueuedConnection);
}

void BackupCommands::scanFinished(std::shared_ptr<const backup::BackupPlan> plan) {
    if (plan->cancelled || plan->items.empty()) {
        leaveBusyThen([this, outcome = backup::outcomeBeforeCopying(*plan)] { report(outcome); });
        return;
    }
    if (Result<void> space = backup::backupSpaceCheck(*plan); !space) {
        leaveBusyThen([this, error = space.error()] { m_context.reporter.report(error); });
        return;
    }

    m_phase = Phase::Copying;
    m_work.worker.waitForFinished(); // the scan's thread is past its last step already
    // The worker only posts the text; the panel is set here, on the window's thread, and only
    // while the copy is still ours to show.
    // The observer is copied for the run: the worker never reads what the window may set.
    const auto progress = [this, observer = m_observer](const backup::BackupProgress& p) {
        if (observer) observer(p);
        QMetaObject::invokeMethod(
            this,
            [this, text = backup::progressStatusText(p.done, p.total)] {
                if (m_phase != Phase::Copying) return;
                m_statusText = text;
                m_context.view.holdStatusText(text);
            },
            Qt::QueuedConnection);
    };
    m_work.worker = QtConcurrent::run([this, plan = std::move(plan), progress] {
        deliver(backup::runBackup(*plan, progress, m_work.cancel), &BackupCommands::copyFinished);
    });
}

void BackupCommands::copyFinished(backup::BackupOutcome outcome) {
    // Progress is posted only every so many files; a stopped run shows where it really stopped.
    if (outcome.cancelled)
        m_statusText = backup::progressStatusText(outcome.processed, outcome.total);
    m_statusText = backup::elapsedStatusText(m_statusText, m_clock.elapsed());
    m_context.view.holdStatusText(m_statusText);
    leaveBusyThen([this, outcome] { report(outcome); });
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
    m_phase = Phase::Idle;
    m_context.view.releaseStatusText();
    m_context.view.status_update();
    m_cat.start();
    m_context.mascot.mascot_react(ReactionExercise);
    m_work.closeWindowIfAsked(m_context.view.dialogParent()->window());
}

void BackupCommands::enterBusy() {
    m_work.enterBusy();
    m_statusText = backup::scanningStatusText();
    m_context.view.holdStatusText(m_statusText);
    m_clock.start();
    m_cat.stop();
    m_busyFrame = 1; // frame 30 first
    m_cat.busyFrame(m_busyFrame);
    m_busyFrames.start();
}

void BackupCommands::leaveBusy() {
    if (!m_work.leaveBusy()) return;
    m_phase = Phase::Reporting;
    m_busyFrames.stop();
}

void BackupCommands::leaveBusyThen(std::function<void()> reports) {
    leaveBusy();
    // The window gives its commands back and hides the stop button when the command at hand
    // returns; the reports follow as a command of their own, so they are read in that state.
    QMetaObject::invokeMethod(
        this,
        [this, reports = std::move(reports)] {
            m_context.commands.runAsCommand([&] {
                reports();
                finish();
            });
        },
        Qt::QueuedConnection);
}

void BackupCommands::nextBusyFrame() {
    m_cat.busyFrame(++m_busyFrame);
}

} // namespace pote
