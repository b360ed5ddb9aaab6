#pragma once
// The fixed-pitch font dialog without its window: a reduced chooser over the installed
// fixed-pitch Japanese faces, italic, underline and strike-out, seven sizes and a palette of
// sixteen text colours. Its result replaces the editing font like the standard font dialog's does.

#include "settings/settings_values.h"

#include <QString>
#include <QStringList>

#include <array>

namespace pote::ffont {

// The faces offered when the machine has no fixed-pitch Japanese face of its own: the names
// older settings hold, which the program maps to whatever it can.
const QString kGothic = QStringLiteral("ＭＳ ゴシック");
const QString kMincho = QStringLiteral("ＭＳ 明朝");
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

// The faces the dialog offers: each with every name it answers to, the one to show first.
using OfferedFaces = QList<QStringList>;
// The installed faces, or the two fallback names when there are none.
OfferedFaces offeredOrFallback(const OfferedFaces& installed);

// Which offered face the dialog opens on for the editing face.
struct FaceShown {
    int index = 0;
    // The face is the stored name's, by one of its names or as the face this machine draws an
    // older settings' "ＭＳ ゴシック" with: while it stays chosen, the stored name is kept.
    bool keepsName = false;
};
// The face itself when offered; else the offered face standIn names (the family the editing
// face is really drawn with); else the first.
FaceShown faceShownFor(const OfferedFaces& offered, const QString& face, const QString& standIn);

// What the dialog's controls hold.
struct Choice {
    int face = 0; // index into the offered faces; anything outside them: the first
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    int sizeItem = 0;
    quint32 color = kBlack;
    bool operator==(const Choice&) const = default;
};

// The controls when the dialog opens on the editing font.
Choice choiceFor(const EditorFont& editing, const FaceShown& shown);

// The font the choice makes of the editing font: the chosen face (its stored name kept while the
// face it opened on stays chosen and keepsName), size and colour, the Shift-JIS character set,
// italic, underline and strike-out as chosen and never bold.
EditorFont chosenFont(const EditorFont& editing, const Choice& choice, const OfferedFaces& offered,
                      const FaceShown& shown);

} // namespace pote::ffont
