#include "app/ui/open_commands.h"

#include "app/document_names.h"
#include "app/reporter.h"
#include "app/ui/app_context.h"
#include "app/ui/document_commands.h"
#include "app/ui/linked_text_commands.h"
#include "app/ui/section_binding.h"
#include "app/ui/text_file_commands.h"
#include "app/ui/utf8_question.h"
#include "core/section_store.h"
#include "textio/open_by_type.h"

#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QPointer>
#include <QWidget>

namespace pote {

namespace {

// Parts of the window that take dropped text (the pane, the name edit) would paste a dropped
// file's address as text; files dropped there go to the window's handling instead.
class DropFilter : public QObject {
public:
    DropFilter(OpenCommands& commands, QObject* parent) : QObject(parent), m_commands(commands) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        switch (event->type()) {
        case QEvent::DragEnter:
        case QEvent::DragMove: {
            auto* drag = static_cast<QDragMoveEvent*>(event);
            if (!drag->mimeData() || !drag->mimeData()->hasUrls()) break;
            m_commands.dragEnter(*drag);
            return true;
        }
        case QEvent::Drop: {
            auto* drop = static_cast<QDropEvent*>(event);
            if (!drop->mimeData() || !drop->mimeData()->hasUrls()) break;
            m_commands.drop(*drop);
            return true;
        }
        default:
            break;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    OpenCommands& m_commands;
};

OpenTarget targetOf(const SectionStore& store) {
    return {store.count(), store.documentPath, store.isModified()};
}

} // namespace

OpenCommands::OpenCommands(AppContext& context, DocumentCommands& documents,
                           TextFileCommands& texts, LinkedTextCommands& linked)
    : m_context(context), m_documents(documents), m_texts(texts), m_linked(linked) {
    QWidget* window = context.view.dialogParent();
    window->setAcceptDrops(true);
    m_dropFilter = new DropFilter(*this, window);
    // Only the window's own parts: dialogs it owns keep what they do with drops.
    for (QWidget* part : window->findChildren<QWidget*>())
        if (part->acceptDrops() && part->window() == window) part->installEventFilter(m_dropFilter);
}

OpenCommands::~OpenCommands() {
    delete m_dropFilter;
}

void OpenCommands::dragEnter(QDragMoveEvent& event) {
    const QMimeData* data = event.mimeData();
    const bool wanted =
        data && data->hasUrls() &&
        decideDroppedFiles(data->urls(), targetOf(m_context.store)).action != OpenAction::Nothing;
    if (wanted)
        event.acceptProposedAction();
    else
        event.ignore();
}

void OpenCommands::drop(QDropEvent& event) {
    const QMimeData* data = event.mimeData();
    if (!data || !data->hasUrls()) {
        event.ignore();
        return;
    }
    event.acceptProposedAction();
    // The drag's source waits for the drop to end; the questions the open may ask come after.
    const QList<QUrl> urls = data->urls();
    QPointer<QWidget> window = m_context.view.dialogParent();
    QMetaObject::invokeMethod(
        window,
        [this, urls] { m_context.commands.runAsCommand([this, urls] { on_files_dropped(urls); }); },
        Qt::QueuedConnection);
}

void OpenCommands::bringWindowToFront() {
    QWidget* window = m_context.view.dialogParent();
    window->show();
    window->raise();
    window->activateWindow();
}

void OpenCommands::on_files_dropped(const QList<QUrl>& urls) {
    const OpenByType open = decideDroppedFiles(urls, targetOf(m_context.store));
    if (open.action == OpenAction::Nothing) return;
    bringWindowToFront();
    carryOut(open);
}

void OpenCommands::open_from_command_line(const QStringList& parameters) {
    const Result<CommandLineOpen> decision =
        decideCommandLineOpen(parameters, QDir::currentPath(), targetOf(m_context.store));
    if (!decision) {
        m_context.reporter.report(decision.error());
        return;
    }
    const OpenByType& open = decision->open;
    if (!carryOut(open)) return;
    // Started with a text, the title names it whole.
    if (open.action == OpenAction::LoadTextIntoCurrent && m_context.store.plainTextMode())
        m_context.view.setTitle(documentTitle(open.path));
}

bool OpenCommands::carryOut(const OpenByType& open) {
    SectionStore& store = m_context.store;
    if (open.askToSave) {
        m_context.binding.section_commit(store.current);
        if (!m_documents.confirm_discard()) return false;
    }
    switch (open.action) {
    case OpenAction::Nothing:
        return false;
    case OpenAction::LoadTextIntoCurrent: {
        m_texts.readyForTextDocument(open.beginPlainTextMode);
        Utf8Choice utf8 = utf8ChoiceAsking(m_context.prompter);
        if (!m_texts.load_text_into_current(open.path, utf8)) return false;
        if (open.beginPlainTextMode) m_texts.enterPlainTextMode(open.path);
        reportUtf8Losses(m_context.prompter, utf8);
        return true;
    }
    case OpenAction::LinkedTextRead:
        return m_linked.linked_text_read(open.path);
    case OpenAction::DocumentRead:
        return m_documents.document_read(open.path);
    }
    return false;
}

} // namespace pote
