#include "app/ui/insert_commands.h"

#include "app/file_dialog_kinds.h"
#include "app/reporter.h"
#include "app/ui/app_context.h"
#include "app/ui/busy_cursor.h"
#include "app/ui/pane_insertion.h"
#include "core/cp932.h"
#include "core/prompter.h"
#include "settings/settings_values.h"

#include <QDate>
#include <QFileInfo>
#include <QTime>

namespace pote {

namespace {

QString fileListFolderCaption() {
    return QStringLiteral("ファイルリストで参照するフォルダを選択）");
}

QString fileGoneMessage() {
    return QStringLiteral("このファイルは、もう見つからないにゃ。");
}

} // namespace

InsertCommands::InsertCommands(AppContext& context) : m_context(context) {
    CommandRegistry& commands = context.commands;
    commands.registerCommand(Command::InsertBreakLine, [this] { nx_breakline_insClick(); });
    commands.registerCommand(Command::InsertDate, [this] { N15Click(); });
    commands.registerCommand(Command::InsertTime, [this] { nx_time_insClick(); });
    commands.registerCommand(Command::InsertFileNameOnly, [this] { nx_fnameonly_insClick(); });
    commands.registerCommand(Command::InsertFileNameFull, [this] { nx_fnamefull_insClick(); });
    commands.registerCommand(Command::InsertSizeByte, [this] { fileSizeClick(SizeUnit::Byte); });
    commands.registerCommand(Command::InsertSizeKbyte, [this] { fileSizeClick(SizeUnit::Kbyte); });
    commands.registerCommand(Command::InsertSizeMbyte, [this] { fileSizeClick(SizeUnit::Mbyte); });
    commands.registerCommand(Command::InsertList0, [this] { fileListClick(SizeUnit::None); });
    commands.registerCommand(Command::InsertList1, [this] { fileListClick(SizeUnit::Byte); });
    commands.registerCommand(Command::InsertList2, [this] { fileListClick(SizeUnit::Kbyte); });
    commands.registerCommand(Command::InsertList3, [this] { fileListClick(SizeUnit::Mbyte); });
    commands.registerCommand(Command::InsertMail, [this] { nx_mail_insClick(); });
    commands.registerCommand(Command::InsertHomePage, [this] { nx_hp_insClick(); });
    commands.registerCommand(Command::InsertFixedText, [this] { nx_def_text1_insClick(); });
}

void InsertCommands::nx_breakline_insClick() {
    const Settings& s = m_context.settings;
    insertAtCaret(m_context, separator_line(s.BreakLineWidth, cp932::encode(s.BreakLineString)));
}

void InsertCommands::N15Click() {
    if (selectionEmpty(m_context.pane)) insertAtCaret(m_context, date_text(QDate::currentDate()));
}

void InsertCommands::nx_time_insClick() {
    if (selectionEmpty(m_context.pane)) insertAtCaret(m_context, time_text(QTime::currentTime()));
}

QString InsertCommands::chooseFile(DialogKind kind) {
    const FileDialogRequest request =
        dialog_setup(kind, DialogDirection::Open, m_context.settings.WorkDir, {}, {});
    const std::optional<QString> path = m_context.prompter.openFile(request);
    if (!path || path->isEmpty()) return {};
    m_context.settings.WorkDir = QFileInfo(*path).absolutePath();
    return *path;
}

void InsertCommands::fileNameClick(NameForm form) {
    const QString path = chooseFile(DialogKind::InsertFileName);
    if (path.isEmpty() || !selectionEmpty(m_context.pane)) return;
    insertAtCaret(m_context,
                  form == NameForm::NameOnly ? file_name_text(path) : full_path_text(path));
}

void InsertCommands::nx_fnameonly_insClick() {
    fileNameClick(NameForm::NameOnly);
}

void InsertCommands::nx_fnamefull_insClick() {
    fileNameClick(NameForm::FullPath);
}

void InsertCommands::fileSizeClick(SizeUnit unit) {
    const QString path = chooseFile(DialogKind::InsertFileSize);
    if (path.isEmpty()) return;
    const QFileInfo file(path);
    // The chooser lists what existed when it opened; the file may have gone since.
    if (!file.isFile()) {
        m_context.reporter.report(Error::io(path, fileGoneMessage()));
        return;
    }
    if (selectionEmpty(m_context.pane)) insertAtCaret(m_context, size_text(file.size(), unit));
}

void InsertCommands::fileListClick(SizeUnit unit) {
    const std::optional<QString> folder =
        m_context.prompter.chooseFolder(fileListFolderCaption(), m_context.settings.WorkDir, false);
    if (!folder || folder->isEmpty()) return;
    QByteArray text;
    {
        BusyCursor busy;
        const Result<std::vector<ListedFile>> listing = list_folder(*folder);
        if (!listing) {
            m_context.reporter.report(listing.error());
            return;
        }
        text = file_list_text(*listing, unit);
    }
    insertAtCaret(m_context, text);
}

void InsertCommands::nx_mail_insClick() {
    if (selectionEmpty(m_context.pane))
        insertAtCaret(m_context, cp932::encode(m_context.settings.MailAdress));
}

void InsertCommands::nx_hp_insClick() {
    if (selectionEmpty(m_context.pane))
        insertAtCaret(m_context, cp932::encode(m_context.settings.HomePage));
}

void InsertCommands::nx_def_text1_insClick() {
    const QString& path = m_context.settings.DefText1;
    const Result<std::optional<QByteArray>> fixed = read_fixed_text(path);
    if (!fixed)
        m_context.reporter.report(fixed.error());
    else if (!*fixed)
        m_context.prompter.message(MessageKind::Confirmation, Answer::Yes,
                                   fixed_text_missing_message());
    else
        insertAtCaret(m_context, **fixed);
}

} // namespace pote
