#include "cli/pdf_export.h"

#include "cli/offscreen_gui.h"

#include "vertical/ui/font_file.h"
#include "vertical/ui/page_printing.h"
#include "vertical/ui/vertical_font.h"

#include <memory>

namespace pote::cli {

Result<int> writeVerticalPdf(const PdfRequest& request) {
    needGui();
    std::optional<vertical::FontFile> file;
    if (request.faceNamed) {
        const vertical::FaceLookup lookup = vertical::lookUpFace(request.face);
        switch (lookup.problem) {
        case vertical::FaceLookup::Problem::None:
            file = lookup.file;
            break;
        case vertical::FaceLookup::Problem::NotInstalled:
            return Error::refused(
                QStringLiteral("no font named %1 is installed").arg(request.face));
        case vertical::FaceLookup::Problem::NoJapanese:
            return Error::refused(
                QStringLiteral("the font %1 cannot set Japanese: it has no glyph for %2")
                    .arg(request.face, lookup.lacks));
        }
    } else {
        file = vertical::findFontFile(request.face);
    }
    if (!file)
        return Error::refused(
            QStringLiteral("no font that can show Japanese (asked for %1)").arg(request.face));
    Result<std::unique_ptr<vertical::VerticalFont>> font = vertical::VerticalFont::load(*file);
    if (!font)
        return Error::io(
            file->path,
            QStringLiteral("cannot read the font %1: %2").arg(file->path, font.error().text));
    vertical::DocumentPages pages(request.sections, request.format);
    Result<int> written = vertical::writePdf(request.out, request.title, pages, **font, {});
    if (!written)
        return Error::io(
            request.out,
            QStringLiteral("cannot write %1: %2").arg(request.out, written.error().text));
    return written;
}

} // namespace pote::cli
