#include "app/ui/vertical_commands.h"

#include "app/export_status.h"
#include "app/file_dialog_kinds.h"
#include "app/reporter.h"
#include "app/ui/app_context.h"
#include "app/ui/pane_insertion.h"
#include "app/ui/section_binding.h"
#include "core/cp932.h"
#include "core/export_target.h"
#include "core/prompter.h"
#include "core/section_store.h"
#include "core/text_lines.h"
#include "editing/ui/edit_pane.h"
#include "settings/settings_values.h"
#include "vertical/ruby_markup.h"
#include "vertical/ui/font_file.h"
#include "vertical/ui/page_printing.h"
#include "vertical/ui/vertical_font.h"

#include <QCoreApplication>
#include <QDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QProgressDialog>
#include <QTextBlock>

namespace pote {

namespace {

QString rubyCaption() {
    return QStringLiteral("ルビ");
}

QString noFontMessage(const QString& face) {
    return QStringLiteral("「%1」も、ほかの日本語のフォントも見つからないにゃ。\r\n"
                          "縦書きにはIPA明朝などのフォントが要るにゃん。")
        .arg(face);
}

QString faceRefusedMessage(const QString& face, const vertical::FaceLookup& lookup) {
    const QString why =
        lookup.problem == vertical::FaceLookup::Problem::NoJapanese
            ? QStringLiteral("「%1」には日本語の字（%2）がないにゃ。").arg(face, lookup.lacks)
            : QStringLiteral("「%1」というフォントは入っていないにゃ。").arg(face);
    return why + QStringLiteral("\r\n代わりのフォントで縦書きにするにゃん。");
}

QString nulPrintedBlankMessage(const QStringList& sections) {
    return QStringLiteral("セクション %1 のテキストに NUL（コード0）が入ってたにゃ。\r\n"
                          "PDFでは空いたマスにしたにゃん。")
        .arg(sections.join(QStringLiteral(", ")));
}

QString rubyAcrossLinesMessage() {
    return QStringLiteral("ルビは一行の中の文字にだけ振れるにゃ。");
}

QString rubyRefusedMessage() {
    return QStringLiteral("そのルビは振れないにゃ。\r\n"
                          "よみがなは50文字まで、《 》｜は使えないにゃん。");
}

QString printFailedMessage() {
    return QStringLiteral("縦書きの印刷を始められなかったにゃ。ゴメンにゃん。");
}

// The byte offset in text of the caret at unit `unit` of line `line`.
quint32 caretByte(QByteArrayView text, int line, int unit) {
    qsizetype start = 0;
    for (int i = 0; i < line && start < text.size(); ++i)
        start = line_at(text, start).next;
    const qsizetype end = line_at(text, start).end;
    const QString lineText = cp932::decode(text.sliced(start, end - start));
    return quint32(start + cp932::unitToByteOffset(lineText, unit));
}

} // namespace

VerticalCommands::VerticalCommands(AppContext& context) : m_context(context), m_pdfJob(context) {
    context.commands.registerCommand(Command::VerticalPreview,
                                     [this] { nx_vertical_previewClick(); });
    context.commands.registerCommand(Command::InsertRuby, [this] { nx_ruby_insClick(); });
    // Typing goes on while the preview is open; it catches up when the typing pauses.
    m_follow.setSingleShot(true);
    m_follow.setInterval(250);
    QObject::connect(&m_follow, &QTimer::timeout, [this] { followText(); });
    QObject::connect(&context.pane, &EditPane::textEdited, &m_follow, [this] {
        if (m_preview && m_preview->isVisible()) m_follow.start();
    });
}

VerticalCommands::~VerticalCommands() {
    m_pdfJob.stopAndWait();
    delete m_preview.data();
}

vertical::DocumentSnapshot VerticalCommands::snapshot(bool allSections) {
    const SectionStore& store = m_context.store;
    vertical::DocumentSnapshot s;
    const QTextCursor cursor = m_context.pane.textCursor();
    const QByteArray pane = m_context.binding.paneBytesReencoded();
    s.caretByte = caretByte(pane, cursor.blockNumber(), cursor.positionInBlock());
    const auto sectionAt = [&](int i) {
        return vertical::SectionSource{i == store.current ? pane : store.section(i).text,
                                       store.section(i).name};
    };
    if (allSections) {
        for (int i = 0; i < store.count(); ++i)
            s.sections.append(sectionAt(i));
        s.current = store.current;
    } else {
        s.sections.append(sectionAt(store.current));
    }
    s.documentSection = store.current;
    s.documentSectionCount = store.count();
    return s;
}

std::shared_ptr<vertical::VerticalFont> VerticalCommands::font(const QString& face) {
    if (const auto known = m_fonts.value(face)) return known;
    const vertical::FaceLookup lookup = vertical::lookUpFace(face);
    if (!lookup.file) {
        m_context.reporter.refusal(faceRefusedMessage(face, lookup));
        return nullptr;
    }
    return loadFont(face, *lookup.file);
}

std::shared_ptr<vertical::VerticalFont> VerticalCommands::standInFont() {
    const QString face = vertical::defaultVerticalFace();
    if (const auto known = m_fonts.value(face)) return known;
    const std::optional<vertical::FontFile> file = vertical::findFontFile(face);
    if (!file) {
        m_context.reporter.refusal(noFontMessage(face));
        return nullptr;
    }
    return loadFont(face, *file);
}

std::shared_ptr<vertical::VerticalFont> VerticalCommands::loadFont(const QString& face,
                                                                   const vertical::FontFile& file) {
    Result<std::unique_ptr<vertical::VerticalFont>> loaded = vertical::VerticalFont::load(file);
    if (!loaded) {
        m_context.reporter.report(loaded.error());
        return nullptr;
    }
    std::shared_ptr<vertical::VerticalFont> font = std::move(loaded).value();
    m_fonts.insert(face, font);
    return font;
}

void VerticalCommands::nx_vertical_previewClick() {
    if (!m_preview) {
        // A face that cannot be had (the reporter has said why) gives way to the default one;
        // without any font there is nothing to show.
        QString& face = m_context.settings.vertical.face;
        if (!font(face)) {
            if (!standInFont()) return;
            face = vertical::defaultVerticalFace();
        }
        m_preview =
            new vertical::VerticalPreview(*this, storedOptions(), m_context.view.dialogParent());
    }
    m_preview->reload();
    m_preview->show();
    m_preview->raise();
    m_preview->activateWindow();
}

vertical::PreviewOptions VerticalCommands::storedOptions() const {
    const VerticalSettings& v = m_context.settings.vertical;
    vertical::PreviewOptions options;
    options.format =
        vertical::PageFormat::fromName(v.format).value_or(vertical::PageFormat::genkou());
    options.format.sectionNameFirst = v.sectionName;
    options.format.indentParagraphs = v.indent;
    options.face = v.face;
    options.allSections = v.allSections;
    options.zoom = v.zoom;
    return options;
}

void VerticalCommands::keepOptions(const vertical::PreviewOptions& options) {
    VerticalSettings& v = m_context.settings.vertical;
    v.format = options.format.name();
    v.sectionName = options.format.sectionNameFirst;
    v.indent = options.format.indentParagraphs;
    v.face = options.face;
    v.allSections = options.allSections;
    v.zoom = options.zoom;
}

void VerticalCommands::followText() {
    if (!m_preview || !m_preview->isVisible()) return;
    const SectionStore& store = m_context.store;
    if (!m_preview->follows(store.current, store.count())) {
        m_preview->reload();
        return;
    }
    m_preview->sectionChanged(
        store.current, {m_context.binding.paneBytesReencoded(), store.section(store.current).name});
}

void VerticalCommands::nx_ruby_insClick() {
    Prompter& prompter = m_context.prompter;
    QString base = m_context.pane.textCursor().selectedText();
    if (base.contains(QChar::ParagraphSeparator) || base.contains(u'\n')) {
        m_context.reporter.refusal(rubyAcrossLinesMessage());
        return;
    }
    if (base.isEmpty()) {
        const std::optional<QString> typed =
            prompter.inputText(rubyCaption(), QStringLiteral("ルビを振る文字を入れてにゃ。"), {});
        if (!typed || typed->isEmpty()) return;
        base = *typed;
    }
    const std::optional<QString> reading = prompter.inputText(
        rubyCaption(), QStringLiteral("「%1」のよみがなを入れてにゃ。").arg(base), {});
    if (!reading || reading->isEmpty()) return;
    const QByteArray baseBytes = cp932::encodeFromPane(base);
    const QByteArray readingBytes = cp932::encodeFromPane(*reading);
    if (!vertical::rubyReadsBack(baseBytes, readingBytes)) {
        m_context.reporter.refusal(rubyRefusedMessage());
        return;
    }
    insertAtCaret(m_context, vertical::rubyMarkup(baseBytes, readingBytes));
    // The preview shows it at once, not after the typing pause.
    m_follow.stop();
    followText();
}

vertical::PageProgress VerticalCommands::progressShown(const QString& doing) {
    auto dialog = std::make_shared<QProgressDialog>(doing, QStringLiteral("中止"), 0, 1,
                                                    m_preview ? static_cast<QWidget*>(m_preview)
                                                              : m_context.view.dialogParent());
    dialog->setWindowTitle(QStringLiteral("縦書きプレビュー"));
    dialog->setWindowModality(Qt::WindowModal);
    dialog->setMinimumDuration(500);
    return [dialog, doing](int done, int total) {
        dialog->setMaximum(total);
        dialog->setLabelText(QStringLiteral("%1 %2 / %3").arg(doing).arg(done).arg(total));
        dialog->setValue(done);
        QCoreApplication::processEvents();
        return !dialog->wasCanceled();
    };
}

void VerticalCommands::exportPdf() {
    if (!m_preview || m_pdfJob.running()) return;
    const FileDialogRequest request = pdfSaveRequest(
        QStringLiteral("PDFに書き出す"), m_context.settings.WorkDir, m_context.store.displayName);
    const std::optional<QString> path = m_context.prompter.saveFile(request);
    if (!path || path->isEmpty()) return;
    // The word on an earlier file must not stand over this one's failure.
    m_context.view.noteStatusText({});
    if (const Result<void> target = exportTargetCheck(*path, m_context.store.documentPath);
        !target) {
        m_context.reporter.report(target.error());
        return;
    }
    const std::shared_ptr<vertical::VerticalFont> font = m_preview->sharedFont();
    if (!font) return;
    const vertical::DocumentSnapshot shot = snapshot(m_context.settings.vertical.allSections);
    QStringList withNul;
    for (qsizetype i = 0; i < shot.sections.size(); ++i)
        if (shot.sections[i].text.contains('\0'))
            withNul.append(QString::number(
                (m_context.settings.vertical.allSections ? int(i) : shot.documentSection) + 1));
    // The pages are drawn on a worker from the snapshot; the font is only read there (shaping),
    // never drawn with Qt, so the preview may go on painting with it.
    auto pages = std::make_shared<vertical::DocumentPages>(shot.sections, m_preview->format());
    m_pdfProgress = new QProgressDialog(QStringLiteral("PDFに書き出しているにゃ…"),
                                        QStringLiteral("中止"), 0, 1, m_preview);
    m_pdfProgress->setWindowTitle(QStringLiteral("縦書きプレビュー"));
    m_pdfProgress->setWindowModality(Qt::WindowModal);
    m_pdfProgress->setMinimumDuration(500);
    m_pdfProgress->setAutoReset(false);
    QObject::connect(m_pdfProgress, &QProgressDialog::canceled, [this] { m_pdfJob.stop(); });
    m_pdfJob.start(
        [this, path = *path, title = m_context.store.displayName, pages,
         font](const BackgroundJob::StopFlag& stop) {
            return vertical::writePdf(
                path, title, *pages, *font, [this, &stop](int done, int total) {
                    m_pdfJob.postProgress([this, done, total] { showPdfProgress(done, total); });
                    return !stop.load();
                });
        },
        [this, path = *path, withNul](const Result<int>& written) {
            delete m_pdfProgress.data();
            m_pdfJob.finish([this, path, written, withNul] { reportPdf(path, written, withNul); });
        });
}

void VerticalCommands::showPdfProgress(int done, int total) {
    if (!m_pdfProgress) return;
    m_pdfProgress->setMaximum(total);
    m_pdfProgress->setLabelText(
        QStringLiteral("PDFに書き出しているにゃ… %1 / %2").arg(done).arg(total));
    m_pdfProgress->setValue(done);
}

void VerticalCommands::reportPdf(const QString& path, const Result<int>& written,
                                 const QStringList& withNul) {
    // A stop is the user's own: it is reported as nothing.
    if (!written) {
        m_context.reporter.report(written.error());
        return;
    }
    m_context.view.noteStatusText(exportedStatusText(path, *written, ExportUnit::Pages));
    if (!withNul.isEmpty())
        m_context.prompter.message(MessageKind::Warning, Answer::Ok,
                                   nulPrintedBlankMessage(withNul));
}

void VerticalCommands::print() {
    if (!m_preview) return;
    const std::shared_ptr<vertical::VerticalFont> font = m_preview->sharedFont();
    if (!font) return;
    vertical::DocumentPages pages(snapshot(m_context.settings.vertical.allSections).sections,
                                  m_preview->format());
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(m_context.store.displayName);
    printer.setFullPage(true);
    vertical::setUpSheet(printer, pages.format());
    QPrintDialog dialog(&printer, m_preview);
    if (m_context.view.runModal(dialog) != QDialog::Accepted) return;
    const Result<int> printed = vertical::printPages(
        printer, pages, *font, progressShown(QStringLiteral("印刷しているにゃ…")));
    if (!printed && printed.error().kind != Error::Kind::Cancelled)
        m_context.reporter.refusal(printFailedMessage());
}

} // namespace pote
