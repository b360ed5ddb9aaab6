#include "settings/fixed_pitch_font.h"

namespace pote::ffont {

namespace {

constexpr quint32 rgb(quint32 r, quint32 g, quint32 b) {
    return r | g << 8 | b << 16;
}

struct SizeBand {
    int upTo; // points
    int item;
};

// Sizes up to each bound preselect that entry; anything larger, and negative sizes, "9".
constexpr SizeBand kSizeBands[] = {{10, 0}, {15, 1}, {21, 2}, {28, 3}, {42, 4}, {60, 5}, {72, 6}};

} // namespace

const std::array<quint32, kPaletteColumns* kPaletteRows> kPalette = {
    rgb(0, 0, 0),       rgb(128, 0, 0),   rgb(0, 128, 0),   rgb(128, 128, 0),
    rgb(0, 0, 128),     rgb(255, 0, 255), rgb(0, 128, 128), rgb(128, 128, 128),
    rgb(192, 192, 192), rgb(255, 0, 0),   rgb(0, 255, 0),   rgb(255, 255, 0),
    rgb(0, 0, 255),     rgb(128, 0, 128), rgb(0, 255, 255), rgb(255, 255, 255),
};

quint32 paletteColor(int index) {
    return index >= 0 && index < int(kPalette.size()) ? kPalette[size_t(index)] : kBlack;
}

int paletteIndexAt(int x, int y, int width, int height) {
    const int cellWidth = width / kPaletteColumns;
    if (cellWidth <= 0 || x < 0) return -1;
    const int row = y > height / kPaletteRows ? 1 : 0;
    return x / cellWidth + kPaletteColumns * row;
}

const QStringList& sizeItems() {
    static const QStringList items = {
        QStringLiteral("9"),  QStringLiteral("12"), QStringLiteral("18"), QStringLiteral("24"),
        QStringLiteral("36"), QStringLiteral("48"), QStringLiteral("72"),
    };
    return items;
}

int sizeItemFor(int points) {
    if (points < 0) return 0;
    for (const SizeBand& band : kSizeBands)
        if (points <= band.upTo) return band.item;
    return 0;
}

OfferedFaces offeredOrFallback(const OfferedFaces& installed) {
    if (!installed.isEmpty()) return installed;
    return {{kGothic}, {kMincho}};
}

FaceShown faceShownFor(const OfferedFaces& offered, const QString& face, const QString& standIn) {
    for (int i = 0; i < offered.size(); ++i)
        if (offered.at(i).contains(face)) return {i, true};
    for (int i = 0; i < offered.size(); ++i)
        if (offered.at(i).contains(standIn)) return {i, true};
    return {0, false};
}

Choice choiceFor(const EditorFont& editing, const FaceShown& shown) {
    Choice c;
    c.color = editing.color;
    c.face = shown.index;
    c.italic = editing.italic;
    c.underline = editing.underline;
    c.strikeOut = editing.strikeOut;
    c.sizeItem = sizeItemFor(editing.size);
    return c;
}

EditorFont chosenFont(const EditorFont& editing, const Choice& choice, const OfferedFaces& offered,
                      const FaceShown& shown) {
    EditorFont font = editing;
    const bool isOffered = choice.face >= 0 && choice.face < offered.size();
    const int face = isOffered ? choice.face : 0;
    if (!(shown.keepsName && face == shown.index) && !offered.isEmpty())
        font.face = offered.at(face).front();
    font.bold = false;
    font.italic = choice.italic;
    font.underline = choice.underline;
    font.strikeOut = choice.strikeOut;
    font.charSet = kShiftJisCharSet;
    const bool listed = choice.sizeItem >= 0 && choice.sizeItem < sizeItems().size();
    font.setSize(sizeItems().at(listed ? choice.sizeItem : 0).toInt());
    font.color = choice.color;
    return font;
}

} // namespace pote::ffont
