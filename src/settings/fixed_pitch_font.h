#pragma once
// The fixed-pitch font dialog without its window: a reduced chooser over the two fixed-pitch
// Japanese faces, italic, underline and strike-out, seven sizes and a palette of sixteen text
// colours. Its result replaces the editing font like the standard font dialog's does.

#include "settings/settings_values.h"

#include <QString>
#include <QStringList>

#include <array>

namespace pote::ffont {

const QString kGothic = QStringLiteral("ＭＳ ゴシック"); // face index 0
const QString kMincho = QStringLiteral("ＭＳ 明朝");     // face index 1
const QString kPreviewText = QStringLiteral("nekoＮＥＫＯ猫");

// The palette: two rows of eight, index = column + 8 × row, as 0x00BBGGRR colours.
constexpr int kPaletteColumns = 8;
constexpr int kPaletteRows = 2;
extern const std::array<quint32, kPaletteColumns * kPaletteRows> kPalette;

// The colour of a palette index; black outside the palette.
quint32 paletteColor(int index);
// The index a click at (x, y) on a palette picture of that size picks: the lower row only
// below its middle line, so the line itself belongs to the upper row.
int paletteIndexAt(int x, int y, int width, int height);

// The sizes offered, in points, as the list shows them.
const QStringList& sizeItems();
// The list entry preselected for a font of that many points.
int sizeItemFor(int points);

// What the dialog's controls hold.
struct Choice {
    int face = 0; // 1: kMincho, anything else: kGothic
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    int sizeItem = 0;
    quint32 color = kBlack;
    bool operator==(const Choice&) const = default;
};

// The controls when the dialog opens on the editing font.
Choice choiceFor(const EditorFont& editing);

// The font the choice makes of the editing font: the chosen face, size and colour, the
// Shift-JIS character set, italic, underline and strike-out as chosen and never bold.
EditorFont chosenFont(const EditorFont& editing, const Choice& choice);

} // namespace pote::ffont
