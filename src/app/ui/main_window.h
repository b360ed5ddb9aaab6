#pragma once
// The main window `main_fm`: tool panel, section panel, mascot, editing pane, status bar,
// menus and the pop-up menu. It owns the section store and the shared services, gives each
// command's enabled state to every item bound to it, and leaves what the commands do to the
// controllers.

#include "app/command_runner.h"
#include "app/reporter.h"
#include "app/ui/app_context.h"
#include "app/ui/controllers.h"
#include "core/prompter.h"
#include "core/section_store.h"
#include "settings/file_associations.h"
#include "settings/settings_values.h"

#include <QHash>
#include <QList>
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

class EditPane;
class PaneUndo;
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

class Tmain_fm : public QMainWindow, public WindowView {
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
    void noteStatusText(const QString& text) override;
    QPoint pickerAnchor() const override;

    // The enabled states of every command and the status bar's indicators, from the document.
    void tool_state_refresh();

    SectionStore& store() { return m_store; }
    Settings& settings() { return m_settings; }
    SectionBinding& binding() { return *m_binding; }
    EditPane* pane() { return m_edit; }
    PaneUndo& undo() { return *m_undo; }
    Controllers& controllers() { return *m_controllers; }
    void setModalRunner(std::function<int(QDialog&)> runner) { m_modalRunner = std::move(runner); }
    QAction* action(const QString& name) const { return m_actions.value(name); }
    QMenu* menu(const QString& name) const { return m_menus.value(name); }
    QWidget* control(const QString& name) const;
    // Runs the command behind an action, as a click would.
    void trigger(const QString& name);
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
    void buildServices(StartOptions& options);
    void buildCommands();
    QMenu* buildMenu(const MenuEntry& layout, const std::vector<MenuEntry>& subMenus,
                     QWidget* parent);
    // The first item bound to the command.
    QAction* boundAction(Command command) const { return m_bound.value(command).value(0); }
    // nx_fileClick: the File menu opens.
    void nx_fileClick();

    SectionStore m_store;
    std::unique_ptr<Prompter> m_prompter;
    std::function<int(QDialog&)> m_modalRunner;
    std::optional<Reporter> m_reporter;
    Settings m_settings;
    std::unique_ptr<FileAssociations> m_associations;
    PaneUndo* m_undo = nullptr;
    SectionBinding* m_binding = nullptr;
    CommandRunner m_commands;
    std::unique_ptr<AppContext> m_context;
    std::unique_ptr<Controllers> m_controllers;

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
    // The caret read-out a note stands over; empty while no note is shown.
    QString m_readOutUnderNote;
    QMenu* m_popup = nullptr;

    // By object name, to lay out the menus; by command, to give each its enabled state.
    QHash<QString, QAction*> m_actions;
    QHash<QString, QMenu*> m_menus;
    QHash<Command, QList<QAction*>> m_bound;

    bool m_clipboardHasText = false;
};

} // namespace pote
