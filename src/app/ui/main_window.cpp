#include "app/ui/main_window.h"

#include "app/command_state.h"
#include "app/document_names.h"
#include "app/ui/backup_commands.h"
#include "app/ui/cat_commands.h"
#include "app/ui/count_commands.h"
#include "app/ui/document_commands.h"
#include "app/ui/edit_commands.h"
#include "app/ui/help_commands.h"
#include "app/ui/insert_commands.h"
#include "app/ui/linked_text_commands.h"
#include "app/ui/open_commands.h"
#include "app/ui/password_commands.h"
#include "app/ui/print_commands.h"
#include "app/ui/qt_prompter.h"
#include "app/ui/search_commands.h"
#include "app/ui/section_binding.h"
#include "app/ui/section_commands.h"
#include "app/ui/section_number_box.h"
#include "app/ui/settings_commands.h"
#include "app/ui/startup.h"
#include "app/ui/tax_commands.h"
#include "app/ui/text_file_commands.h"
#include "editing/status_text.h"
#include "editing/ui/edit_pane.h"
#include "editing/ui/pane_undo.h"
#include "mascot/ui/mascot_view.h"
#include "sections/picker_geometry.h"
#include "core/program_files.h"
#include "settings/associations.h"
#include "settings/recent_list.h"
#include "settings/window_placement.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QDialog>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QToolButton>

namespace pote {

namespace {

// Design positions of the window's controls, in pixels of the client area.
constexpr QRect kSelectPanel{0, 0, 497, 89};
constexpr QRect kToolPanel{4, 4, 433, 37};
constexpr QRect kSectionPanel{4, 42, 433, 41};
constexpr QRect kSelectButton{4, 8, 75, 25};
constexpr QRect kSecnoView{84, 8, 51, 25};
constexpr QRect kNameEdit{136, 9, 289, 24};
constexpr QRect kMascot{441, 33, 48, 48};
constexpr QRect kPane{8, 92, 513, 265};
constexpr int kToolLefts[] = {6, 34, 66, 94, 126, 154, 184, 216, 244, 272, 304, 337, 368, 400};


} // namespace

Tmain_fm::Tmain_fm(StartOptions options)
    : m_prompter(options.prompter ? std::move(options.prompter)
                                  : std::make_unique<QtPrompter>(this)),
      m_modalRunner(std::move(options.modalRunner)) {
    setObjectName(QStringLiteral("main_fm"));
    connect(qApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState s) {
        if (s == Qt::ApplicationActive)
            tool_state_refresh();
    });
    m_store.loading = true;

    QFont uiFont(QStringLiteral("ＭＳ Ｐゴシック"));
    uiFont.setPixelSize(12);
    setFont(uiFont);

    buildPanels();
    buildControllers(options);
    buildCommands();

    setMinimumSize(kMinimumWindowSize);
    setGeometry(kDesignGeometry);
    setWindowTitle(documentTitle(m_store.displayName));
    setWindowIcon(QIcon(QStringLiteral(":/icons/poteedit.svg")));

    m_startup->FormCreate();
    tool_state_refresh();
}

Tmain_fm::~Tmain_fm() = default;

void Tmain_fm::buildControllers(StartOptions& options) {
    m_associations = options.associations
                         ? std::move(options.associations)
                         : std::make_unique<XdgFileAssociations>(
                               assocPlacesFromEnvironment(
                                   QCoreApplication::applicationFilePath(),
                                   iconFolderFor(QCoreApplication::applicationDirPath())),
                               m_settings.ExtOldApp);
    m_undo = new PaneUndo(*m_edit, this);
    m_reporter.emplace(*m_prompter, *this);
    m_binding = new SectionBinding({m_store, *m_undo, *this, *this, m_settings}, m_edit,
                                   m_nameEdit, m_secnoView, this);
    m_context = std::make_unique<AppContext>(
        AppContext{m_store, *m_prompter, *this, *m_reporter, *m_edit, *m_binding, *m_undo,
                   m_settings, *m_associations, *this, *this});
    m_startup = std::make_unique<Startup>(*m_context, *this, *m_image,
                                          std::move(options.arguments),
                                          std::move(options.settingsPath));
    m_passwords = std::make_unique<PasswordCommands>(*m_context);
    m_documents = std::make_unique<DocumentCommands>(
        *m_context, [this](const QByteArray& candidate) {
            return m_passwords->askForDocument(candidate);
        });
    m_sections = std::make_unique<SectionCommands>(*m_context);
    m_editing = std::make_unique<EditCommands>(*m_context);
    m_printing = std::make_unique<PrintCommands>(*m_context);
    m_settingsCommands = std::make_unique<SettingsCommands>(*m_context, m_startup->settingsPath());
    m_textFiles = std::make_unique<TextFileCommands>(*m_context, *m_sections);
    m_linkedText = std::make_unique<LinkedTextCommands>(*m_context, *m_documents);
    m_opening = std::make_unique<OpenCommands>(*m_context, *m_documents, *m_textFiles, *m_linkedText);
    m_startup->setCommandLineOpen([this](const QStringList& p) { m_opening->open_from_command_line(p); });
    m_catCommands = std::make_unique<CatCommands>(*m_context, *m_image);
    m_help = std::make_unique<HelpCommands>(
        *m_context, manualFolderFor(m_startup->programFolder()), *m_image);
    m_inserts = std::make_unique<InsertCommands>(*m_context);
    m_tax = std::make_unique<TaxCommands>(*m_context);
    m_search = std::make_unique<SearchCommands>(*m_context);
    m_counts = std::make_unique<CountCommands>(*m_context);
    m_recovery = std::make_unique<RecoveryCommands>(*m_context, *m_documents, *m_startup,
                                                    std::move(options.recovery));
    m_backup = std::make_unique<BackupCommands>(*m_context, *m_image, this);
    registerOwnCommands();

    m_store.setStateObserver([this] { documentStateChanged(); });
    connect(m_undo, &PaneUndo::availabilityChanged, this, &Tmain_fm::documentStateChanged);
}

