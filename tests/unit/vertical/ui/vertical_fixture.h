#pragma once
// The drawing tests' common ground: a Gui application, the default face, and pages written by
// hand, one upright character per cell, as the layout would hand them over.

#include "vertical/layout.h"
#include "vertical/ui/font_file.h"
#include "vertical/ui/page_painter.h"
#include "vertical/ui/vertical_font.h"

#include <QGuiApplication>
#include <QTransform>

#include <gtest/gtest.h>

#include <memory>

namespace pote::vertical::test {

class VerticalDrawing : public testing::Test {
protected:
    static void SetUpTestSuite() {
        static int argc = 1;
        static char name[] = "vertical_test";
        static char* argv[] = {name, nullptr};
        if (!QGuiApplication::instance()) new QGuiApplication(argc, argv);
    }

    static std::unique_ptr<VerticalFont> loadFont(VerticalFont::Forms forms) {
        const std::optional<FontFile> file = findFontFile(defaultVerticalFace());
        if (!file) return nullptr;
        Result<std::unique_ptr<VerticalFont>> font = VerticalFont::load(*file, forms);
        return font ? std::move(font).value() : nullptr;
    }
};

// A line of upright characters.
inline Line uprightLine(QStringView text, quint32 offset = 0) {
    Line line;
    for (qsizetype i = 0; i < text.size(); ++i) {
        Cell cell;
        cell.ch[0] = text[i].unicode();
        cell.offset = offset + quint32(i) * 2;
        line.cells.append(cell);
    }
    return line;
}

inline Cell halfWidthCell(CellKind kind, char a, char b = 0) {
    Cell cell;
    cell.kind = kind;
    cell.ch[0] = char16_t(a);
    cell.ch[1] = char16_t(b);
    return cell;
}

// Where a placed glyph's ink lies on the page.
inline QRectF inkOnPage(VerticalFont& font, const GlyphLayer& layer, qsizetype i) {
    const QRectF ink =
        font.raw(layer.pixelSize).boundingRect(layer.glyphs[i]).translated(layer.positions[i]);
    return layer.turned ? QTransform().rotate(90).mapRect(ink) : ink;
}

} // namespace pote::vertical::test
