#include "app/ui/epub_commands.h"

#include "app/file_dialog_kinds.h"
#include "app/reporter.h"
#include "app/ui/app_context.h"
#include "app/ui/section_binding.h"
#include "core/prompter.h"
#include "core/section_store.h"
#include "epub/epub_messages.h"
#include "epub/epub_writer.h"
#include "settings/settings_values.h"

#include <QDir>
#include <QFileInfo>
#include <QWidget>
#include <QtConcurrent/QtConcurrentRun>

namespace pote {

EpubCommands::EpubCommands(AppContext& context, QObject* parent)
    : QObject(parent), m_context(context) {
    context.commands.registerCommand(Command::EpubExport, [this] { nx_epub_saveClick(); });
}

EpubCommands::~EpubCommands() {
    m_work.stopAndWait();
}

void EpubCommands::nx_epub_saveClick() {
    if (running()) return;
    SectionStore& store = m_context.store;
    m_context.binding.section_commit(store.current);
    const FileDialogRequest request = dialog_setup(
        DialogKind::Epub, DialogDirection::Save, m_context.settings.WorkDir, store.displayName, {});
    const std::optional<QString> chosen = m_context.prompter.saveFile(request);
    if (!chosen) return;
    const QString path = *chosen;
    m_context.settings.WorkDir = QFileInfo(path).absolutePath();
    if (epub::isSameFile(path, store.documentPath)) {
        m_context.reporter.refusal(epubmsg::targetIsTheDocument());
        return;
    }

    epub::Book book;
    book.sections = epub::sectionsOf(store.document());
    book.options.title = epub::bookTitle({}, store.displayName);
    // The document's book keeps the identifier of its first export; a document never saved
    // gets a new one each time (it has no file to remember it by).
    EpubSettings& remembered = m_context.settings.epub;
    book.options.identifier = rememberedIdentifier(remembered.books, store.documentPath);
    if (book.options.identifier.isEmpty()) book.options.identifier = epub::newBookIdentifier();
    rememberBook(remembered.books, store.documentPath, book.options.identifier);
    book.options.modified = QDateTime::currentDateTimeUtc();

    m_work.begin();
    m_work.enterBusy();
    m_shownPercent = -1;
    m_context.view.holdStatusText(epubmsg::progressStatusText(0, 1));
    // The worker only posts the figures; the panel is set here, on the window's thread.
    const auto progress = [this](qint64 done, qint64 total) {
        QMetaObject::invokeMethod(
            this,
            [this, done, total] {
                const int percent = total > 0 ? int(done * 100 / total) : 100;
                if (!m_work.busy() || percent == m_shownPercent) return;
                m_shownPercent = percent;
                m_context.view.holdStatusText(epubmsg::progressStatusText(done, total));
            },
            Qt::QueuedConnection);
    };
    m_work.worker = QtConcurrent::run([this, path, book = std::move(book), progress] {
        Result<epub::EpubWrite> written = epub::write_epub(path, book, &m_work.cancel, progress);
        // Posted after every progress figure, so handled after them.
        QMetaObject::invokeMethod(
            this,
            [this, path, written = std::move(written)] {
                m_context.commands.runAsCommand([this] { leaveBusy(); });
                // The window gives its commands back and hides "中止" when that command returns;
                // the outcome follows as a command of its own, so it is read in that state.
                QMetaObject::invokeMethod(
                    this,
                    [this, path, written] {
                        m_context.commands.runAsCommand([&] { report(path, written); });
                    },
                    Qt::QueuedConnection);
            },
            Qt::QueuedConnection);
    });
}

void EpubCommands::leaveBusy() {
    m_work.worker.waitForFinished(); // past its last step already
    m_work.leaveBusy();
    m_reportDue = true;
    m_context.view.releaseStatusText();
    m_context.view.status_update();
}

void EpubCommands::report(const QString& path, const Result<epub::EpubWrite>& written) {
    m_reportDue = false;
    Prompter& prompter = m_context.prompter;
    if (written) {
        if (written->droppedPlaces > 0)
            prompter.message(MessageKind::Warning, Answer::Yes,
                             epubmsg::droppedCharacters(written->dropped, written->droppedPlaces));
        else
            prompter.message(MessageKind::Information, Answer::Yes,
                             epubmsg::finished(QDir::toNativeSeparators(path)));
    } else if (written.error().kind == Error::Kind::Cancelled) {
        // Closing the window stopped it: the user knows.
        if (!m_work.closeAsked())
            prompter.message(MessageKind::Information, Answer::Yes, epubmsg::stopped());
    } else {
        m_context.reporter.report(written.error());
    }
    m_work.closeWindowIfAsked(m_context.view.dialogParent()->window());
}

} // namespace pote
