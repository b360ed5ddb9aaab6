// The menus, the pop-up menu and the tool buttons, built from the action table and bound to
// their commands, and the wiring that keeps their enabled states current.
#include "app/ui/main_window.h"

#include "editing/ui/edit_pane.h"
#include "settings/recent_list.h"

#include <QAction>
#include <QClipboard>
#include <QFrame>
#include <QGuiApplication>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QToolButton>

#include <algorithm>

namespace pote {

namespace {

// Left edges of the tool buttons on the tool panel, in pixels.
constexpr int kToolLefts[] = {6, 34, 66, 94, 126, 154, 184, 216, 244, 272, 304, 337, 368, 400};
// Beside the tool panel, above the cat, in the select panel's pixels.
constexpr int kSideToolLefts[] = {439, 467};

// The shortcut, then the platform's other keys for the same clipboard command (Shift+Del,
// Ctrl+Ins, Shift+Ins): the pane leaves them all to the window, and taken by the command
// rather than by the pane's own clipboard handling they follow the same rules (the undo
// snapshot, a cut text's codes going with its paste).
QList<QKeySequence> shortcutsOf(const QString& shortcut) {
    const QKeySequence shown(shortcut);
    QList<QKeySequence> keys{shown};
    for (const auto standard : {QKeySequence::Cut, QKeySequence::Copy, QKeySequence::Paste}) {
        const QList<QKeySequence> bindings = QKeySequence::keyBindings(standard);
        if (!bindings.contains(shown)) continue;
        for (const QKeySequence& key : bindings) {
            if (!keys.contains(key)) keys.append(key);
        }
    }
    return keys;
}

} // namespace

QMenu* Tmain_fm::buildMenu(const MenuEntry& layout, const std::vector<MenuEntry>& subs,
                           QWidget* parent) {
    auto* menu = new QMenu(layout.caption, parent);
    menu->setObjectName(layout.name);
    m_menus.insert(layout.name, menu);
    m_bound[layout.command].append(menu->menuAction());
    for (const QString& entry : layout.entries) {
        if (entry == QStringLiteral("-")) {
            menu->addSeparator();
            continue;
        }
        const auto sub = std::find_if(subs.begin(), subs.end(),
                                      [&](const MenuEntry& m) { return m.name == entry; });
        if (sub != subs.end()) {
            menu->addMenu(buildMenu(*sub, subs, menu));
            continue;
        }
        if (QAction* a = m_actions.value(entry)) menu->addAction(a);
    }
    return menu;
}

void Tmain_fm::buildCommands() {
    for (const ActionEntry& entry : actionTable()) {
        auto* a = new QAction(entry.caption.isEmpty() ? entry.hint : entry.caption, this);
        a->setObjectName(entry.name);
        if (!entry.shortcut.isEmpty()) {
            a->setShortcuts(shortcutsOf(entry.shortcut));
            // Window-wide; the name box keeps its own editing keys (a line edit claims them
            // before window shortcuts see them).
            a->setShortcutContext(Qt::WindowShortcut);
        }
        if (!entry.hint.isEmpty()) a->setToolTip(entry.hint);
        if (!entry.icon.isEmpty()) a->setIcon(QIcon(entry.icon));
        const Command command = entry.command;
        connect(a, &QAction::triggered, this, [this, command] { m_commands.run(command); });
        m_actions.insert(entry.name, a);
        m_bound[command].append(a);
    }

    for (const MenuEntry& layout : mainMenus()) {
        QMenu* menu = buildMenu(layout, subMenus(), menuBar());
        menuBar()->addMenu(menu);
    }
    // All eight menus fit the window's design width.
    menuBar()->setStyleSheet(QStringLiteral(
        "QMenuBar { spacing: 0px; } QMenuBar::item { padding: 2px 3px; margin: 0px; }"));
    for (const QString& name : {QStringLiteral("nx_section"), QStringLiteral("Edit1"),
                                QStringLiteral("Insert1"), QStringLiteral("nx_password")})
        connect(m_menus.value(name), &QMenu::aboutToShow, this, &Tmain_fm::tool_state_refresh);
    connect(m_menus.value(QStringLiteral("nx_file")), &QMenu::aboutToShow, this,
            &Tmain_fm::nx_fileClick);
    nx_fileClick();

    m_popup = buildMenu(popupMenu(), popupSubMenus(), this);
    connect(m_edit, &EditPane::popupRequested, this, [this](const QPoint& at) {
        tool_state_refresh();
        m_popup->exec(at);
    });

    const auto addTool = [this](const QString& name, QWidget* panel, int left) {
        auto* button = new QToolButton(panel);
        button->setObjectName(name);
        button->setDefaultAction(m_actions.value(name));
        button->setAutoRaise(true);
        button->setIconSize(QSize(22, 22));
        button->setGeometry(left, 4, 28, 28);
        button->setFocusPolicy(Qt::NoFocus);
    };
    int i = 0;
    for (const QString& name : toolButtons())
        addTool(name, m_paTool, kToolLefts[i++]);
    i = 0;
    Q_ASSERT(sideToolButtons().size() <= std::size(kSideToolLefts));
    for (const QString& name : sideToolButtons())
        addTool(name, m_selectPanel, kSideToolLefts[i++]);

    QAction* stop = boundAction(Command::StopWork);
    m_stopButton->setDefaultAction(stop);
    addAction(stop); // Esc works wherever the focus is

    QAction* picker = boundAction(Command::SectionPicker);
    connect(m_selectButton, &QPushButton::clicked, picker, &QAction::trigger);
    connect(picker, &QAction::changed, m_selectButton,
            [this, picker] { m_selectButton->setEnabled(picker->isEnabled()); });
    // A caret move is a selection change too.
    const auto selectionMoved = [this] {
        m_commands.stateChanged();
        status_update();
    };
    connect(m_edit, &EditPane::selectionChanged, this, selectionMoved);
    connect(m_edit, &EditPane::cursorPositionChanged, this, selectionMoved);
    // Asking the clipboard can be a round trip to the display server; this runs on every caret
    // move, so the answer is kept and renewed when the clipboard changes.
    const auto readClipboard = [this] {
        const QMimeData* clip = QGuiApplication::clipboard()->mimeData();
        m_clipboardHasText = clip && clip->hasText();
    };
    readClipboard();
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this, [this, readClipboard] {
        readClipboard();
        tool_state_refresh();
    });
}

void Tmain_fm::nx_fileClick() {
    // The recent-documents sub-menu is prepared and stays hidden; the list lives behind it for
    // one run.
    const RecentMenu recent = recentMenu(m_settings.recent);
    QAction* submenu = m_menus.value(QStringLiteral("nx_recent"))->menuAction();
    submenu->setVisible(recent.submenuVisible);
    for (int i = 0; i < kRecentCount; ++i) {
        QAction* item = boundAction(recentCommand(i + 1));
        QString caption = recent.items[size_t(i)].caption;
        item->setText(caption.replace(u'&', QStringLiteral("&&")));
        item->setVisible(recent.items[size_t(i)].visible);
    }
    tool_state_refresh();
}

} // namespace pote
