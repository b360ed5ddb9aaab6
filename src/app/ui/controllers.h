#pragma once
// The window's command controllers, one per Part or feature: built from the shared context and
// wired to one another here and nowhere else, so a new controller is added in this one place.
// The window holds this object, forwards its own events and reads the state its enabling rules
// need; it knows no controller's inside.

#include "app/command_state.h"
#include "app/ui/recovery_commands.h"

#include <QStringList>

#include <memory>

class QWidget;

namespace pote {

struct AppContext;
class BackupCommands;
class CatCommands;
class CountCommands;
class DocumentCommands;
class EditCommands;
class EpubCommands;
class RevisionCommands;
class HelpCommands;
class InsertCommands;
class LinkedTextCommands;
class OpenCommands;
class PasswordCommands;
class PrintCommands;
class SearchCommands;
class SectionCommands;
class SettingsCommands;
class Startup;
class TaxCommands;
class TextFileCommands;
class VerticalCommands;
namespace mascot {
class MascotView;
}

// What the controllers take from the window and the command line besides the context.
struct ControllerOptions {
    QWidget& window;         // placed, shown and closed by the start-up and Exit
    mascot::MascotView& cat; // its sheet, its window and its busy picture
    QStringList arguments;   // command-line parameters, program name excluded
    QString settingsPath;    // empty: the user's settings file
    RecoveryOptions recovery;
};

class Controllers {
public:
    Controllers(AppContext& context, ControllerOptions options);
    ~Controllers();

    // What the enabling rules read of the document, the pane, the settings and the
    // controllers; the clipboard and which commands have handlers are the window's to add.
    CommandContext commandContext() const;
    // The window is asked to close: running work and unsaved changes may keep it open.
    bool closeQuery();
    // The window closes for good.
    void closed();

    Startup& startup() { return *m_startup; }
    DocumentCommands& documents() { return *m_documents; }
    PasswordCommands& passwords() { return *m_passwords; }
    PrintCommands& printing() { return *m_printing; }
    OpenCommands& opening() { return *m_opening; }
    BackupCommands& backup() { return *m_backup; }
    VerticalCommands& vertical() { return *m_vertical; }
    EpubCommands& epub() { return *m_epub; }
    RevisionCommands& revision() { return *m_revision; }

private:
    AppContext& m_context;
    // Destroyed in the reverse order: the start-up, which the recovery reports to, last.
    std::unique_ptr<Startup> m_startup;
    std::unique_ptr<DocumentCommands> m_documents;
    std::unique_ptr<PasswordCommands> m_passwords;
    std::unique_ptr<SectionCommands> m_sections;
    std::unique_ptr<EditCommands> m_editing;
    std::unique_ptr<PrintCommands> m_printing;
    std::unique_ptr<SettingsCommands> m_settingsCommands;
    std::unique_ptr<TextFileCommands> m_textFiles;
    std::unique_ptr<LinkedTextCommands> m_linkedText;
    std::unique_ptr<OpenCommands> m_opening;
    std::unique_ptr<CatCommands> m_catCommands;
    std::unique_ptr<HelpCommands> m_help;
    std::unique_ptr<InsertCommands> m_inserts;
    std::unique_ptr<TaxCommands> m_tax;
    std::unique_ptr<SearchCommands> m_search;
    std::unique_ptr<CountCommands> m_counts;
    std::unique_ptr<RecoveryCommands> m_recovery;
    std::unique_ptr<BackupCommands> m_backup;
    std::unique_ptr<VerticalCommands> m_vertical;
    std::unique_ptr<EpubCommands> m_epub;
    std::unique_ptr<RevisionCommands> m_revision;
};

} // namespace pote
