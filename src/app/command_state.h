#pragma once
// Which commands are usable, computed in one place from the state of the document, the pane,
// the clipboard and the settings.

#include "app/action_table.h"

#include <QString>
#include <QStringList>

#include <functional>

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

// Whether the action or sub-menu of that object name is enabled.
bool commandEnabled(const QString& name, const CommandContext& context);

// The object names that have an enabling rule.
QStringList ruledCommandNames();

} // namespace pote
