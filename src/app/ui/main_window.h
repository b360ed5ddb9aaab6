#pragma once
// The main window `main_fm`: tool panel, section panel, mascot, editing pane, status bar,
// menus and the pop-up menu. It owns the section store and the shared services, hands the
// commands to controllers and refreshes what depends on the document after each of them.

#include "app/action_table.h"
#include "app/reporter.h"
#include "app/ui/app_context.h"
#include "app/ui/recovery_commands.h"
#include "core/mascot_reactions.h"
#include "core/prompter.h"
#include "core/section_store.h"
#include "settings/file_associations.h"
#include "settings/settings_values.h"

#include <QHash>
#include <QMainWindow>

#include <memory>
#include <optional>

class QAction;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QToolButton;

namespace pote {

class BackupCommands;
class CatCommands;
class CountCommands;
class DocumentCommands;
class EditCommands;
class EpubCommands;
class InsertCommands;
class LinkedTextCommands;
class OpenCommands;
class PasswordCommands;
class PrintCommands;
class SearchCommands;
class SectionCommands;
class SettingsCommands;
class TaxCommands;
class TextFileCommands;
class VerticalCommands;
class EditPane;
class HelpCommands;
class PaneUndo;
class Startup;
namespace mascot {
class MascotView;
}

struct StartOptions {
    QStringList arguments;                    // command-line parameters, program name excluded
    std::unique_ptr<Prompter> prompter;       // null: Qt dialogs
    std::function<int(QDialog&)> modalRunner; // null: QDialog::exec
    QString settingsPath;                     // empty: the user's settings file
    std::unique_ptr<FileAssociations> associations; // null: none
    RecoveryOptions recovery;                       // where and when copies of unsaved work go
};

class Tmain_fm : public QMainWindow,
                 public WindowView,
                 public CommandRegistry,
                 public MascotReactions {
    Q_OBJECT
public:
    explicit Tmain_fm(StartOptions options = {});
    ~Tmain_fm() override;

    // WindowView
    QWidget* dialogParent() override { return this; }
    int runModal(QDialog& dialog) override;
    void setTitle(const QString& title) override { setWindowTitle(title); }
    void status_update() override;
    void holdStatusText(const QString& text) override;
    void releaseStatusText() override;
    QPoint pickerAnchor() const override;

    // CommandRegistry
    void registerCommand(Command command, std::function<void()> handler) override;
    void runAsCommand(const std::function<void()>& work) override;

    // MascotReactions
    void mascot_react(int code) override;
    int currentReaction() const override;

    // The enabled states of every command and the status bar's indicators, from the document.
    void tool_state_refresh();

    SectionStore& store() { return m_store; }
    Settings& settings() { return m_settings; }
    SectionBinding& binding() { return *m_binding; }
    EditPane* pane() { return m_edit; }
    PaneUndo& undo() { return *m_undo; }
    DocumentCommands& documents() { return *m_documents; }
    PasswordCommands& passwords() { return *m_passwords; }
    PrintCommands& printing() { return *m_printing; }
    VerticalCommands& verticalCommands() { return *m_vertical; }
    void setModalRunner(std::function<int(QDialog&)> runner) { m_modalRunner = std::move(runner); }
    QAction* action(const QString& name) const { return m_actions.value(name); }
    QMenu* menu(const QString& name) const { return m_menus.value(name); }
    QWidget* control(const QString& name) const;
    // Runs the command behind an action, as a click would.
    void trigger(const QString& name);
    bool designFlag() const;
    QString statusPanelText(int panel) const;
    mascot::MascotView* mascotView() const { return m_image; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool event(QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void editor_layout();
    void stbarResize();
    void buildPanels();
    void buildControllers(StartOptions& options);
    void buildCommands();
    QMenu* buildMenu(const MenuEntry& layout, const std::vector<MenuEntry>& subMenus,
                     QWidget* parent);
    void runCommand(Command command);
    // nx_fileClick: the File menu opens.
    void nx_fileClick();
    // A state of the document changed: refresh now, or after the command that is running.
    void documentStateChanged();
    bool implemented(Command command) const { return m_handlers.contains(command); }
    void registerOwnCommands();

    SectionStore m_store;
    std::unique_ptr<Prompter> m_prompter;
    std::function<int(QDialog&)> m_modalRunner;
    std::optional<Reporter> m_reporter;
    Settings m_settings;
    std::unique_ptr<FileAssociations> m_associations;
    PaneUndo* m_undo = nullptr;
    SectionBinding* m_binding = nullptr;
    std::unique_ptr<AppContext> m_context;
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

    QFrame* m_selectPanel = nullptr;
    QFrame* m_paTool = nullptr;
    QFrame* m_paSection = nullptr;
    QPushButton* m_selectButton = nullptr;
    QLabel* m_secnoView = nullptr;
    QLineEdit* m_nameEdit = nullptr;
    mascot::MascotView* m_image = nullptr;
    EditPane* m_edit = nullptr;
    QLabel* m_statusPanels[3] = {};
    QToolButton* m_stopButton = nullptr; // shown while background work runs
    bool m_statusHeld = false;
    QMenu* m_popup = nullptr;

    QHash<QString, QAction*> m_actions;
    QHash<QString, QMenu*> m_menus;
    QHash<QString, QToolButton*> m_tools;
    QHash<Command, std::function<void()>> m_handlers;

    int m_commandDepth = 0;
    bool m_clipboardHasText = false;
};

} // namespace pote
