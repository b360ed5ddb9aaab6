#include "app/ui/main_window.h"

#include "app/command_state.h"
#include "app/document_names.h"
#include "app/ui/about_box.h"
#include "app/ui/document_commands.h"
#include "app/ui/edit_commands.h"
#include "app/ui/help_window.h"
#include "app/ui/password_commands.h"
#include "app/ui/qt_prompter.h"
#include "app/ui/section_commands.h"
#include "app/ui/section_binding.h"
#include "editing/status_text.h"
#include "editing/ui/edit_pane.h"
#include "mascot/sprite_sheet.h"
#include "mascot/ui/mascot_view.h"
#include "settings/window_placement.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDir>
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
#include <QUrl>

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

const QString kHomePage = QStringLiteral("https://poteedit.example.org/");

QFont paneDesignFont() {
    QFont font(QStringLiteral("ＭＳ ゴシック"));
    font.setPixelSize(16);
    return font;
}

} // namespace

Tmain_fm::Tmain_fm(StartOptions options)
    : m_prompter(options.prompter ? std::move(options.prompter)
                                  : std::make_unique<QtPrompter>(this)),
      m_modalRunner(std::move(options.modalRunner)), m_arguments(std::move(options.arguments)) {
    setObjectName(QStringLiteral("main_fm"));
    FormCreate();
}

Tmain_fm::~Tmain_fm() = default;

void Tmain_fm::FormCreate() {
    m_designFlag = !m_arguments.isEmpty() && m_arguments.first() == QStringLiteral("/d");
    connect(qApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState s) {
        if (s == Qt::ApplicationActive)
            tool_state_refresh();
    });
    m_programFolder = QCoreApplication::applicationDirPath();
    m_workFolder = QDir::currentPath();
    m_store.loading = true;

    QFont uiFont(QStringLiteral("ＭＳ Ｐゴシック"));
    uiFont.setPixelSize(12);
    setFont(uiFont);

    buildPanels();
    m_documents = std::make_unique<DocumentCommands>(*this);
    m_binding = new SectionBinding(*this, m_edit, m_nameEdit, m_secnoView, this);
    registerOwnCommands();
    m_passwords = std::make_unique<PasswordCommands>(*this);
    m_sections = std::make_unique<SectionCommands>(*this);
    m_editing = std::make_unique<EditCommands>(*this);
    buildCommands();

    setMinimumSize(kMinimumWindowSize);
    setGeometry(kDesignGeometry);
    setWindowTitle(documentTitle(m_store.displayName));
    setWindowIcon(QIcon(QStringLiteral(":/icons/poteedit.svg")));

    // Without a usable sheet the program runs without the cat; a cushion keeps its place.
    if (!m_image->loadSheet(mascot::sheetPathIn(m_programFolder)))
        m_image->setPlaceholder(
            QIcon(QStringLiteral(":/icons/mascot_placeholder.svg")).pixmap(48, 48).toImage());
    m_image->mascot_draw(1);

    m_edit->setFont(paneDesignFont());
    m_binding->section_commit(0);
    m_binding->section_load(0);
    m_store.modified = false;
    m_binding->secno_refresh();
    status_update();
    undo_clear();
    password_indicator_refresh();
    tool_state_refresh();
    m_image->start();
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
    for (const QString& name : {QStringLiteral("nx_file"), QStringLiteral("nx_section"), QStringLiteral("Edit1"),
                                QStringLiteral("Insert1"), QStringLiteral("nx_password")})
        connect(m_menus.value(name), &QMenu::aboutToShow, this, &Tmain_fm::tool_state_refresh);
    // The recent-documents sub-menu stays hidden; the list lives behind it for one run.
    m_menus.value(QStringLiteral("nx_recent"))->menuAction()->setVisible(false);

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

    connect(m_selectButton, &QPushButton::clicked, this, [this] {
        runCommand(Command::SectionPicker);
    });
    // A caret move is a selection change too.
    connect(m_edit, &QPlainTextEdit::selectionChanged, m_editing.get(), &EditCommands::sel_ch);
    connect(m_edit, &QPlainTextEdit::cursorPositionChanged, m_editing.get(), &EditCommands::sel_ch);
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
    DocumentCommands& d = *m_documents;
    registerCommand(Command::NewDocument, [&d] { d.nx_new_paperClick(); });
    registerCommand(Command::Open, [&d] { d.nx_loadClick(); });
    registerCommand(Command::QuickSave, [&d] { d.nx_qsaveClick(); });
    registerCommand(Command::SaveAs, [&d] { d.nx_saveClick(); });
    registerCommand(Command::SaveButton, [&d] { d.sp_saveClick(); });
    registerCommand(Command::Exit, [this] { close(); });
    registerCommand(Command::Manual, [this] { showManual(); });
    registerCommand(Command::About, [this] { showAbout(); });
    registerCommand(Command::HomePage, [] { QDesktopServices::openUrl(QUrl(kHomePage)); });
    registerCommand(Command::Exercise, [this] { N10Click(); });
}

