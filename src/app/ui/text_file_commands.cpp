#include "app/ui/text_file_commands.h"

#include "app/document_names.h"
#include "app/file_dialog_kinds.h"
#include "app/reporter.h"
#include "app/ui/app_context.h"
#include "app/ui/busy_cursor.h"
#include "app/ui/document_commands.h"
#include "app/ui/section_binding.h"
#include "app/ui/section_commands.h"
#include "app/ui/utf8_question.h"
#include "core/cp932.h"
#include "core/export_target.h"
#include "core/prompter.h"
#include "core/section_store.h"
#include "editing/ui/edit_pane.h"
#include "editing/ui/pane_undo.h"
#include "settings/settings_values.h"
#include "textio/free_space.h"
#include "textio/text_files.h"
#include "textio/text_folder.h"
#include "textio/text_messages.h"
#include "textio/ui/rewrite_fm.h"

#include <QFileInfo>

namespace pote {

namespace {

QString folderOf(const QString& path) {
    return QFileInfo(path).absolutePath();
}

// A folder as the chooser gave it, without one trailing separator.
QString withoutTrailingSeparator(QString folder) {
    if (folder.size() > 1 && folder.endsWith(u'/')) folder.chop(1);
    return folder;
}

// Writes the pane's text to path as a text file with CR LF line ends; a failure is reported.
bool pane_save_as_text(AppContext& context, const QString& path) {
    SectionStore& store = context.store;
    if (const Result<void> target = exportTargetCheck(path, store.documentPath); !target) {
        context.reporter.report(target.error());
        return false;
    }
    // The committed bytes, not the pane re-encoded: characters the user did not touch are
    // written exactly as they were read.
    context.binding.section_commit(store.current);
    const QByteArray& stored = store.section(store.current).text;
    const Result<void> written =
        crlf_breaks_only(stored)
            ? write_text_file(path, stored)
            : write_text_file(path, cp932::encodeFromPane(context.pane.toPlainText()));
    if (!written) context.reporter.report(written.error());
    return written.ok();
}

} // namespace

TextFileCommands::TextFileCommands(AppContext& context, SectionCommands& sections,
                                   DocumentCommands& documents)
    : m_context(context), m_sections(sections), m_documents(documents) {
    documents.setPlainTextSave([this] { return saveInPlace(); });
    CommandRegistry& commands = context.commands;
    commands.registerCommand(Command::TextLoad, [this] { nx_actext_loadClick(); });
    commands.registerCommand(Command::TextAddLoad, [this] { nx_addtext_loadClick(); });
    commands.registerCommand(Command::TextSave, [this] { nx_actext_saveClick(); });
    commands.registerCommand(Command::TextSaveButton, [this] { sp_text_saveClick(); });
    commands.registerCommand(Command::FolderAdd, [this] { nx_folder_text_addClick(); });
    commands.registerCommand(Command::FolderSave, [this] { nx_alltext_save1Click(); });
}

bool TextFileCommands::load_text_into_current(const QString& path, Utf8Choice& utf8) {
    Result<TextFileRead> read = text_for_pane(path, m_context.settings.TABWidth, utf8);
    if (!read) {
        m_context.reporter.report(read.error());
        return false;
    }
    noteEncoding(path, read->fromUtf8);
    putIntoCurrent(path, std::move(read->text));
    return true;
}

void TextFileCommands::noteEncoding(const QString& path, bool fromUtf8) {
    const QString file = QFileInfo(path).absoluteFilePath();
    if (fromUtf8)
        m_utf8Files.insert(file);
    else
        m_utf8Files.remove(file);
}

void TextFileCommands::putIntoCurrent(const QString& path, QByteArray text) {
    SectionStore& store = m_context.store;
    m_context.undo.clear();
    // The file's bytes go to the section as they are, and the pane shows them as a loaded
    // section: a later commit of an untouched pane keeps every byte of the file. Unlike a
    // section switch it is a change of the document.
    Section& section = store.section(store.current);
    section.text = std::move(text);
    section.name = cp932::encode(base_name(path));
    store.reserved(store.current).r2 = 0;
    m_context.binding.section_load(store.current);
    store.setModified(true);
}

void TextFileCommands::ownTextPath(const QString& path) {
    SectionStore& store = m_context.store;
    store.setTextPath(path);
    m_textPathPosition = store.current;
    m_textPathName = store.section(store.current).name;
}

void TextFileCommands::enterPlainTextMode(const QString& path) {
    SectionStore& store = m_context.store;
    enter_plain_text_mode(store, path, base_name(path));
    m_context.view.setTitle(documentTitle(store.displayName));
    m_context.view.status_update();
}

void TextFileCommands::readyForTextDocument(bool asDocument) {
    if (asDocument && !opens_plain_text_mode(m_context.store)) m_documents.document_reset();
}

void TextFileCommands::nx_actext_loadClick() {
    SectionStore& store = m_context.store;
    const bool asDocument = opens_plain_text_mode(store);
    // The text replaces the section's, which may be unsaved work found nowhere else.
    m_context.binding.section_commit(store.current);
    if (!m_documents.confirm_discard()) return;
    const FileDialogRequest request = dialog_setup(
        DialogKind::Text, DialogDirection::Open, m_context.settings.WorkDir, store.displayName, {});
    const std::optional<QString> path = m_context.prompter.openFile(request);
    if (!path) return;
    m_context.settings.WorkDir = folderOf(*path);
    readyForTextDocument(asDocument);
    Utf8Choice utf8 = utf8ChoiceAsking(m_context.prompter);
    if (!load_text_into_current(*path, utf8)) return;
    ownTextPath(*path);
    if (opens_plain_text_mode(store)) enterPlainTextMode(*path);
    reportUtf8Losses(m_context.prompter, utf8);
}

void TextFileCommands::nx_addtext_loadClick() {
    SectionStore& store = m_context.store;
    // A full document has no room: without this the text would replace the current section.
    if (store.isFull()) return;
    const FileDialogRequest request = dialog_setup(
        DialogKind::Text, DialogDirection::Open, m_context.settings.WorkDir, store.displayName, {});
    const std::optional<QString> path = m_context.prompter.openFile(request);
    if (!path) return;
    // The work folder stays where the dialog opened, not where the file was found.
    m_context.settings.WorkDir = request.directory;
    // Read first, so that a file that cannot be read leaves no empty section behind.
    Utf8Choice utf8 = utf8ChoiceAsking(m_context.prompter);
    Result<TextFileRead> read = text_for_pane(*path, m_context.settings.TABWidth, utf8);
    if (!read) {
        m_context.reporter.report(read.error());
        return;
    }
    if (!m_sections.section_append()) return;
    noteEncoding(*path, read->fromUtf8);
    putIntoCurrent(*path, std::move(read->text));
    reportUtf8Losses(m_context.prompter, utf8);
}

bool TextFileCommands::mayWriteInPlace() const {
    const SectionStore& store = m_context.store;
    if (store.textPath().isEmpty()) return false;
    return store.plainTextMode() || (m_textPathPosition == store.current &&
                                     m_textPathName == store.section(store.current).name);
}

void TextFileCommands::saveCurrentAsText(bool rememberPath) {
    if (mayWriteInPlace()) {
        saveInPlace();
        return;
    }
    const std::optional<QString> path = askTextSavePath();
    if (!path) return;
    const std::optional<QString> written = writeText(*path);
    if (written && rememberPath) ownTextPath(*written);
}

bool TextFileCommands::saveInPlace() {
    SectionStore& store = m_context.store;
    const QString textPath = store.textPath();
    const std::optional<QString> written = writeText(textPath);
    if (!written) return false;
    if (store.plainTextMode()) {
        // Only in plain-text mode is the text file the whole document; otherwise the other
        // sections' changes still wait to be saved. Saved elsewhere, the document is that file.
        if (*written == textPath)
            store.setModified(false);
        else
            enterPlainTextMode(*written);
    } else if (*written != textPath) {
        ownTextPath(*written);
    }
    return true;
}

std::optional<QString> TextFileCommands::askTextSavePath() {
    const SectionStore& store = m_context.store;
    const FileDialogRequest request =
        dialog_setup(DialogKind::Text, DialogDirection::Save, m_context.settings.WorkDir,
                     store.displayName, cp932::decode(store.section(store.current).name));
    const std::optional<QString> path = m_context.prompter.saveFile(request);
    if (path) m_context.settings.WorkDir = folderOf(*path);
    return path;
}

std::optional<QString> TextFileCommands::writeText(const QString& path) {
    QString target = path;
    while (m_utf8Files.contains(QFileInfo(target).absoluteFilePath())) {
        const Answer answer = m_context.prompter.message(
            MessageKind::Confirmation, Answer::Yes | Answer::No | Answer::Cancel,
            textmsg::utf8OverwriteQuestion(QFileInfo(target).fileName()));
        if (answer == Answer::Yes) break;
        if (answer != Answer::No) return std::nullopt;
        const std::optional<QString> chosen = askTextSavePath();
        if (!chosen) return std::nullopt;
        target = *chosen;
    }
    if (!pane_save_as_text(m_context, target)) return std::nullopt;
    noteEncoding(target, false);
    return target;
}

void TextFileCommands::nx_actext_saveClick() {
    saveCurrentAsText(false);
}

void TextFileCommands::sp_text_saveClick() {
    saveCurrentAsText(true);
}

void TextFileCommands::nx_folder_text_addClick() {
    SectionStore& store = m_context.store;
    const std::optional<QString> chosen = m_context.prompter.chooseFolder(
        textmsg::folderChooserCaption(), m_context.settings.WorkDir, true);
    if (!chosen) return;
    const QString folder = withoutTrailingSeparator(*chosen);
    m_context.undo.clear();
    m_context.binding.section_commit(store.current);

    Utf8Choice utf8 = utf8ChoiceAsking(m_context.prompter);
    Result<TextFolderRead> read = [&] {
        BusyCursor busy;
        return read_text_folder(folder, store.count(), utf8);
    }();
    if (!read) {
        m_context.reporter.report(read.error());
        return;
    }
    if (read->texts.empty()) {
        m_context.prompter.message(MessageKind::Information, Answer::Yes, textmsg::noTextFiles());
    } else {
        BusyCursor busy;
        for (ImportedText& text : read->texts) {
            text.name = cp932::encode(base_name(text.path));
            noteEncoding(text.path, text.fromUtf8);
        }
        m_sections.leavePlainTextMode();
        append_texts(store, std::move(read->texts));
        m_context.binding.section_load(store.current);
    }
    if (!read->skipped.isEmpty())
        m_context.prompter.message(MessageKind::Warning, Answer::Ok,
                                   textmsg::skippedFolderEntries(read->skipped));
    reportUtf8Losses(m_context.prompter, utf8);
}

void TextFileCommands::nx_alltext_save1Click() {
    SectionStore& store = m_context.store;
    m_context.binding.section_commit(store.current);
    const std::optional<QString> chosen = m_context.prompter.chooseFolder(
        textmsg::folderChooserCaption(), m_context.settings.WorkDir, true);
    if (!chosen) return;
    m_context.settings.WorkDir = *chosen;
    const QString folder = withoutTrailingSeparator(*chosen);

    const FolderSavePlan plan = plan_folder_save(folder, store.document(), store.displayName);
    if (const Result<void> target = folderTargetCheck(plan, store.documentPath); !target) {
        m_context.reporter.report(target.error());
        return;
    }
    if (Result<void> space = free_space_check(folder, plan.bytesNeeded, SpaceForm::Total); !space) {
        m_context.reporter.report(space.error());
        return;
    }
    FolderSaveResult result;
    {
        BusyCursor busy;
        result = save_sections_to_folder(plan, store.document(), [this](const QString& fileName) {
            NormalCursor normal;
            Trewrite_fm dialog(fileName, m_context.view.dialogParent());
            m_context.view.runModal(dialog);
            return dialog.answer();
        });
    }
    if (!result.ok()) {
        const Error& failed = result.result.error();
        m_context.reporter.refusal(textmsg::folderSaveFailed(QFileInfo(failed.path).fileName(),
                                                             failed.text, result.written));
    }
}

} // namespace pote
