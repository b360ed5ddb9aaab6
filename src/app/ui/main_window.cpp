#include "app/ui/main_window.h"

#include "app/command_state.h"
#include "app/document_names.h"
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
#include "app/ui/qt_prompter.h"
#include "app/ui/search_commands.h"
#include "app/ui/section_binding.h"
#include "app/ui/section_commands.h"
#include "app/ui/settings_commands.h"
#include "app/ui/startup.h"
#include "app/ui/tax_commands.h"
#include "app/ui/text_file_commands.h"
#include "app/ui/vertical_commands.h"
#include "core/program_files.h"
#include "editing/status_text.h"
#include "editing/ui/edit_pane.h"
#include "editing/ui/pane_undo.h"
#include "mascot/ui/mascot_view.h"
#include "settings/associations.h"
#include "settings/recent_list.h"
#include "settings/window_placement.h"

#include <QAction>
#include <QCloseEvent>
#include <QDialog>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QToolButton>

namespace pote {

Tmain_fm::Tmain_fm(StartOptions options)
    : m_prompter(options.prompter ? std::move(options.prompter)
                                  : std::make_unique<QtPrompter>(this)),
      m_modalRunner(std::move(options.modalRunner)) {
    setObjectName(QStringLiteral("main_fm"));
    connect(qApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState s) {
        if (s == Qt::ApplicationActive) tool_state_refresh();
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
    m_associations =
        options.associations
            ? std::move(options.associations)
            : std::make_unique<XdgFileAssociations>(
                  assocPlacesFromEnvironment(QCoreApplication::applicationFilePath(),
                                             iconFolderFor(QCoreApplication::applicationDirPath())),
                  m_settings.ExtOldApp);
    m_undo = new PaneUndo(*m_edit, this);
    m_reporter.emplace(*m_prompter, *this);
    m_binding = new SectionBinding({m_store, *m_undo, *this, *this, m_settings}, m_edit, m_nameEdit,
                                   m_secnoView, this);
    m_context = std::make_unique<AppContext>(AppContext{m_store, *m_prompter, *this, *m_reporter,
                                                        *m_edit, *m_binding, *m_undo, m_settings,
                                                        *m_associations, *this, *this});
    m_startup = std::make_unique<Startup>(*m_context, *this, *m_image, std::move(options.arguments),
                                          std::move(options.settingsPath));
    m_passwords = std::make_unique<PasswordCommands>(*m_context);
    m_documents =
        std::make_unique<DocumentCommands>(*m_context, [this](const QByteArray& candidate) {
            return m_passwords->askForDocument(candidate);
        });
    m_sections = std::make_unique<SectionCommands>(*m_context);
    m_editing = std::make_unique<EditCommands>(*m_context);
    m_printing = std::make_unique<PrintCommands>(*m_context);
    m_settingsCommands = std::make_unique<SettingsCommands>(*m_context, m_startup->settingsPath());
    m_textFiles = std::make_unique<TextFileCommands>(*m_context, *m_sections, *m_documents);
    m_linkedText = std::make_unique<LinkedTextCommands>(*m_context, *m_documents);
    m_opening =
        std::make_unique<OpenCommands>(*m_context, *m_documents, *m_textFiles, *m_linkedText);
    m_startup->setCommandLineOpen(
        [this](const QStringList& p) { m_opening->open_from_command_line(p); });
    m_catCommands = std::make_unique<CatCommands>(*m_context, *m_image);
    m_help = std::make_unique<HelpCommands>(*m_context, manualFolderFor(m_startup->programFolder()),
                                            *m_image);
    m_inserts = std::make_unique<InsertCommands>(*m_context);
    m_tax = std::make_unique<TaxCommands>(*m_context);
    m_search = std::make_unique<SearchCommands>(*m_context);
    m_counts = std::make_unique<CountCommands>(*m_context);
    m_recovery = std::make_unique<RecoveryCommands>(*m_context, *m_documents, *m_startup,
                                                    std::move(options.recovery));
    m_backup = std::make_unique<BackupCommands>(*m_context, *m_image, this);
    m_vertical = std::make_unique<VerticalCommands>(*m_context);
    m_epub = std::make_unique<EpubCommands>(*m_context, this);
    registerOwnCommands();

    m_store.setStateObserver([this] { documentStateChanged(); });
    connect(m_undo, &PaneUndo::availabilityChanged, this, &Tmain_fm::documentStateChanged);
}

void Tmain_fm::registerCommand(Command command, std::function<void()> handler) {
    m_handlers.insert(command, std::move(handler));
}

void Tmain_fm::registerOwnCommands() {
    registerCommand(Command::Exit, [this] { close(); });
    // Only one of them runs at a time: every other command waits while one does.
    registerCommand(Command::StopWork, [this] {
        m_backup->stop();
        m_epub->stop();
    });
}

void Tmain_fm::runCommand(Command command) {
    if (const auto handler = m_handlers.value(command)) runAsCommand(handler);
}

void Tmain_fm::runAsCommand(const std::function<void()>& work) {
    ++m_commandDepth;
    work();
    if (--m_commandDepth == 0) tool_state_refresh();
}

void Tmain_fm::documentStateChanged() {
    if (m_commandDepth == 0) tool_state_refresh();
}

void Tmain_fm::trigger(const QString& name) {
    if (QAction* a = m_actions.value(name); a && a->isEnabled()) a->trigger();
}

QWidget* Tmain_fm::control(const QString& name) const {
    if (QToolButton* b = m_tools.value(name)) return b;
    return findChild<QWidget*>(name);
}

void Tmain_fm::tool_state_refresh() {
    CommandContext c;
    c.sectionCount = m_store.count();
    c.plainTextMode = m_store.plainTextMode();
    c.hasDocumentPath = !m_store.documentPath.isEmpty();
    c.modified = m_store.isModified();
    c.hasPassword = m_store.hasPassword();
    c.selectionLength = m_edit->selectionEnd() - m_edit->selectionStart();
    c.clipboardHasText = m_clipboardHasText;
    c.undoAvailable = m_undo->available();
    c.hasRecentDocuments = recentMenu(m_settings.recent).submenuEnabled;
    c.hasFixedText = !m_settings.DefText1.isEmpty();
    c.hasMail = !m_settings.MailAdress.isEmpty();
    c.hasHomePage = !m_settings.HomePage.isEmpty();
    c.amountAvailable = m_tax && m_tax->amountAvailable();
    c.backupConfigured = backup::backupConfigured(backupSettingsOf(m_settings));
    c.busy = (m_backup && m_backup->busy()) || (m_epub && m_epub->busy());
    c.implemented = [this](Command command) { return implemented(command); };
    for (auto it = m_actions.cbegin(); it != m_actions.cend(); ++it)
        it.value()->setEnabled(commandEnabled(it.key(), c));
    for (auto it = m_menus.cbegin(); it != m_menus.cend(); ++it)
        it.value()->menuAction()->setEnabled(commandEnabled(it.key(), c));
    m_statusPanels[1]->setText(m_store.plainTextMode() ? plainTextModeStatus() : QString());
    m_statusPanels[2]->setText(m_store.hasPassword() ? QStringLiteral("パスワード文書")
                                                     : QString());
    if (m_stopButton->isHidden() == c.busy) {
        m_stopButton->setVisible(c.busy);
        setAcceptDrops(!c.busy);
        stbarResize();
    }
}

void Tmain_fm::status_update() {
    const EditPane::CaretPosition p = m_edit->caretPosition();
    if (!m_statusHeld) m_statusPanels[0]->setText(caretStatusText(p.line, p.column, p.totalLines));
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

QString Tmain_fm::statusPanelText(int panel) const {
    return m_statusPanels[panel]->text();
}

int Tmain_fm::runModal(QDialog& dialog) {
    return m_modalRunner ? m_modalRunner(dialog) : dialog.exec();
}

void Tmain_fm::mascot_react(int code) {
    m_image->mascot_react(code);
}

int Tmain_fm::currentReaction() const {
    return m_image->animation().state().anime_code;
}

bool Tmain_fm::designFlag() const {
    return m_startup->designFlag();
}

void Tmain_fm::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    editor_layout();
    stbarResize();
}

bool Tmain_fm::event(QEvent* event) {
    if (event->type() == QEvent::Show) m_startup->FormShow();
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

void Tmain_fm::dragEnterEvent(QDragEnterEvent* event) {
    m_opening->dragEnter(*event);
}

void Tmain_fm::dropEvent(QDropEvent* event) {
    m_opening->drop(*event);
}

void Tmain_fm::closeEvent(QCloseEvent* event) {
    if (!m_backup->closeQuery() || !m_epub->closeQuery() || !m_documents->formclose_query()) {
        event->ignore();
        return;
    }
    m_startup->formclose();
    m_help->closeManual();
    event->accept();
}

} // namespace pote
