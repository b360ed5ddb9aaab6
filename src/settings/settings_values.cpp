#include "settings/settings_values.h"

#include <cstdlib>

namespace pote {

namespace {

constexpr int kPixelsPerInch = 96;
constexpr int kPointsPerInch = 72;

// a * b / c rounded half away from zero, in 64 bits.
int mulDiv(int a, int b, int c) {
    const qint64 product = qint64(a) * b;
    const qint64 magnitude = (std::llabs(product) + c / 2) / c;
    return static_cast<int>(product < 0 ? -magnitude : magnitude);
}

} // namespace

void EditorFont::setSize(int points) {
    size = points;
    height = -mulDiv(points, kPixelsPerInch, kPointsPerInch);
}

void EditorFont::setHeight(int pixels) {
    height = pixels;
    size = -mulDiv(pixels, kPointsPerInch, kPixelsPerInch);
}

int EditorFont::pixelSize() const {
    return std::abs(height);
}

EditorFont buildEditorFont(EditorFont font, const StoredFont& stored) {
    if (stored.face) font.face = *stored.face;
    if (stored.charSet) font.charSet = *stored.charSet;
    if (stored.height) font.setHeight(*stored.height);
    if (stored.size) font.setSize(*stored.size);
    font.bold = stored.bold;
    font.italic = stored.italic;
    font.underline = stored.underline;
    font.strikeOut = stored.strikeOut;
    if (stored.color) font.color = *stored.color;
    return font;
}

Settings Settings::defaults(const QString& currentFolder) {
    Settings s;
    s.WorkDir = currentFolder;
    return s;
}

} // namespace pote
