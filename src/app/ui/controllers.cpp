#include "app/ui/controllers.h"

#include "app/ui/app_context.h"
#include "app/ui/backup_commands.h"
#include "app/ui/cat_commands.h"
#include "app/ui/count_commands.h"
#include "app/ui/document_commands.h"
#include "app/ui/edit_commands.h"
#include "app/ui/epub_commands.h"
#include "app/ui/help_commands.h"
#include "app/ui/insert_commands.h"
#include "app/ui/linked_text_commands.h"
#include "app/ui/open_commands.h"
#include "app/ui/password_commands.h"
#include "app/ui/print_commands.h"
#include "app/ui/revision_commands.h"
#include "app/ui/search_commands.h"
#include "app/ui/section_commands.h"
#include "app/ui/settings_commands.h"
#include "app/ui/startup.h"
#include "app/ui/tax_commands.h"
#include "app/ui/text_file_commands.h"
#include "app/ui/vertical_commands.h"
#include "backup/backup_sources.h"
#include "core/program_files.h"
#include "core/section_store.h"
#include "editing/ui/edit_pane.h"
#include "editing/ui/pane_undo.h"
#include "settings/recent_list.h"
#include "settings/settings_values.h"

#include <QWidget>

namespace pote {

Controllers::Controllers(AppContext& context, ControllerOptions options) : m_context(context) {
    m_startup =
        std::make_unique<Startup>(context, options.window, options.cat,
                                  std::move(options.arguments), std::move(options.settingsPath));
    m_passwords = std::make_unique<PasswordCommands>(context);
    m_documents = std::make_unique<DocumentCommands>(context, [this](const QByteArray& candidate) {
        return m_passwords->askForDocument(candidate);
    });
    m_sections = std::make_unique<SectionCommands>(context);
    m_editing = std::make_unique<EditCommands>(context);
    m_printing = std::make_unique<PrintCommands>(context);
    m_settingsCommands = std::make_unique<SettingsCommands>(context, m_startup->settingsPath());
    m_textFiles = std::make_unique<TextFileCommands>(context, *m_sections, *m_documents);
    m_linkedText = std::make_unique<LinkedTextCommands>(context, *m_documents);
    m_opening = std::make_unique<OpenCommands>(context, *m_documents, *m_textFiles, *m_linkedText);
    m_startup->setCommandLineOpen(
        [this](const QStringList& parameters) { m_opening->open_from_command_line(parameters); });
    m_catCommands = std::make_unique<CatCommands>(context, options.cat);
    m_help = std::make_unique<HelpCommands>(context, manualFolderFor(m_startup->programFolder()),
                                            options.cat);
    m_inserts = std::make_unique<InsertCommands>(context);
    m_tax = std::make_unique<TaxCommands>(context);
    m_search = std::make_unique<SearchCommands>(context);
    m_counts = std::make_unique<CountCommands>(context);
    m_recovery = std::make_unique<RecoveryCommands>(context, *m_documents, *m_startup,
                                                    std::move(options.recovery));
    m_backup = std::make_unique<BackupCommands>(context, options.cat);
    m_vertical = std::make_unique<VerticalCommands>(context);
    m_epub = std::make_unique<EpubCommands>(context);
    m_revision = std::make_unique<RevisionCommands>(context);
    context.commands.registerCommand(Command::Exit, [&window = options.window] { window.close(); });
    // Only one job runs at a time: every other command waits while one does.
    context.commands.registerCommand(Command::StopWork, [&context] { context.jobs.stopAll(); });
}

Controllers::~Controllers() = default;

CommandContext Controllers::commandContext() const {
    const SectionStore& store = m_context.store;
    const Settings& settings = m_context.settings;
    CommandContext c;
    c.sectionCount = store.count();
    c.plainTextMode = store.plainTextMode();
    c.hasDocumentPath = !store.documentPath.isEmpty();
    c.modified = store.isModified();
    c.hasPassword = store.hasPassword();
    c.selectionLength = m_context.pane.selectionEnd() - m_context.pane.selectionStart();
    c.undoAvailable = m_context.undo.available();
    c.hasRecentDocuments = recentMenu(settings.recent).submenuEnabled;
    c.hasFixedText = !settings.DefText1.isEmpty();
    c.hasMail = !settings.MailAdress.isEmpty();
    c.hasHomePage = !settings.HomePage.isEmpty();
    c.amountAvailable = m_tax->amountAvailable();
    c.backupConfigured = backup::backupConfigured(backupSettingsOf(settings));
    c.busy = m_context.jobs.anyBusy();
    return c;
}

bool Controllers::closeQuery() {
    return m_context.jobs.closeQuery() && m_documents->formclose_query();
}

void Controllers::closed() {
    m_startup->formclose();
    m_help->closeManual();
}

} // namespace pote
