#include "app/ui/main_window.h"

#include "app/command_state.h"
#include "app/document_names.h"
#include "app/ui/open_commands.h"
#include "app/ui/qt_prompter.h"
#include "app/ui/section_binding.h"
#include "app/ui/startup.h"
#include "core/program_files.h"
#include "editing/status_text.h"
#include "editing/ui/edit_pane.h"
#include "editing/ui/pane_undo.h"
#include "mascot/ui/mascot_view.h"
#include "settings/associations.h"
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
      m_modalRunner(std::move(options.modalRunner)), m_commands([this] { tool_state_refresh(); }) {
    setObjectName(QStringLiteral("main_fm"));
    connect(qApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState s) {
        if (s == Qt::ApplicationActive) tool_state_refresh();
    });
    m_store.loading = true;

    QFont uiFont(QStringLiteral("ＭＳ Ｐゴシック"));
    uiFont.setPixelSize(12);
    setFont(uiFont);

    buildPanels();
    buildServices(options);
    m_controllers = std::make_unique<Controllers>(
        *m_context,
        ControllerOptions{*this, *m_image, std::move(options.arguments),
                          std::move(options.settingsPath), std::move(options.recovery)});
    m_store.setStateObserver([this] { m_commands.stateChanged(); });
    connect(m_undo, &PaneUndo::availabilityChanged, this, [this] { m_commands.stateChanged(); });
    buildCommands();

    setMinimumSize(kMinimumWindowSize);
    setGeometry(kDesignGeometry);
    setWindowTitle(documentTitle(m_store.displayName));
    setWindowIcon(QIcon(QStringLiteral(":/icons/poteedit.svg")));

    m_controllers->startup().FormCreate();
    tool_state_refresh();
}

Tmain_fm::~Tmain_fm() {
    // The controllers end first, and what they change on the way out refreshes nothing.
    std::unique_ptr<Controllers> ending = std::move(m_controllers);
    ending.reset();
}

void Tmain_fm::buildServices(StartOptions& options) {
    m_associations =
        options.associations
            ? std::move(options.associations)
            : std::make_unique<XdgFileAssociations>(
                  assocPlacesFromEnvironment(QCoreApplication::applicationFilePath(),
                                             iconFolderFor(QCoreApplication::applicationDirPath())),
                  m_settings.ExtOldApp);
    m_undo = new PaneUndo(*m_edit, this);
    m_reporter.emplace(*m_prompter, *m_image);
    m_binding = new SectionBinding({m_store, *m_undo, *m_image, *this, m_settings}, m_edit,
                                   m_nameEdit, m_secnoView, this);
    m_context = std::make_unique<AppContext>(AppContext{m_store, *m_prompter, *m_image, *m_reporter,
                                                        *m_edit, *m_binding, *m_undo, m_settings,
                                                        *m_associations, *this, m_commands});
}

void Tmain_fm::trigger(const QString& name) {
    if (QAction* a = m_actions.value(name); a && a->isEnabled()) a->trigger();
}

QWidget* Tmain_fm::control(const QString& name) const {
    return findChild<QWidget*>(name);
}

void Tmain_fm::tool_state_refresh() {
    if (!m_controllers) return;
    CommandContext c = m_controllers->commandContext();
    c.clipboardHasText = m_clipboardHasText;
    c.implemented = [this](Command command) { return m_commands.implemented(command); };
    for (auto it = m_bound.cbegin(); it != m_bound.cend(); ++it) {
        const bool enabled = commandEnabled(it.key(), c);
        for (QAction* bound : it.value())
            bound->setEnabled(enabled);
    }
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
    const QString readOut = caretStatusText(p.line, p.column, p.totalLines);
    if (!m_statusHeld && readOut != m_readOutUnderNote) {
        if (!m_readOutUnderNote.isEmpty()) m_statusPanels[0]->setToolTip({});
        m_readOutUnderNote.clear();
        m_statusPanels[0]->setText(readOut);
    }
    m_statusPanels[1]->setText(m_store.plainTextMode() ? plainTextModeStatus() : QString());
}

void Tmain_fm::holdStatusText(const QString& text) {
    m_statusHeld = true;
    m_readOutUnderNote.clear();
    m_statusPanels[0]->setText(text);
    m_statusPanels[0]->setToolTip(text); // the whole of it, when the panel is too narrow
    m_statusPanels[0]->repaint();        // at once, also when the event loop is slow to come back
}

void Tmain_fm::releaseStatusText() {
    m_statusHeld = false;
    m_statusPanels[0]->setToolTip({});
}

void Tmain_fm::noteStatusText(const QString& text) {
    if (m_statusHeld) return;
    if (text.isEmpty()) {
        m_statusPanels[0]->setToolTip({});
        m_readOutUnderNote.clear();
        status_update();
        return;
    }
    const EditPane::CaretPosition p = m_edit->caretPosition();
    m_readOutUnderNote = caretStatusText(p.line, p.column, p.totalLines);
    m_statusPanels[0]->setText(text);
    m_statusPanels[0]->setToolTip(text);
}

QString Tmain_fm::statusPanelText(int panel) const {
    return m_statusPanels[panel]->text();
}

int Tmain_fm::runModal(QDialog& dialog) {
    return m_modalRunner ? m_modalRunner(dialog) : dialog.exec();
}

void Tmain_fm::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    editor_layout();
    stbarResize();
}

bool Tmain_fm::event(QEvent* event) {
    if (event->type() == QEvent::Show) m_controllers->startup().FormShow();
    if (event->type() == QEvent::WindowActivate) {
        m_controllers->startup().form_active();
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
    m_controllers->opening().dragEnter(*event);
}

void Tmain_fm::dropEvent(QDropEvent* event) {
    m_controllers->opening().drop(*event);
}

void Tmain_fm::closeEvent(QCloseEvent* event) {
    if (!m_controllers->closeQuery()) {
        event->ignore();
        return;
    }
    m_controllers->closed();
    event->accept();
}

} // namespace pote
