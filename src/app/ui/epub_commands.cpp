#include "app/ui/epub_commands.h"

#include "app/export_status.h"
#include "app/file_dialog_kinds.h"
#include "app/reporter.h"
#include "app/ui/app_context.h"
#include "app/ui/section_binding.h"
#include "core/export_target.h"
#include "core/prompter.h"
#include "core/section_store.h"
#include "epub/epub_messages.h"
#include "epub/epub_writer.h"
#include "epub/ui/generated_cover.h"
#include "settings/settings_values.h"

#include <QDialog>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>

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
    EpubSettings& remembered = m_context.settings.epub;
    const std::optional<EpubChoices> chosen = askChoices();
    if (!chosen) return;
    // The cover first: an image that will not do is told before the writer picks a file.
    std::optional<epub::BookCover> cover =
        coverFor(*chosen, epub::bookTitle(chosen->title, store.displayName));
    if (!cover) return;
    const FileDialogRequest request = dialog_setup(
        DialogKind::Epub, DialogDirection::Save, m_context.settings.WorkDir, store.displayName, {});
    const std::optional<QString> target = m_context.prompter.saveFile(request);
    if (!target) return;
    const QString path = *target;
    m_context.settings.WorkDir = QFileInfo(path).absolutePath();
    if (const Result<void> checked = exportTargetCheck(path, store.documentPath); !checked) {
        m_context.reporter.report(checked.error());
        return;
    }
    // What the writer said is theirs from now on, whatever becomes of this book.
    remembered.author = chosen->author;
    remembered.authorSort = chosen->authorSort;
    remembered.horizontal = chosen->horizontal;
    rememberBook(remembered.books, store.documentPath, chosen->identifier);

    epub::Book book;
    book.sections = epub::sectionsOf(store.document());
    const int sectionCount = int(book.sections.size());
    book.options.title = epub::bookTitle(chosen->title, store.displayName);
    book.options.author = chosen->author;
    book.options.authorSort = chosen->authorSort;
    book.options.horizontal = chosen->horizontal;
    book.options.identifier = chosen->identifier;
    book.options.modified = QDateTime::currentDateTimeUtc();
    book.options.cover = std::move(*cover);

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
        [this, path, sectionCount](const Result<epub::EpubWrite>& written) {
            m_context.view.releaseStatusText();
            m_context.view.status_update();
            if (written)
                m_context.view.noteStatusText(
                    exportedStatusText(path, sectionCount, ExportUnit::Sections));
            m_job.finish([this, path, written] { report(path, written); });
        });
}

std::optional<EpubChoices> EpubCommands::askChoices() {
    const SectionStore& store = m_context.store;
    const EpubSettings& remembered = m_context.settings.epub;
    EpubChoices start;
    start.title = store.displayName;
    start.author = remembered.author;
    start.authorSort = remembered.authorSort;
    start.horizontal = remembered.horizontal;
    // The document's book keeps the identifier of its first export; a document never saved
    // (it has no file to remember it by), or a copy, gets a new one unless the writer takes
    // another book's.
    start.identifier = rememberedIdentifier(remembered.books, store.documentPath);
    if (start.identifier.isEmpty()) start.identifier = epub::newBookIdentifier();
    const auto chooseCover = [this] {
        return m_context.prompter.openFile(coverImageRequest(m_context.settings.WorkDir));
    };
    EpubExportDialog dialog(start, otherBooks(remembered.books, store.documentPath), chooseCover,
                            m_context.view.dialogParent());
    if (m_context.view.runModal(dialog) != QDialog::Accepted) return std::nullopt;
    return dialog.choices();
}

std::optional<epub::BookCover> EpubCommands::coverFor(const EpubChoices& chosen,
                                                      const QString& title) {
    if (!chosen.coverPath.isEmpty()) {
        Result<epub::BookCover> image = epub::readCoverImage(chosen.coverPath);
        if (!image) {
            m_context.reporter.report(image.error());
            return std::nullopt;
        }
        return std::move(*image);
    }
    if (!chosen.generatedCover) return epub::BookCover{};
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    Result<epub::BookCover> drawn =
        epub::generatedCover(title, chosen.author, m_context.settings.vertical.face);
    QGuiApplication::restoreOverrideCursor();
    // Without a Japanese font there is nothing to draw with: the book goes without a cover.
    return drawn ? std::move(*drawn) : epub::BookCover{};
}

void EpubCommands::report(const QString& path, const Result<epub::EpubWrite>& written) {
    Prompter& prompter = m_context.prompter;
    if (written) {
        if (written->droppedPlaces > 0)
            prompter.message(MessageKind::Warning, Answer::Yes,
                             epubmsg::droppedCharacters(written->dropped, written->droppedPlaces));
        if (written->userDefinedPlaces > 0)
            prompter.message(
                MessageKind::Warning, Answer::Yes,
                epubmsg::userDefinedCharacters(written->userDefined, written->userDefinedPlaces));
        if (written->droppedPlaces == 0 && written->userDefinedPlaces == 0)
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
