#include "cli/pdf_export.h"

#include "vertical/ui/font_file.h"
#include "vertical/ui/page_printing.h"
#include "vertical/ui/vertical_font.h"

#include <QGuiApplication>

#include <memory>

namespace pote::cli {

namespace {

// Drawing glyphs needs a Gui application; with no display there is the offscreen platform.
void needGui() {
    if (QCoreApplication::instance()) return;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "ptmtool";
    static char* argv[] = {name, nullptr};
    static QGuiApplication app(argc, argv);
}

} // namespace

PdfResult writeVerticalPdf(const PdfRequest& request) {
    needGui();
    PdfResult result;
    const std::optional<vertical::FontFile> file = vertical::findFontFile(request.face);
    if (!file) {
        result.error =
            QStringLiteral("no font that can show Japanese (asked for %1)").arg(request.face);
        return result;
    }
    std::unique_ptr<vertical::VerticalFont> font =
        vertical::VerticalFont::load(*file, result.error);
    if (!font) {
        result.error = QStringLiteral("cannot read the font %1: %2").arg(file->path, result.error);
        return result;
    }
    vertical::DocumentPages pages(request.sections, request.format);
    const vertical::PrintOutcome outcome =
        vertical::writePdf(request.out, request.title, pages, *font, {});
    result.ok = outcome.status == vertical::PrintOutcome::Status::Done;
    result.pages = outcome.pages;
    if (!result.ok)
        result.error = QStringLiteral("cannot write %1: %2").arg(request.out, outcome.error);
    return result;
}

} // namespace pote::cli
