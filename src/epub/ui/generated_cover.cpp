#include "epub/ui/generated_cover.h"

#include "core/cp932.h"
#include "vertical/page_geometry.h"
#include "vertical/ui/font_file.h"
#include "vertical/ui/page_painter.h"
#include "vertical/ui/vertical_font.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>

#include <algorithm>

namespace pote::epub {

namespace {

const QColor kPaper(243, 235, 221);

// Sets text in one to three vertical lines centred in area, the characters as large as the
// area allows for a line of `longest` of them.
void paintColumns(QPainter& painter, vertical::VerticalFont& font, const QString& text, QRectF area,
                  int shortest, int longest, int maxLines) {
    const QByteArray bytes = cp932::encode(text);
    if (bytes.isEmpty()) return;
    vertical::PageFormat format;
    format.grid = false;
    const int chars = static_cast<int>(text.size());
    format.charsPerLine = std::clamp(chars, shortest, longest);
    format.linesPerPage =
        std::clamp((chars + format.charsPerLine - 1) / format.charsPerLine, 1, maxLines);
    vertical::SectionLayout layout(bytes, {}, format);
    const vertical::PageGeometry geometry(format, area.size());
    vertical::PagePainter pages(font, geometry, false);
    painter.save();
    painter.translate(area.topLeft());
    pages.paint(painter, layout.page(0), 0);
    painter.restore();
}

} // namespace

Result<BookCover> generatedCover(const QString& title, const QString& author, const QString& face) {
    const std::optional<vertical::FontFile> file = vertical::findFontFile(face);
    if (!file)
        return Error::refused(
            QStringLiteral("no font that can show Japanese (asked for %1)").arg(face));
    Result<std::unique_ptr<vertical::VerticalFont>> font = vertical::VerticalFont::load(*file);
    if (!font) return font.error();

    QImage image(kGeneratedCoverSize, QImage::Format_RGB32);
    image.fill(kPaper);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        const qreal w = kGeneratedCoverSize.width(), h = kGeneratedCoverSize.height();
        // A double rule around the sheet, in the colour of manuscript paper's grid.
        painter.setPen(QPen(vertical::kGridColour, 10));
        painter.drawRect(QRectF(70, 70, w - 140, h - 140));
        painter.setPen(QPen(vertical::kGridColour, 4));
        painter.drawRect(QRectF(100, 100, w - 200, h - 200));
        paintColumns(painter, **font, title, QRectF(120, 180, w - 240, h * 0.68), 6, 12, 3);
        paintColumns(painter, **font, author, QRectF(160, h * 0.62, w * 0.42, h * 0.34), 5, 12, 2);
    }
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG"))
        return Error::io({}, QStringLiteral("the cover could not be made as a PNG image"));
    return BookCover{BookCover::Format::Png, png};
}

} // namespace pote::epub