void Tmain_fm::buildPanels() {
    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("client"));
    central->setMouseTracking(true);
    setCentralWidget(central);

    m_selectPanel = new QFrame(central);
    m_selectPanel->setObjectName(QStringLiteral("select_panel"));
    m_selectPanel->setGeometry(kSelectPanel);

    m_paTool = new QFrame(m_selectPanel);
    m_paTool->setObjectName(QStringLiteral("pa_tool"));
    m_paTool->setFrameStyle(QFrame::Panel | QFrame::Raised);
    m_paTool->setGeometry(kToolPanel);

    m_paSection = new QFrame(m_selectPanel);
    m_paSection->setObjectName(QStringLiteral("pa_section"));
    m_paSection->setFrameStyle(QFrame::Panel | QFrame::Raised);
    m_paSection->setGeometry(kSectionPanel);

    m_selectButton = new QPushButton(QStringLiteral("選択"), m_paSection);
    m_selectButton->setObjectName(QStringLiteral("select_bitbt"));
    m_selectButton->setGeometry(kSelectButton);

    QFont big(font());
    big.setPixelSize(16);
    m_secnoView = new QLabel(m_paSection);
    m_secnoView->setObjectName(QStringLiteral("secno_view"));
    m_secnoView->setGeometry(kSecnoView);
    m_secnoView->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    QFont italic(big);
    italic.setItalic(true);
    m_secnoView->setFont(italic);
    m_secnoView->setToolTip(QStringLiteral("選択ページナンバー"));

    m_nameEdit = new QLineEdit(m_paSection);
    m_nameEdit->setObjectName(QStringLiteral("sec_name_ed"));
    m_nameEdit->setGeometry(kNameEdit);
    m_nameEdit->setFont(big);
    fitSectionNumberBox(*m_secnoView, *m_nameEdit);

    m_image = new mascot::MascotView(m_selectPanel);
    m_image->setObjectName(QStringLiteral("Image1"));
    m_image->setGeometry(kMascot);

    m_edit = new EditPane(central);
    m_edit->setGeometry(kPane);

    for (int i = 0; i < 3; ++i) {
        m_statusPanels[i] = new QLabel(this);
        m_statusPanels[i]->setObjectName(QStringLiteral("stbar_panel%1").arg(i));
        m_statusPanels[i]->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        statusBar()->addWidget(m_statusPanels[i], i == 0 ? 1 : 0);
    }
    m_stopButton = new QToolButton(this);
    m_stopButton->setObjectName(QStringLiteral("stop_button"));
    m_stopButton->setToolButtonStyle(Qt::ToolButtonTextOnly);
    m_stopButton->setFocusPolicy(Qt::NoFocus);
    m_stopButton->hide();
    statusBar()->insertWidget(1, m_stopButton);
    statusBar()->setObjectName(QStringLiteral("stbar"));
    statusBar()->setSizeGripEnabled(true);
    QFont statusFont(QStringLiteral("MS UI Gothic"));
    statusFont.setPixelSize(13);
    statusBar()->setFont(statusFont);
}

QMenu* Tmain_fm::buildMenu(const MenuEntry& layout, const std::vector<MenuEntry>& subs, QWidget* parent) {
    auto* menu = new QMenu(layout.caption, parent);
    menu->setObjectName(layout.name);
    m_menus.insert(layout.name, menu);
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
        if (QAction* a = m_actions.value(entry))
            menu->addAction(a);
    }
    return menu;
}

