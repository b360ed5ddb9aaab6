#include "settings/ui/editor_font_qt.h"

#include <QFontDatabase>

#include <algorithm>
#include <cmath>

namespace pote {

QColor colorOf(quint32 bgr) {
    return QColor(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF));
}

quint32 storedColor(const QColor& color) {
    const QColor rgb = color.toRgb();
    return quint32(rgb.red()) | quint32(rgb.green()) << 8 | quint32(rgb.blue()) << 16;
}

bool faceAvailable(const QString& face) {
    if (QFontDatabase::hasFamily(face)) return true;
    const QStringList substitutes = QFont::substitutes(face);
    return std::any_of(substitutes.begin(), substitutes.end(),
                       [](const QString& s) { return QFontDatabase::hasFamily(s); });
}

QFont qfontOf(const EditorFont& font) {
    // Left to itself, fontconfig would answer an unknown face with a Latin font and take the
    // Japanese glyphs from wherever it finds them.
    QFont f(faceAvailable(font.face) ? font.face : kFallbackFace);
    f.setPixelSize(std::max(1, font.pixelSize()));
    f.setBold(font.bold);
    f.setItalic(font.italic);
    f.setUnderline(font.underline);
    f.setStrikeOut(font.strikeOut);
    return f;
}

namespace {

// Whether any of the face's own styles is bold (or slanted, italic or oblique): the font dialog
// offers no other.
bool faceHasStyle(const QString& family, bool (QFont::*has)() const) {
    const QStringList styles = QFontDatabase::styles(family);
    return std::any_of(styles.begin(), styles.end(), [&](const QString& style) {
        return (QFontDatabase::font(family, style, 12).*has)();
    });
}

} // namespace

EditorFont editorFontFrom(const QFont& chosen, EditorFont previous) {
    previous.face = chosen.family();
    if (chosen.pixelSize() > 0)
        previous.setHeight(-chosen.pixelSize());
    else if (chosen.pointSizeF() > 0)
        previous.setSize(int(std::lround(chosen.pointSizeF())));
    previous.bold = chosen.bold();
    previous.italic = chosen.italic();
    previous.underline = chosen.underline();
    previous.strikeOut = chosen.strikeOut();
    return previous;
}

void keepStylesTheFaceLacks(EditorFont& font, const EditorFont& stored, const QString& family) {
    // The pane draws a style the face lacks by slanting or thickening it; the dialog could not
    // show it, so what it returns says nothing about it.
    if (!faceHasStyle(family, &QFont::bold)) font.bold = stored.bold;
    if (!faceHasStyle(family, &QFont::italic)) font.italic = stored.italic;
}

} // namespace pote
