#include "app/ui/linked_text_commands.h"

#include "app/document_names.h"
#include "app/file_dialog_kinds.h"
#include "app/reporter.h"
#include "app/ui/app_context.h"
#include "app/ui/document_commands.h"
#include "app/ui/section_binding.h"
#include "app/ui/utf8_question.h"
#include "core/export_target.h"
#include "core/prompter.h"
#include "core/section_store.h"
#include "settings/settings_values.h"
#include "textio/linked_text.h"
#include "textio/text_messages.h"

#include <QFileInfo>

namespace pote {

LinkedTextCommands::LinkedTextCommands(AppContext& context, DocumentCommands& documents)
    : m_context(context), m_documents(documents) {
    context.commands.registerCommand(Command::LinkedSave, [this] { nx_marge_text_save1Click(); });
    context.commands.registerCommand(Command::LinkedLoad, [this] { nx_marge_convClick(); });
}

void LinkedTextCommands::nx_marge_text_save1Click() {
    SectionStore& store = m_context.store;
    m_context.binding.section_commit(store.current);
    // Read back, the file would split at every "*section" inside a name or a text, and end at
    // the first NUL.
    if (!confirmSections(sections_holding_mark(store.document()), textmsg::headerInsideSections) ||
        !confirmSections(sections_holding_nul(store.document()), textmsg::nulInsideSections))
        return;
    const FileDialogRequest request =
        dialog_setup(DialogKind::LinkedText, DialogDirection::Save, m_context.settings.WorkDir,
                     store.displayName, {});
    const std::optional<QString> path = m_context.prompter.saveFile(request);
    if (!path) return;
    if (const Result<void> target = exportTargetCheck(*path, store.documentPath); !target) {
        m_context.reporter.report(target.error());
        return;
    }
    if (const Result<void> written = pote::linked_text_write(*path, store.document()); !written) {
        m_context.reporter.report(written.error());
        return;
    }
    m_context.settings.WorkDir = QFileInfo(*path).absolutePath();
}

bool LinkedTextCommands::confirmSections(std::vector<int> positions,
                                         QString (*question)(const std::vector<int>&)) {
    if (positions.empty()) return true;
    for (int& n : positions)
        ++n;
    return m_context.prompter.message(MessageKind::Confirmation, Answer::Yes | Answer::No,
                                      question(positions)) == Answer::Yes;
}

void LinkedTextCommands::nx_marge_convClick() {
    SectionStore& store = m_context.store;
    m_context.binding.section_commit(store.current);
    if (!m_documents.confirm_discard()) return;
    const FileDialogRequest request =
        dialog_setup(DialogKind::LinkedText, DialogDirection::Open, m_context.settings.WorkDir,
                     store.displayName, {});
    const std::optional<QString> path = m_context.prompter.openFile(request);
    if (!path) return;
    m_context.settings.WorkDir = QFileInfo(*path).absolutePath();
    linked_text_read(*path);
}

bool LinkedTextCommands::linked_text_read(const QString& path) {
    Utf8Choice utf8 = utf8ChoiceAsking(m_context.prompter);
    Result<LinkedTextRead> read = pote::linked_text_read(path, utf8);
    if (!read) {
        m_context.reporter.report(read.error());
        return false;
    }
    // A new document, never saved, named after the file.
    m_documents.document_reset();
    SectionStore& store = m_context.store;
    store.replaceDocument(std::move(read->content));
    store.current = 0;
    m_context.binding.section_load(0);
    store.displayName = base_name(path);
    m_context.view.setTitle(documentTitle(store.displayName));
    store.endPlainTextMode();
    store.setModified(false);
    reportUtf8Losses(m_context.prompter, utf8);
    return true;
}

} // namespace pote