void Tmain_fm::runCommand(Command command) {
    if (const auto handler = m_handlers.value(command))
        handler();
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
    c.plainTextMode = m_store.plainTextMode;
    c.hasDocumentPath = !m_store.documentPath.isEmpty();
    c.modified = m_store.modified;
    c.hasPassword = m_store.hasPassword;
    c.selectionLength = m_edit->textCursor().selectionEnd() - m_edit->textCursor().selectionStart();
    c.clipboardHasText = m_clipboardHasText;
    c.undoAvailable = m_editing && m_editing->undoAvailable();
    c.implemented = [this](Command command) { return implemented(command); };
    for (auto it = m_actions.cbegin(); it != m_actions.cend(); ++it)
        it.value()->setEnabled(commandEnabled(it.key(), c));
    for (auto it = m_menus.cbegin(); it != m_menus.cend(); ++it)
        it.value()->menuAction()->setEnabled(commandEnabled(it.key(), c));
    m_selectButton->setEnabled(commandEnabled(QStringLiteral("select_bitbt"), c) &&
                               implemented(Command::SectionPicker));
}

void Tmain_fm::status_update() {
    const EditPane::CaretPosition p = m_edit->caretPosition();
    m_statusPanels[0]->setText(caretStatusText(p.line, p.column, p.totalLines));
    m_statusPanels[1]->setText(m_store.plainTextMode ? plainTextModeStatus() : QString());
}

QString Tmain_fm::statusPanelText(int panel) const { return m_statusPanels[panel]->text(); }

void Tmain_fm::undo_take() { m_editing->undo_take(); }

void Tmain_fm::undo_clear() {
    if (m_editing)
        m_editing->undo_clear();
}

void Tmain_fm::password_indicator_refresh() {
    m_statusPanels[2]->setText(m_store.hasPassword ? QStringLiteral("パスワード文書") : QString());
}

void Tmain_fm::recent_add(const QString& path) { Q_UNUSED(path); }

bool Tmain_fm::askDocumentPassword(const QByteArray& candidate) {
    return m_passwords->askForDocument(candidate);
}

int Tmain_fm::runModal(QDialog& dialog) {
    return m_modalRunner ? m_modalRunner(dialog) : dialog.exec();
}

void Tmain_fm::mascot_react(int code) { m_image->mascot_react(code); }

int Tmain_fm::currentReaction() const { return m_image->animation().state().anime_code; }

void Tmain_fm::N10Click() {
    mascot_react(ReactionExercise);
    m_prompter->message(MessageKind::Confirmation, Answer::Yes,
                        QStringLiteral("にゃ～！！育成ソフトと勘違いしてるにゃ～。\r") +
                            QStringLiteral("運動なんかしないにゃ！！「エッサ！エッサ！っと」"));
    mascot_react(ReactionExercise);
}

void Tmain_fm::editor_layout() {
    QWidget* client = centralWidget();
    if (!client || !m_edit)
        return;
    m_edit->setGeometry(kPane.left(), kPane.top(), client->width() - 2 * kPane.left(),
                        client->height() - kPane.top());
    m_binding->secno_refresh();
    status_update();
}

void Tmain_fm::stbarResize() {
    const int width = statusBar()->width();
    m_statusPanels[0]->setFixedWidth(qMax(0, width - 240 - 16));
    m_statusPanels[1]->setFixedWidth(120);
    m_statusPanels[2]->setFixedWidth(120);
}

void Tmain_fm::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    editor_layout();
    stbarResize();
}

bool Tmain_fm::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate)
        form_active();
    return QMainWindow::event(event);
}

void Tmain_fm::form_active() {
    if (m_firstActivation) {
        m_firstActivation = false;
        // Stored placement arrives with the settings; until then the first-start values apply.
        const SavedPlacement saved;
        const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
        const QSize screenSize = screen ? screen->availableSize() : QSize(1024, 768);
        const PlacementDecision d = firstActivationPlacement(saved, screenSize, m_designFlag);
        if (d.maximize)
            showMaximized();
        else if (!d.keepDesign)
            setGeometry(d.geometry);
    }
    status_update();
    tool_state_refresh();
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

void Tmain_fm::closeEvent(QCloseEvent* event) {
    if (!m_documents->formclose_query()) {
        event->ignore();
        return;
    }
    formclose();
    event->accept();
}

void Tmain_fm::formclose() {
    m_image->stop();
    m_image->releaseSheet();
    if (m_help)
        m_help->close();
}

void Tmain_fm::showManual() {
    if (!m_help)
        m_help = new HelpWindow(m_programFolder + QStringLiteral("/help"), this);
    m_help->showContents();
}

void Tmain_fm::showAbout() {
    AboutBox box(kHomePage, this);
    const QImage cat = m_image->cellImage(1);
    if (!cat.isNull())
        box.setPicture(QPixmap::fromImage(mascot::withTransparentBackground(cat)));
    runModal(box);
}

} // namespace pote
