#pragma once
// Which commands are usable, computed in one place from the state of the document, the pane,
// the clipboard and the settings. Every item bound to a command takes its state.

#include "app/action_table.h"

#include <functional>
#include <vector>

namespace pote {

struct CommandContext {
    int sectionCount = 1;
    bool plainTextMode = false;
    bool hasDocumentPath = false;
    bool modified = false;
    bool hasPassword = false;
    qsizetype selectionLength = 0;
    bool clipboardHasText = false;
    bool undoAvailable = false;
    bool backupConfigured = false; // destination and at least one source folder set
    bool hasFixedText = false;     // DefText1 set
    bool hasMail = false;          // MailAdress set
    bool hasHomePage = false;      // HomePage set
    bool amountAvailable = false;  // a tax calculation has succeeded in this run
    bool hasRecentDocuments = false;
    // Long work runs in the background: every command waits for it but the one that stops it.
    bool busy = false;
    // Commands that have a handler; every other item is shown disabled.
    std::function<bool(Command)> implemented = [](Command) { return true; };
};

// Whether the items bound to the command are enabled. Command::None stands for the menus bound
// to none.
bool commandEnabled(Command command, const CommandContext& context);

// The commands that have an enabling rule of their own.
std::vector<Command> ruledCommands();

} // namespace pote
