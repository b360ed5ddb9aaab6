#include "app/ui/epub_commands.h"

#include "app/file_dialog_kinds.h"
#include "app/reporter.h"
#include "app/ui/app_context.h"
#include "app/ui/section_binding.h"
#include "core/export_target.h"
#include "core/prompter.h"
#include "core/section_store.h"
#include "epub/epub_messages.h"
#include "epub/epub_writer.h"
#include "settings/settings_values.h"

#include <QDir>
#include <QFileInfo>

namespace pote {

EpubCommands::EpubCommands(AppContext& context, QObject* parent)
    : QObject(parent), m_context(context), m_job(context) {
    context.commands.registerCommand(Command::EpubExport, [this] { nx_epub_saveClick(); });
}

EpubCommands::~EpubCommands() {
    m_job.stopAndWait();
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
    if (const Result<void> target = exportTargetCheck(path, store.documentPath); !target) {
        m_context.reporter.report(target.error());
        return;
    }

    epub::Book book;
    book.sections = epub::sectionsOf(store.document());
    book.options.title = epub::bookTitle({}, store.displayName);
    // A document never saved has no path of its own; the book's stands in for it.
    book.options.identifier =
        epub::bookIdentifier(store.documentPath.isEmpty() ? path : store.documentPath);
    book.options.modified = QDateTime::currentDateTimeUtc();

    m_shownPercent = -1;
    m_context.view.holdStatusText(epubmsg::progressStatusText(0, 1));
    // The worker only posts the figures; the panel is set on the window's thread.
    const auto progress = [this](qint64 done, qint64 total) {
        m_job.postProgress([this, done, total] {
            const int percent = total > 0 ? int(done * 100 / total) : 100;
            if (percent == m_shownPercent) return;
            m_shownPercent = percent;
            m_context.view.holdStatusText(epubmsg::progressStatusText(done, total));
        });
    };
    m_job.start(
        [path, book = std::move(book), progress](const BackgroundJob::StopFlag& stop) {
            return epub::write_epub(path, book, &stop, progress);
        },
        [this, path](const Result<epub::EpubWrite>& written) {
            m_context.view.releaseStatusText();
            m_context.view.status_update();
            m_job.finish([this, path, written] { report(path, written); });
        });
}

void EpubCommands::report(const QString& path, const Result<epub::EpubWrite>& written) {
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
        if (!m_job.closeAsked())
            prompter.message(MessageKind::Information, Answer::Yes, epubmsg::stopped());
    } else {
        m_context.reporter.report(written.error());
    }
}

} // namespace pote
