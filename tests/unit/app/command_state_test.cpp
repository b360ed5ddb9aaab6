#include "app/command_state.h"

#include <QSet>

#include <vector>

#include <gtest/gtest.h>

namespace pote {
namespace {

struct StateRow {
    const char* name;
    const char* item;
    CommandContext context;
    bool enabled;
};

CommandContext with(std::function<void(CommandContext&)> change) {
    CommandContext c;
    change(c);
    return c;
}

// Every table of items and menus, for looking them up by object name.
std::vector<const MenuEntry*> allMenus() {
    std::vector<const MenuEntry*> menus{&popupMenu()};
    for (const auto* list : {&mainMenus(), &subMenus(), &popupSubMenus()})
        for (const MenuEntry& m : *list)
            menus.push_back(&m);
    return menus;
}

// The command the item or menu of that object name is bound to.
Command boundCommand(const QString& name) {
    for (const ActionEntry& a : actionTable())
        if (a.name == name) return a.command;
    for (const MenuEntry* m : allMenus())
        if (m->name == name) return m->command;
    ADD_FAILURE() << "no item or menu " << name.toStdString();
    return Command::None;
}

class CommandStates : public testing::TestWithParam<StateRow> {};

TEST_P(CommandStates, FollowTheDocument) {
    EXPECT_EQ(commandEnabled(boundCommand(QString::fromUtf8(GetParam().item)), GetParam().context),
              GetParam().enabled);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, CommandStates,
    testing::Values(
        StateRow{"QuickSaveNeedsPath", "nx_qsave", with([](auto& c) { c.modified = true; }), false},
        StateRow{"QuickSaveNeedsChange", "nx_qsave",
                 with([](auto& c) { c.hasDocumentPath = true; }), false},
        StateRow{"QuickSaveBoth", "nx_qsave",
                 with([](auto& c) { c.hasDocumentPath = c.modified = true; }), true},
        StateRow{"AddBelow500", "sp_add", with([](auto& c) { c.sectionCount = 499; }), true},
        StateRow{"AddAt500", "sp_add", with([](auto& c) { c.sectionCount = 500; }), false},
        StateRow{"MenuAddAt500", "sect_add", with([](auto& c) { c.sectionCount = 500; }), false},
        StateRow{"DeleteNeedsTwo", "nx_sect_dell", with([](auto& c) { c.sectionCount = 1; }),
                 false},
        StateRow{"SwapWithTwo", "nx_sect_swap", with([](auto& c) { c.sectionCount = 2; }), true},
        StateRow{"CutNeedsSelection", "sp_cut", CommandContext{}, false},
        StateRow{"CopyWithSelection", "nx_edcopy", with([](auto& c) { c.selectionLength = 3; }),
                 true},
        StateRow{"InsertMenuOffWhileSelected", "Insert1",
                 with([](auto& c) { c.selectionLength = 1; }), false},
        StateRow{"BreakButtonWithoutSelection", "sp_break", CommandContext{}, true},
        StateRow{"PasteFollowsClipboard", "sp_paste",
                 with([](auto& c) { c.clipboardHasText = true; }), true},
        StateRow{"PasteWithoutClipboard", "pop_edpaste", CommandContext{}, false},
        StateRow{"UndoNeedsSnapshot", "sp_undo", CommandContext{}, false},
        StateRow{"PasswordMenuOffInPlainText", "nx_password",
                 with([](auto& c) { c.plainTextMode = true; }), false},
        StateRow{"PickerOffInPlainText", "select_bitbt",
                 with([](auto& c) { c.plainTextMode = true; }), false},
        StateRow{"PasswordResetNeedsPassword", "nx_pass_reset", CommandContext{}, false},
        StateRow{"PasswordSetAlways", "nx_pass_set", CommandContext{}, true},
        StateRow{"BackupNeedsFolders", "sp_backup", CommandContext{}, false},
        StateRow{"StopOnlyWhileBusy", "nx_backup_stop", CommandContext{}, false},
        StateRow{"StopWhileBusy", "nx_backup_stop", with([](auto& c) { c.busy = true; }), true},
        StateRow{"BusyDisablesUnruledCommands", "nx_load", with([](auto& c) { c.busy = true; }),
                 false},
        StateRow{"BusyDisablesMenus", "nx_file", with([](auto& c) { c.busy = true; }), false},
        StateRow{"BusyOverridesRules", "sp_backup",
                 with([](auto& c) { c.busy = c.backupConfigured = true; }), false},
        StateRow{"MailNeedsSetting", "nx_mail_ins", with([](auto& c) { c.hasMail = true; }), true},
        StateRow{"AmountAfterCalculation", "nx_hexp_ins", CommandContext{}, false},
        StateRow{"PopupAmountAfterCalculation", "pop_hexp_ins", CommandContext{}, false},
        StateRow{"PopupAmountWithAmount", "pop_hexp_ins",
                 with([](auto& c) { c.amountAvailable = true; }), true},
        StateRow{"UnbuiltCommandIsOff", "nx_load", with([](auto& c) {
                     c.implemented = [](Command cmd) { return cmd != Command::Open; };
                 }),
                 false},
        StateRow{"GroupSettingsAlways", "nx_group_set", with([](auto& c) { c.sectionCount = 1; }),
                 true},
        // Sub-menus and unbound menus run nothing, so they need no handler to be enabled.
        StateRow{"SubMenuNeedsNoHandler", "pop_ins",
                 with([](auto& c) { c.implemented = [](Command) { return false; }; }), true},
        StateRow{"MenuNeedsNoHandler", "nx_file",
                 with([](auto& c) { c.implemented = [](Command) { return false; }; }), true},
        StateRow{"RecentMenuNeedsDocuments", "nx_recent", CommandContext{}, false},
        StateRow{"DeleteMenuFollowsItsCommand", "nx_sect_dell", with([](auto& c) {
                     c.sectionCount = 2;
                     c.implemented = [](Command cmd) { return cmd != Command::SectionDelete; };
                 }),
                 false}),
    [](const testing::TestParamInfo<StateRow>& row) { return row.param.name; });

TEST(ActionTable, NamesAreUniqueAndMenusNameKnownEntries) {
    QSet<QString> names;
    for (const ActionEntry& a : actionTable()) {
        EXPECT_FALSE(names.contains(a.name)) << a.name.toStdString();
        names.insert(a.name);
    }
    QSet<QString> menus;
    for (const auto* list : {&mainMenus(), &subMenus(), &popupSubMenus()})
        for (const MenuEntry& m : *list)
            menus.insert(m.name);
    auto check = [&](const MenuEntry& m) {
        for (const QString& e : m.entries)
            EXPECT_TRUE(e == "-" || names.contains(e) || menus.contains(e))
                << m.name.toStdString() << ": " << e.toStdString();
    };
    for (const auto* list : {&mainMenus(), &subMenus(), &popupSubMenus()})
        for (const MenuEntry& m : *list)
            check(m);
    check(popupMenu());
}

TEST(ActionTable, EveryEnablingRuleGovernsAnItemThatExists) {
    // A rule for a command bound to nothing would leave the items it was meant for enabled
    // whatever the document's state.
    QSet<Command> bound;
    for (const ActionEntry& a : actionTable())
        bound.insert(a.command);
    for (const MenuEntry* m : allMenus())
        bound.insert(m->command);
    for (const Command command : ruledCommands())
        EXPECT_TRUE(bound.contains(command)) << static_cast<int>(command);
}

TEST(ActionTable, SubMenuCommandsBindMenusOnly) {
    // A sub-menu's command runs nothing: an item bound to one would be enabled with no handler.
    for (const ActionEntry& a : actionTable())
        EXPECT_FALSE(opensSubMenu(a.command)) << a.name.toStdString();
}

} // namespace
} // namespace pote
