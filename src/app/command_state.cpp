#include "app/command_state.h"

#include <QHash>

namespace pote {

namespace {

using Rule = bool (*)(const CommandContext&);

// The one command left while long work runs.
const QString kStopName = QStringLiteral("nx_backup_stop");

bool hasSelection(const CommandContext& c) {
    return c.selectionLength > 0;
}
bool noSelection(const CommandContext& c) {
    return c.selectionLength == 0;
}
bool clipboard(const CommandContext& c) {
    return c.clipboardHasText;
}
bool undo(const CommandContext& c) {
    return c.undoAvailable;
}
bool roomForSection(const CommandContext& c) {
    return c.sectionCount < 500;
}
bool severalSections(const CommandContext& c) {
    return c.sectionCount > 1;
}
bool backup(const CommandContext& c) {
    return c.backupConfigured;
}
bool notPlainText(const CommandContext& c) {
    return !c.plainTextMode;
}

const QHash<QString, Rule>& rules() {
    static const QHash<QString, Rule> table = {
        {"sp_paste", clipboard},
        {"nx_edpaste", clipboard},
        {"pop_edpaste", clipboard},
        {"sp_cut", hasSelection},
        {"sp_copy", hasSelection},
        {"nx_edcut", hasSelection},
        {"nx_edcopy", hasSelection},
        {"nx_ed_del", hasSelection},
        {"nx_linecut", hasSelection},
        {"pop_edcut", hasSelection},
        {"pop_edcopy", hasSelection},
        {"pop_eddel", hasSelection},
        {"pop_linecut", hasSelection},
        {"pop_right_move", hasSelection},
        {"Insert1", noSelection},
        {"pop_ins", noSelection},
        {"sp_break", noSelection},
        {"sp_undo", undo},
        {"nx_edit_undo", undo},
        {"pop_edit_undo", undo},
        {"sp_add", roomForSection},
        {"sect_add", roomForSection},
        {"nx_text_add_load", roomForSection},
        {"nx_sect_dell", severalSections},
        {"nx_sect_del_ins", severalSections},
        {"nx_sect_swap", severalSections},
        {"sp_backup", backup},
        {"nx_backup", backup},
        {kStopName, [](const CommandContext& c) { return c.busy; }},
        {"nx_password", notPlainText},
        {"nx_epub_save", notPlainText},
        {"select_bitbt", notPlainText},
        {"nx_recent", [](const CommandContext& c) { return c.hasRecentDocuments; }},
        {"nx_qsave", [](const CommandContext& c) { return c.hasDocumentPath && c.modified; }},
        {"nx_pass_reset", [](const CommandContext& c) { return c.hasPassword; }},
        {"nx_def_text1_ins", [](const CommandContext& c) { return c.hasFixedText; }},
        {"pop_def_text1_ins", [](const CommandContext& c) { return c.hasFixedText; }},
        {"nx_mail_ins", [](const CommandContext& c) { return c.hasMail; }},
        {"pop_mail_ins", [](const CommandContext& c) { return c.hasMail; }},
        {"nx_hp_ins", [](const CommandContext& c) { return c.hasHomePage; }},
        {"pop_hp_ins", [](const CommandContext& c) { return c.hasHomePage; }},
        {"nx_hexp_ins", [](const CommandContext& c) { return c.amountAvailable; }},
        {"pop_hexp_ins", [](const CommandContext& c) { return c.amountAvailable; }},
    };
    return table;
}

} // namespace

bool commandEnabled(const QString& name, const CommandContext& context) {
    if (context.busy && name != kStopName) return false;
    if (const ActionEntry* action = findAction(name)) {
        if (!context.implemented(action->command)) return false;
    }
    const Rule rule = rules().value(name, nullptr);
    return rule ? rule(context) : true;
}

QStringList ruledCommandNames() {
    return rules().keys();
}

} // namespace pote
