#include "app/ui/document_commands.h"

#include "app/document_names.h"
#include "app/file_dialog_kinds.h"
#include "app/reporter.h"
#include "app/ui/app_context.h"
#include "app/ui/section_binding.h"
#include "core/file_io.h"
#include "core/prompter.h"
#include "core/section_store.h"
#include "editing/ui/pane_undo.h"
#include "settings/recent_list.h"
#include "settings/settings_values.h"
#include "textio/free_space.h"

#include <QFileInfo>

namespace pote {

QString saveQuestionText() {
    return QStringLiteral("編集内容が、変更されてるみたいにゃ。\r") +
           QStringLiteral("保存するにゃん？");
}

DocumentCommands::DocumentCommands(AppContext& context, docfile::PasswordGate askPassword)
    : m_context(context), m_askPassword(std::move(askPassword)) {
    CommandRegistry& commands = context.commands;
    commands.registerCommand(Command::NewDocument, [this] { nx_new_paperClick(); });
    commands.registerCommand(Command::Open, [this] { nx_loadClick(); });
    commands.registerCommand(Command::QuickSave, [this] { nx_qsaveClick(); });
    commands.registerCommand(Command::SaveAs, [this] { nx_saveClick(); });
    commands.registerCommand(Command::SaveButton, [this] { sp_saveClick(); });
    for (int position = 1; position <= kRecentCount; ++position)
        commands.registerCommand(recentCommand(position),
                                 [this, position] { nx_recentClick(position); });
}

void DocumentCommands::nx_new_paperClick() {
    m_context.binding.section_commit(m_context.store.current);
    if (confirm_discard()) document_reset();
}

void DocumentCommands::nx_loadClick() {
    SectionStore& store = m_context.store;
    m_context.binding.section_commit(store.current);
    if (!confirm_discard()) return;
    const FileDialogRequest request =
        dialog_setup(DialogKind::Document, DialogDirection::Open, m_context.settings.WorkDir,
                     store.displayName, {});
    const std::optional<QString> path = m_context.prompter.openFile(request);
    if (!path) return;
    m_context.settings.WorkDir = QFileInfo(*path).absolutePath();
    document_read(*path);
}

QString DocumentCommands::askDocumentSavePath() {
    const FileDialogRequest request =
        dialog_setup(DialogKind::Document, DialogDirection::Save, m_context.settings.WorkDir,
                     m_context.store.displayName, {});
    return m_context.prompter.saveFile(request).value_or(QString());
}

void DocumentCommands::nx_saveClick() {
    const QString path = askDocumentSavePath();
    if (path.isEmpty()) return;
    if (document_write(path)) m_context.settings.WorkDir = QFileInfo(path).absolutePath();
}

void DocumentCommands::nx_qsaveClick() {
    // A document whose file was deleted or moved meanwhile is saved through the save dialog
    // rather than not at all.
    sp_saveClick();
}

void DocumentCommands::sp_saveClick() {
    const QString path = m_context.store.documentPath;
    if (!path.isEmpty() && QFileInfo(path).isFile())
        document_write(path);
    else
        nx_saveClick();
}

void DocumentCommands::nx_recentClick(int position) {
    const std::optional<QString> path = recentOpenPath(m_context.settings.recent, position);
    if (!path) return;
    // Opening replaces the document like "開く(&O)" does, so it asks the same question first.
    m_context.binding.section_commit(m_context.store.current);
    if (confirm_discard()) document_read(*path);
}

bool DocumentCommands::saveForQuestion() {
    SectionStore& store = m_context.store;
    // The text file is the document; without the text commands to write it nothing is saved.
    if (store.plainTextMode()) return m_plainTextSave && m_plainTextSave();
    if (store.documentPath.isEmpty()) {
        const QString path = askDocumentSavePath();
        return !path.isEmpty() && document_write(path);
    }
    return document_write(store.documentPath);
}

bool DocumentCommands::confirm_discard() {
    if (!m_context.store.isModified()) return true;
    const Answer answer = m_context.prompter.message(
        MessageKind::Confirmation, Answer::Yes | Answer::No | Answer::Cancel, saveQuestionText());
    if (answer == Answer::Cancel || answer == Answer::None) return false;
    // A Yes whose save did not happen (dialog cancelled, write failed) keeps the document:
    // the user asked for the work to be kept.
    if (answer == Answer::Yes) return saveForQuestion();
    return true;
}

bool DocumentCommands::formclose_query() {
    return confirm_discard();
}

void DocumentCommands::settle(const QString& absolutePath) {
    SectionStore& store = m_context.store;
    if (absolutePath.isEmpty()) {
        m_context.view.setTitle(resetDocumentTitle(store.displayName));
    } else {
        store.displayName = base_name(absolutePath);
        store.documentPath = absolutePath;
        m_context.view.setTitle(documentTitle(store.displayName));
        recent_add(m_context.settings.recent, absolutePath);
    }
    store.endPlainTextMode();
    store.setModified(false);
    if (m_settled) m_settled();
}

void DocumentCommands::document_reset() {
    m_context.undo.clear();
    m_context.store.resetToNew();
    m_context.binding.section_load(0);
    settle({});
}

bool DocumentCommands::document_read(const QString& path) {
    m_context.undo.clear();
    Result<docfile::DocumentRead> read = docfile::readDocument(path, m_askPassword);
    if (!read) {
        m_context.reporter.report(read.error());
        return false;
    }
    SectionStore& store = m_context.store;
    store.replaceDocument(std::move(read->content));
    store.current = 0;
    m_context.binding.section_load(0);
    settle(QFileInfo(path).absoluteFilePath());
    return true;
}

bool DocumentCommands::document_write(const QString& path) {
    SectionStore& store = m_context.store;
    m_context.binding.section_commit(store.current);
    // The new file is written beside the old one and replaces it only when complete: it needs
    // room for all of itself, whatever the old one takes.
    const Result<void> space =
        free_space_check(path, docfile::encodedSize(store.document()), SpaceForm::SingleFile);
    // Only an estimate: the write still goes ahead, and a real shortage fails it cleanly.
    if (!space) m_context.reporter.report(space.error());
    if (const Result<void> written = docfile::writeDocument(path, store.document()); !written) {
        m_context.reporter.report(written.error());
        return false;
    }
    settle(QFileInfo(path).absoluteFilePath());
    return true;
}

} // namespace pote
