#pragma once
// The main window `main_fm`: tool panel, section panel, mascot, editing pane, status bar,
// menus and the pop-up menu. It owns the section store and hands the commands to controllers.

#include "app/action_table.h"
#include "app/ui/document_host.h"
#include "core/mascot_reactions.h"
#include "core/prompter.h"
#include "core/section_store.h"

#include <QHash>
#include <QMainWindow>

#include <memory>

class QAction;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QToolButton;

namespace pote {

class DocumentCommands;
class EditCommands;
class PasswordCommands;
class SectionCommands;
class EditPane;
class HelpWindow;
namespace mascot {
class MascotView;
}

struct StartOptions {
    QStringList arguments;                // command-line parameters, program name excluded
    std::unique_ptr<Prompter> prompter;   // null: Qt dialogs
    std::function<int(QDialog&)> modalRunner; // null: QDialog::exec
};

class Tmain_fm : public QMainWindow, public DocumentHost, public MascotReactions {
    Q_OBJECT
public:
    explicit Tmain_fm(StartOptions options = {});
    ~Tmain_fm() override;

    // DocumentHost
    SectionStore& store() override { return m_store; }
    Prompter& prompter() override { return *m_prompter; }
    MascotReactions& mascot() override { return *this; }
    SectionBinding& binding() override { return *m_binding; }
    QWidget* window() override { return this; }
    int runModal(QDialog& dialog) override;
    EditPane* pane() override { return m_edit; }
    void registerCommand(Command command, std::function<void()> handler) override;
    void setTitle(const QString& title) override { setWindowTitle(title); }
    void tool_state_refresh() override;
    void status_update() override;
    void undo_take() override;
    void undo_clear() override;
    void password_indicator_refresh() override;
    void recent_add(const QString& path) override;
    bool askDocumentPassword(const QByteArray& candidate) override;
    QString workFolder() const override { return m_workFolder; }
    void setWorkFolder(const QString& folder) override { m_workFolder = folder; }
    int tabWidth() const override { return m_tabWidth; }

    // MascotReactions
    void mascot_react(int code) override;
    int currentReaction() const override;

    DocumentCommands& documents() { return *m_documents; }
    PasswordCommands& passwords() { return *m_passwords; }
    EditCommands& editing() { return *m_editing; }
    void setModalRunner(std::function<int(QDialog&)> runner) { m_modalRunner = std::move(runner); }
    QAction* action(const QString& name) const { return m_actions.value(name); }
    QMenu* menu(const QString& name) const { return m_menus.value(name); }
    QWidget* control(const QString& name) const;
    // Runs the command behind an action, as a click would.
    void trigger(const QString& name);
    bool designFlag() const { return m_designFlag; }
    QString statusPanelText(int panel) const;
    QString programFolder() const { return m_programFolder; }
    mascot::MascotView* mascotView() const { return m_image; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool event(QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    void FormCreate();
    void form_active();
    void formclose();
    void editor_layout();
    void stbarResize();
    void buildPanels();
    void buildCommands();
    QMenu* buildMenu(const MenuEntry& layout, const std::vector<MenuEntry>& subMenus, QWidget* parent);
    void runCommand(Command command);
    bool implemented(Command command) const { return m_handlers.contains(command); }
    void registerOwnCommands();
    void showManual();
    void showAbout();
    void N10Click();

    SectionStore m_store;
    std::unique_ptr<Prompter> m_prompter;
    std::unique_ptr<DocumentCommands> m_documents;
    std::unique_ptr<PasswordCommands> m_passwords;
    std::function<int(QDialog&)> m_modalRunner;
    std::unique_ptr<SectionCommands> m_sections;
    std::unique_ptr<EditCommands> m_editing;
    SectionBinding* m_binding = nullptr;

    QFrame* m_selectPanel = nullptr;
    QFrame* m_paTool = nullptr;
    QFrame* m_paSection = nullptr;
    QPushButton* m_selectButton = nullptr;
    QLabel* m_secnoView = nullptr;
    QLineEdit* m_nameEdit = nullptr;
    mascot::MascotView* m_image = nullptr;
    EditPane* m_edit = nullptr;
    QLabel* m_statusPanels[3] = {};
    QMenu* m_popup = nullptr;
    HelpWindow* m_help = nullptr;

    QHash<QString, QAction*> m_actions;
    QHash<QString, QMenu*> m_menus;
    QHash<QString, QToolButton*> m_tools;
    QHash<Command, std::function<void()>> m_handlers;

    QStringList m_arguments;
    QString m_programFolder;
    QString m_workFolder;
    bool m_designFlag = false;
    bool m_firstActivation = true;
    bool m_clipboardHasText = false;
    int m_tabWidth = 8;
};

} // namespace pote