void Tmain_fm::buildCommands() {
    for (const ActionEntry& entry : actionTable()) {
        auto* a = new QAction(entry.caption.isEmpty() ? entry.hint : entry.caption, this);
        a->setObjectName(entry.name);
        if (!entry.shortcut.isEmpty()) {
            a->setShortcut(QKeySequence(entry.shortcut));
            // Window-wide; the name box keeps its own editing keys (a line edit claims them
            // before window shortcuts see them).
            a->setShortcutContext(Qt::WindowShortcut);
        }
        if (!entry.hint.isEmpty())
            a->setToolTip(entry.hint);
        if (!entry.icon.isEmpty())
            a->setIcon(QIcon(entry.icon));
        const Command command = entry.command;
        connect(a, &QAction::triggered, this, [this, command] { runCommand(command); });
        m_actions.insert(entry.name, a);
    }

    for (const MenuEntry& layout : mainMenus()) {
        QMenu* menu = buildMenu(layout, subMenus(), menuBar());
        menuBar()->addMenu(menu);
    }
    // All eight menus fit the window's design width.
    menuBar()->setStyleSheet(QStringLiteral("QMenuBar { spacing: 0px; } QMenuBar::item { padding: 2px 3px; margin: 0px; }"));
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

    int i = 0;
    for (const QString& name : toolButtons()) {
        auto* button = new QToolButton(m_paTool);
        button->setObjectName(name);
        button->setDefaultAction(m_actions.value(name));
        button->setAutoRaise(true);
        button->setIconSize(QSize(22, 22));
        button->setGeometry(kToolLefts[i++], 4, 28, 28);
        button->setFocusPolicy(Qt::NoFocus);
        m_tools.insert(name, button);
    }

    QAction* stop = m_actions.value(QStringLiteral("nx_backup_stop"));
    m_stopButton->setDefaultAction(stop);
    addAction(stop); // Esc works wherever the focus is


    QAction* picker = m_actions.value(QStringLiteral("select_bitbt"));
    connect(m_selectButton, &QPushButton::clicked, picker, &QAction::trigger);
    connect(picker, &QAction::changed, m_selectButton,
            [this, picker] { m_selectButton->setEnabled(picker->isEnabled()); });
    // A caret move is a selection change too.
    const auto selectionMoved = [this] {
        documentStateChanged();
        status_update();
        m_editing->sel_ch();
    };
    connect(m_edit, &QPlainTextEdit::selectionChanged, this, selectionMoved);
    connect(m_edit, &QPlainTextEdit::cursorPositionChanged, this, selectionMoved);
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

void Tmain_fm::registerCommand(Command command, std::function<void()> handler) {
    m_handlers.insert(command, std::move(handler));
}

void Tmain_fm::registerOwnCommands() {
    registerCommand(Command::Exit, [this] { close(); });
}

void Tmain_fm::runCommand(Command command) {
    if (const auto handler = m_handlers.value(command))
        runAsCommand(handler);
}

void Tmain_fm::nx_fileClick() {
    // The recent-documents sub-menu is prepared and stays hidden; the list lives behind it for
    // one run.
    const RecentMenu recent = recentMenu(m_settings.recent);
    QAction* submenu = m_menus.value(QStringLiteral("nx_recent"))->menuAction();
    submenu->setVisible(recent.submenuVisible);
    for (int i = 0; i < kRecentCount; ++i) {
        QAction* item = m_actions.value(QStringLiteral("nx_recent%1").arg(i + 1));
        QString caption = recent.items[size_t(i)].caption;
        item->setText(caption.replace(u'&', QStringLiteral("&&")));
        item->setVisible(recent.items[size_t(i)].visible);
    }
    tool_state_refresh();
}

void Tmain_fm::runAsCommand(const std::function<void()>& work) {
    ++m_commandDepth;
    work();
    if (--m_commandDepth == 0)
        tool_state_refresh();
}

void Tmain_fm::documentStateChanged() {
    if (m_commandDepth == 0)
        tool_state_refresh();
}

void Tmain_fm::trigger(const QString& name) {
    if (QAction* a = m_actions.value(name); a && a->isEnabled())
        a->trigger();
}

QWidget* Tmain_fm::control(const QString& name) const {
    if (QToolButton* b = m_tools.value(name))
        return b;
    return findChild<QWidget*>(name);
}

void Tmain_fm::tool_state_refresh() {
    CommandContext c;
    c.sectionCount = m_store.count();
    c.plainTextMode = m_store.plainTextMode();
    c.hasDocumentPath = !m_store.documentPath.isEmpty();
    c.modified = m_store.isModified();
    c.hasPassword = m_store.hasPassword();
    c.selectionLength = m_edit->textCursor().selectionEnd() - m_edit->textCursor().selectionStart();
    c.clipboardHasText = m_clipboardHasText;
    c.undoAvailable = m_undo->available();
    c.hasRecentDocuments = recentMenu(m_settings.recent).submenuEnabled;
    c.hasFixedText = !m_settings.DefText1.isEmpty();
    c.hasMail = !m_settings.MailAdress.isEmpty();
    c.hasHomePage = !m_settings.HomePage.isEmpty();
    c.amountAvailable = m_tax && m_tax->amountAvailable();
    c.backupConfigured = backup::backupConfigured(backupSettingsOf(m_settings));
    c.busy = m_backup && m_backup->busy();
    c.implemented = [this](Command command) { return implemented(command); };
    for (auto it = m_actions.cbegin(); it != m_actions.cend(); ++it)
        it.value()->setEnabled(commandEnabled(it.key(), c));
    for (auto it = m_menus.cbegin(); it != m_menus.cend(); ++it)
        it.value()->menuAction()->setEnabled(commandEnabled(it.key(), c));
    m_statusPanels[1]->setText(m_store.plainTextMode() ? plainTextModeStatus() : QString());
    m_statusPanels[2]->setText(m_store.hasPassword() ? QStringLiteral("パスワード文書") : QString());
    if (m_stopButton->isHidden() == c.busy) {
        m_stopButton->setVisible(c.busy);
        setAcceptDrops(!c.busy);
        stbarResize();
    }
}

void Tmain_fm::status_update() {
    const EditPane::CaretPosition p = m_edit->caretPosition();
    if (!m_statusHeld)
        m_statusPanels[0]->setText(caretStatusText(p.line, p.column, p.totalLines));
    m_statusPanels[1]->setText(m_store.plainTextMode() ? plainTextModeStatus() : QString());
}

void Tmain_fm::holdStatusText(const QString& text) {
    m_statusHeld = true;
    m_statusPanels[0]->setText(text);
    m_statusPanels[0]->setToolTip(text); // the whole of it, when the panel is too narrow
    m_statusPanels[0]->repaint();        // at once, also when the event loop is slow to come back
}

void Tmain_fm::releaseStatusText() {
    m_statusHeld = false;
    m_statusPanels[0]->setToolTip({});
}

QString Tmain_fm::statusPanelText(int panel) const { return m_statusPanels[panel]->text(); }

int Tmain_fm::runModal(QDialog& dialog) {
    return m_modalRunner ? m_modalRunner(dialog) : dialog.exec();
}

void Tmain_fm::mascot_react(int code) { m_image->mascot_react(code); }

int Tmain_fm::currentReaction() const { return m_image->animation().state().anime_code; }

void Tmain_fm::editor_layout() {
    QWidget* client = centralWidget();
    if (!client || !m_edit)
        return;
    m_edit->setGeometry(kPane.left(), kPane.top(), client->width() - 2 * kPane.left(),
                        client->height() - kPane.top());
    m_binding->secno_refresh();
    status_update();
}

QPoint Tmain_fm::pickerAnchor() const {
    // The client area is what lies below the menu bar, as the panel positions count from there.
    QSize client = size();
    if (menuWidget())
        client.rheight() -= menuWidget()->height();
    return pickerPosition(frameGeometry(), client, m_selectPanel->x(), m_paSection->height(),
                          m_selectButton->geometry());
}

bool Tmain_fm::designFlag() const { return m_startup->designFlag(); }

void Tmain_fm::stbarResize() {
    const int width = statusBar()->width();
    const int stop = !m_stopButton->isHidden() ? m_stopButton->sizeHint().width() + 4 : 0;
    m_statusPanels[0]->setFixedWidth(qMax(0, width - 240 - 16 - stop));
    m_statusPanels[1]->setFixedWidth(120);
    m_statusPanels[2]->setFixedWidth(120);
}

void Tmain_fm::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    editor_layout();
    stbarResize();
}

bool Tmain_fm::event(QEvent* event) {
    if (event->type() == QEvent::Show)
        m_startup->FormShow();
    if (event->type() == QEvent::WindowActivate) {
        m_startup->form_active();
        status_update();
        tool_state_refresh();
    }
    return QMainWindow::event(event);
}

void Tmain_fm::mouseMoveEvent(QMouseEvent* event) {
    // Over the window's own background: bring the window to the front.
    if (!isActiveWindow()) {
        show();
        raise();
        activateWindow();
    }
    QMainWindow::mouseMoveEvent(event);
}

void Tmain_fm::dragEnterEvent(QDragEnterEvent* event) { m_opening->dragEnter(*event); }

void Tmain_fm::dropEvent(QDropEvent* event) { m_opening->drop(*event); }

void Tmain_fm::closeEvent(QCloseEvent* event) {
    if (!m_backup->closeQuery() || !m_documents->formclose_query()) {
        event->ignore();
        return;
    }
    m_startup->formclose();
    m_help->closeManual();
    event->accept();
}

} // namespace pote
