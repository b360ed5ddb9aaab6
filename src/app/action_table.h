#pragma once
// The one table of the window's commands: every menu item, pop-up item and tool button, with
// the command it is bound to, its caption, shortcut, hint and icon, and the layout of the menus,
// the pop-up menu and the tool panel. The widgets are built from it, and each takes the enabled
// state of its command.

#include <QString>

#include <vector>

namespace pote {

enum class Command {
    None,
    // file
    NewDocument,
    Open,
    QuickSave,
    SaveAs,
    SaveButton,
    Recent1,
    Recent2,
    Recent3,
    Recent4,
    Recent5,
    Recent6,
    Recent7,
    Recent8,
    Recent9,
    Recent10,
    TextLoad,
    TextAddLoad,
    TextSave,
    TextSaveButton,
    FolderAdd,
    FolderSave,
    LinkedLoad,
    LinkedSave,
    Backup,
    StopWork, // stops the background work: the backup or a book being written
    EpubExport,
    Print,
    VerticalPreview,
    Exit,
    // sections
    SectionPicker,
    SectionAdd,
    SectionDelete,
    SectionSwap,
    GroupSettings,
    // edit
    Find,
    FindNext,
    Replace,
    CharacterCount,
    Revision, // the revision check's window
    Cut,
    Copy,
    Paste,
    EditDelete,
    PopupDelete,
    SelectAll,
    BlankLineCut,
    ShiftRight,
    Undo,
    // insert
    InsertBreakLine,
    InsertDate,
    InsertTime,
    InsertFileNameOnly,
    InsertFileNameFull,
    InsertSizeByte,
    InsertSizeKbyte,
    InsertSizeMbyte,
    InsertList0,
    InsertList1,
    InsertList2,
    InsertList3,
    InsertMail,
    InsertHomePage,
    InsertFixedText,
    InsertAmount,
    InsertRuby,
    // the cat
    Tax,
    Exercise,
    CatWindow,
    // settings
    FontStandard,
    FontFixed,
    BackgroundColour,
    Settings,
    SettingsClear,
    // password
    PasswordSet,
    PasswordReset,
    // help
    Manual,
    About,
    HomePage,
    // sub-menus that are enabled or disabled as a whole; they run nothing themselves
    RecentMenu,
    InsertMenu,
    PasswordMenu,
};

// Whether the command is a sub-menu's, with nothing to run (and so no handler).
bool opensSubMenu(Command command);

struct ActionEntry {
    QString name;     // object name: nx_load, pop_edcut, sp_save, ...
    Command command;  // twins (menu item, pop-up item, tool button) share their command
    QString caption;  // with its & accelerator
    QString shortcut; // QKeySequence text, may be empty
    QString hint;     // tool tip / status tip
    QString icon;     // resource name of the tool-button icon, may be empty
};

// A menu: its object name, caption and entries. An entry is an action name, "-" for a
// separator, or the name of a sub-menu listed in the same table. A menu bound to a command is
// enabled with it; the others only wait, as every command does, while long work runs.
struct MenuEntry {
    QString name;
    QString caption;
    std::vector<QString> entries;
    Command command = Command::None;
};

const std::vector<ActionEntry>& actionTable();
// The command of recent-document entry position (1..10).
Command recentCommand(int position);

// The main menu bar's menus in order, then every sub-menu.
const std::vector<MenuEntry>& mainMenus();
const std::vector<MenuEntry>& subMenus();
// The pane's pop-up menu (its entries may name sub-menus of popupSubMenus()).
const MenuEntry& popupMenu();
const std::vector<MenuEntry>& popupSubMenus();
// The fourteen tool buttons, left to right.
const std::vector<QString>& toolButtons();
// The buttons beside the tool panel, above the cat.
const std::vector<QString>& sideToolButtons();

} // namespace pote
