#include "app/ui/recovery_commands.h"

#include "app/document_names.h"
#include "app/reporter.h"
#include "app/terminal_note.h"
#include "app/ui/app_context.h"
#include "app/ui/document_commands.h"
#include "app/ui/section_binding.h"
#include "app/ui/startup.h"
#include "core/prompter.h"
#include "core/section_store.h"
#include "editing/ui/edit_pane.h"
#include "editing/ui/pane_undo.h"
#include "settings/settings_values.h"

#include <QDir>

#include <algorithm>

namespace pote {

QString RecoveryCommands::offerText(const recovery::RecoveryHeader& header) {
    const QString name =
        header.displayName.isEmpty() ? SectionStore::newDocumentName() : header.displayName;
    QString text =
        QStringLiteral("前回、保存しないで終わっちゃったみたいにゃ。\r\n") +
        QStringLiteral("「%1」 %2 の時点にゃ。\r\n")
            .arg(name, header.takenAt.toLocalTime().toString(QStringLiteral("yyyy/MM/dd HH:mm")));
    const QString& path = header.plainTextMode ? header.textPath : header.documentPath;
    if (!path.isEmpty()) text += QDir::toNativeSeparators(path) + QStringLiteral("\r\n");
    return text + QStringLiteral("はい：元に戻すにゃん。\r\n") +
           QStringLiteral("いいえ：次に起動したときにまた聞くにゃ。\r\n") +
           QStringLiteral("捨てる：この記録を消しちゃうにゃ。");
}

QString RecoveryCommands::unprotectedText(const QString& folder, const QString& error) {
    return QStringLiteral("保存してない編集内容のコピーを置くフォルダが使えないにゃ。\r\n") +
           QDir::toNativeSeparators(folder) + QStringLiteral("\r\n") + error +
           QStringLiteral("\r\n") +
           QStringLiteral("もしものとき、保存してない編集内容は戻せないにゃ。\r\n") +
           QStringLiteral("こまめに保存してほしいにゃん。");
}

RecoveryCommands::RecoveryCommands(AppContext& context, DocumentCommands& documents,
                                   Startup& startup, RecoveryOptions options)
    : m_context(context), m_documents(documents), m_options(std::move(options)),
      m_folder(m_options.folder), m_pane(context.pane, context.binding),
      m_watch(m_options.quiet, m_options.longest),
      m_writer([this](const recovery::RecoveryWriter::Outcome& outcome) {
          QMetaObject::invokeMethod(
              this, [this, outcome] { writerFinished(outcome); }, Qt::QueuedConnection);
      }) {
    const Result<void> opened = m_folder.open();
    m_enabled = opened.ok();
    if (!m_enabled) {
        const QString error = opened.error().text;
        tellTerminal(QStringLiteral("no recovery copies: %1").arg(error));
        // Once, with the window's start: the user works without the net from here on.
        startup.setRecoveryStart([this, error] {
            m_context.reporter.refusal(unprotectedText(m_folder.folder(), error));
        });
        return;
    }
    documents.setSettledListener([this] { documentSettled(); });
    startup.setRecoveryStart([this] { offerLeftovers(); });
    m_poll.setInterval(m_options.poll);
    connect(&m_poll, &QTimer::timeout, this, &RecoveryCommands::tick);
    m_poll.start();
}

RecoveryCommands::~RecoveryCommands() {
    if (!m_enabled) return;
    m_poll.stop();
    m_writer.remove(m_folder.copyPath());
    // No report may arrive for an object that is gone.
    m_writer.waitForIdle();
}

void RecoveryCommands::documentSettled() {
    m_watch.settled();
    if (m_copyMayExist) m_writer.remove(m_folder.copyPath());
    m_copyMayExist = false;
}

void RecoveryCommands::markWritten() {
    m_watch.copied(m_context.store, m_pane.changeCount());
}

void RecoveryCommands::tick() {
    const SectionStore& store = m_context.store;
    if (!store.isModified()) {
        // Unmodified without settling: nothing unsaved is left to recover.
        if (m_copyMayExist) documentSettled();
        return;
    }
    if (m_watch.look(store, m_pane.changeCount())) takeCopy();
}

void RecoveryCommands::takeCopy() {
    m_writer.write(takeRecoverySnapshot(m_context.store, m_pane, m_context.settings.TABWidth,
                                        m_folder.copyPath()));
    markWritten();
    m_copyMayExist = true;
}

void RecoveryCommands::writerFinished(const recovery::RecoveryWriter::Outcome& outcome) {
    if (outcome.result) {
        m_reportedTrouble = false;
        return;
    }
    const QString& error = outcome.result.error().text;
    if (outcome.kind == recovery::RecoveryWriter::Outcome::Kind::Write) {
        // The work stays unsaved in no copy: try again at the next look.
        m_watch.copyFailed();
        if (error == recovery::paneCopyMismatchMessage()) m_pane.forgetStretches();
    }
    if (!m_reportedTrouble)
        tellTerminal(QStringLiteral("recovery copy %1: %2").arg(outcome.path, error));
    m_reportedTrouble = true;
}

void RecoveryCommands::offerLeftovers() {
    std::vector<recovery::Leftover> leftovers = m_folder.claimLeftovers();
    struct Offer {
        recovery::Leftover* leftover;
        recovery::RecoveryHeader header;
    };
    std::vector<Offer> offers;
    for (recovery::Leftover& leftover : leftovers) {
        const Result<recovery::HeaderRead> read = recovery::readRecoveryHeader(leftover.path());
        if (read) {
            offers.push_back({&leftover, read->header});
        } else {
            // Kept: what cannot be read now is not thrown away unseen.
            tellTerminal(QStringLiteral("recovery copy %1 not offered: %2")
                             .arg(leftover.path(), read.error().text));
            leftover.release();
        }
    }
    std::stable_sort(offers.begin(), offers.end(), [](const Offer& a, const Offer& b) {
        return a.header.takenAt < b.header.takenAt;
    });
    for (Offer& offer : offers) {
        const Answer answer = m_context.prompter.message(MessageKind::Confirmation,
                                                         Answer::Yes | Answer::Discard | Answer::No,
                                                         offerText(offer.header));
        if (answer == Answer::Yes) {
            restore(*offer.leftover);
        } else if (answer == Answer::Discard) {
            if (const Result<void> discarded = offer.leftover->discard(); !discarded)
                m_context.reporter.report(discarded.error());
        }
        offer.leftover->release();
    }
}

void RecoveryCommands::restore(recovery::Leftover& leftover) {
    SectionStore& store = m_context.store;
    m_context.binding.section_commit(store.current);
    // A copy restored before this one is the document now: its work is asked about first.
    if (!m_documents.confirm_discard()) return;
    Result<recovery::RecoveryRead> read =
        recovery::readRecoveryFile(leftover.path(), m_documents.passwordGate());
    if (!read) {
        m_context.reporter.report(read.error());
        return;
    }
    const recovery::RecoveryHeader& header = read->header;
    m_context.undo.clear();
    store.replaceDocument(std::move(read->content));
    store.current = header.currentSection;
    m_context.binding.section_load(store.current);
    store.documentPath = header.documentPath;
    store.displayName =
        header.displayName.isEmpty() ? SectionStore::newDocumentName() : header.displayName;
    if (header.plainTextMode) {
        store.enterPlainTextMode(header.textPath);
    } else {
        store.endPlainTextMode();
        store.setTextPath(header.textPath);
    }
    m_context.view.setTitle(store.documentPath.isEmpty() ? resetDocumentTitle(store.displayName)
                                                         : documentTitle(store.displayName));
    // Nothing is written over the original until the user saves.
    store.setModified(true);

    // The copy becomes this editor's own: the restored work stays safe until it is saved.
    m_writer.waitForIdle();
    if (const Result<void> moved = leftover.moveTo(m_folder.copyPath())) {
        markWritten();
        m_copyMayExist = true;
    } else {
        tellTerminal(QStringLiteral("recovery copy %1 kept where it is: %2")
                         .arg(leftover.path(), moved.error().text));
    }
}

} // namespace pote
