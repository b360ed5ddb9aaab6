#include "app/ui/document_commands.h"

#include "app/document_names.h"
#include "app/file_dialog_kinds.h"
#include "app/ui/document_host.h"
#include "app/ui/section_binding.h"
#include "core/document_file.h"
#include "core/mascot_reactions.h"
#include "core/prompter.h"
#include "core/section_store.h"
#include "textio/free_space.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

namespace pote {

QString saveQuestionText() {
    return QStringLiteral("編集内容が、変更されてるみたいにゃ。\r") + QStringLiteral("保存するにゃん？");
}

void DocumentCommands::reportFileError(const QString& path, const QString& error) {
    m_host.mascot().mascot_react(ReactionError);
    m_host.prompter().message(MessageKind::Error, Answer::Ok,
                              QDir::toNativeSeparators(path) + QStringLiteral("\r\n") + error);
}

void DocumentCommands::nx_new_paperClick() {
    SectionStore& store = m_host.store();
    m_host.binding().section_commit(store.current);
    if (confirm_discard())
        document_reset();
}

void DocumentCommands::nx_loadClick() {
    SectionStore& store = m_host.store();
    m_host.binding().section_commit(store.current);
    if (!confirm_discard())
        return;
    const FileDialogRequest request = dialog_setup(DialogKind::Document, DialogDirection::Open,
                                             m_host.workFolder(), store.displayName, {});
    const std::optional<QString> path = m_host.prompter().openFile(request);
    if (!path)
        return;
    m_host.setWorkFolder(QFileInfo(*path).absolutePath());
    document_read(*path);
}

QString DocumentCommands::askDocumentSavePath() {
    const SectionStore& store = m_host.store();
    const FileDialogRequest request = dialog_setup(DialogKind::Document, DialogDirection::Save,
                                             m_host.workFolder(), store.displayName, {});
    return m_host.prompter().saveFile(request).value_or(QString());
}

void DocumentCommands::nx_saveClick() {
    const QString path = askDocumentSavePath();
    if (path.isEmpty())
        return;
    if (document_write(path))
        m_host.setWorkFolder(QFileInfo(path).absolutePath());
}

void DocumentCommands::nx_qsaveClick() {
    const QString path = m_host.store().documentPath;
    if (!path.isEmpty() && QFileInfo(path).isFile())
        document_write(path);
}

void DocumentCommands::sp_saveClick() {
    const QString path = m_host.store().documentPath;
    if (!path.isEmpty() && QFileInfo(path).isFile())
        document_write(path);
    else
        nx_saveClick();
}

bool DocumentCommands::saveForQuestion() {
    SectionStore& store = m_host.store();
    if (store.plainTextMode) {
        // The text-file writer arrives with text import and export; until then the pane is
        // written the same way it will be: the section's bytes with CR LF line ends.
        m_host.binding().section_commit(store.current);
        QSaveFile file(store.textPath);
        const QByteArray bytes = store.section(store.current).text;
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
            reportFileError(store.textPath, file.errorString());
            return false;
        }
        store.modified = false;
        m_host.tool_state_refresh();
        return true;
    }
    if (store.documentPath.isEmpty()) {
        const QString path = askDocumentSavePath();
        return !path.isEmpty() && document_write(path);
    }
    return document_write(store.documentPath);
}

bool DocumentCommands::confirm_discard() {
    if (!m_host.store().modified)
        return true;
    const Answer answer = m_host.prompter().message(
        MessageKind::Confirmation, Answer::Yes | Answer::No | Answer::Cancel, saveQuestionText());
    if (answer == Answer::Cancel || answer == Answer::None)
        return false;
    // A Yes whose save did not happen (dialog cancelled, write failed) keeps the document:
    // the user asked for the work to be kept.
    if (answer == Answer::Yes)
        return saveForQuestion();
    return true;
}

bool DocumentCommands::formclose_query() { return confirm_discard(); }

void DocumentCommands::document_reset() {
    SectionStore& store = m_host.store();
    m_host.undo_clear();
    store.resetToNew();
    m_host.setTitle(resetDocumentTitle(store.displayName));
    m_host.binding().section_load(0);
    m_host.password_indicator_refresh();
    store.modified = false;
    store.endPlainTextMode();
    m_host.tool_state_refresh();
}

bool DocumentCommands::document_read(const QString& path) {
    m_host.undo_clear();
    SectionStore& store = m_host.store();
    docfile::ReadResult result = docfile::readDocument(
        path, [this](const QByteArray& candidate) { return m_host.askDocumentPassword(candidate); });
    switch (result.status) {
    case docfile::ReadResult::Status::Cancelled:
        return false;
    case docfile::ReadResult::Status::IoError:
        reportFileError(path, result.message);
        return false;
    case docfile::ReadResult::Status::Refused:
        m_host.mascot().mascot_react(ReactionError);
        m_host.prompter().message(MessageKind::Error, Answer::Yes, result.message);
        return false;
    case docfile::ReadResult::Status::Ok:
        break;
    }
    store.replaceDocument(std::move(result.content));
    const QString absolute = QFileInfo(path).absoluteFilePath();
    store.current = 0;
    m_host.binding().section_load(0);
    store.displayName = base_name(absolute);
    m_host.setTitle(documentTitle(store.displayName));
    store.documentPath = absolute;
    store.endPlainTextMode();
    m_host.recent_add(absolute);
    store.modified = false;
    m_host.password_indicator_refresh();
    m_host.tool_state_refresh();
    return true;
}

bool DocumentCommands::document_write(const QString& path) {
    SectionStore& store = m_host.store();
    m_host.binding().section_commit(store.current);
    const QFileInfo existing(path);
    const qint64 needed =
        qMax<qint64>(0, docfile::encodedSize(store) - (existing.isFile() ? existing.size() : 0));
    const SpaceCheck space = free_space_check(path, needed, SpaceForm::SingleFile);
    if (!space.ok) {
        // Only an estimate: the write still goes ahead, and a real shortage fails it cleanly.
        m_host.mascot().mascot_react(ReactionError);
        m_host.prompter().message(MessageKind::Error, Answer::Yes, space.message);
    }
    const docfile::WriteResult written = docfile::writeDocument(path, store);
    if (!written.ok) {
        reportFileError(path, written.error);
        return false;
    }
    const QString absolute = QFileInfo(path).absoluteFilePath();
    store.modified = false;
    m_host.recent_add(absolute);
    store.displayName = base_name(absolute);
    m_host.setTitle(documentTitle(store.displayName));
    store.documentPath = absolute;
    store.endPlainTextMode();
    m_host.tool_state_refresh();
    return true;
}

} // namespace pote
