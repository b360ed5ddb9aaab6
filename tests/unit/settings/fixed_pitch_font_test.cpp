#include "settings/fixed_pitch_font.h"

#include <gtest/gtest.h>

namespace pote::ffont {
namespace {

TEST(FixedPitchFont, SizePreselection) {
    const struct {
        int points;
        const char* item;
    } rows[] = {{10, "9"},  {100, "9"}, {72, "72"}, {-12, "9"}, {0, "9"},   {11, "12"},
                {15, "12"}, {16, "18"}, {21, "18"}, {22, "24"}, {28, "24"}, {29, "36"},
                {42, "36"}, {43, "48"}, {60, "48"}, {61, "72"}, {73, "9"}};
    for (const auto& row : rows)
        EXPECT_EQ(sizeItems().at(sizeItemFor(row.points)), QString::fromLatin1(row.item))
            << row.points << " points";
}

TEST(FixedPitchFont, PaletteHits) {
    constexpr int w = 256, h = 40;
    EXPECT_EQ(paletteIndexAt(40, 25, w, h), 9);
    EXPECT_EQ(paletteColor(9), 0x0000FFu) << "red";
    EXPECT_EQ(paletteIndexAt(40, 20, w, h), 1) << "the middle line belongs to the top row";
    EXPECT_EQ(paletteIndexAt(40, 21, w, h), 9);
    EXPECT_EQ(paletteIndexAt(0, 0, w, h), 0);
    EXPECT_EQ(paletteIndexAt(31, 0, w, h), 0);
    EXPECT_EQ(paletteIndexAt(32, 0, w, h), 1);
    EXPECT_EQ(paletteIndexAt(255, 39, w, h), 15);
    EXPECT_EQ(paletteColor(15), 0xFFFFFFu);
    EXPECT_EQ(paletteColor(5), 0xFF00FFu);
    EXPECT_EQ(paletteColor(13), 0x800080u);
    EXPECT_EQ(paletteColor(-1), kBlack);
    EXPECT_EQ(paletteColor(16), kBlack);
    EXPECT_EQ(paletteColor(paletteIndexAt(-3, 5, w, h)), kBlack);
    EXPECT_EQ(paletteIndexAt(10, 10, 0, 0), -1) << "no picture, no division by zero";
}

TEST(FixedPitchFont, TheChoiceRebuildsTheEditingFont) {
    EditorFont editing;
    editing.face = QStringLiteral("IPAexGothic");
    editing.setSize(100);
    editing.charSet = 1;
    editing.color = 0x123456;
    editing.bold = editing.underline = true;

    // A machine without fixed-pitch Japanese faces offers the two names older settings hold.
    const OfferedFaces offered = offeredOrFallback({});
    const FaceShown shown = faceShownFor(offered, editing.face, QStringLiteral("DejaVu Sans"));
    const Choice opened = choiceFor(editing, shown);
    EXPECT_EQ(opened.face, 0) << "a face not offered shows as the Gothic";
    EXPECT_EQ(sizeItems().at(opened.sizeItem), QStringLiteral("9"));
    EXPECT_EQ(opened.color, 0x123456u);
    EXPECT_TRUE(opened.underline);

    const EditorFont confirmed = chosenFont(editing, opened, offered, shown);
    EXPECT_EQ(confirmed.face, QStringLiteral("ＭＳ ゴシック"));
    EXPECT_FALSE(confirmed.bold) << "bold never survives";
    EXPECT_TRUE(confirmed.underline);
    EXPECT_EQ(confirmed.size, 9);
    EXPECT_EQ(confirmed.height, -12);
    EXPECT_EQ(confirmed.charSet, kShiftJisCharSet);
    EXPECT_EQ(confirmed.color, 0x123456u);

    Choice mincho = opened;
    mincho.face = 1;
    mincho.italic = true;
    mincho.underline = false;
    mincho.strikeOut = true;
    mincho.sizeItem = 6;
    mincho.color = paletteColor(12);
    const EditorFont chosen = chosenFont(editing, mincho, offered, shown);
    EXPECT_EQ(chosen.face, QStringLiteral("ＭＳ 明朝"));
    EXPECT_EQ(chosen.size, 72);
    EXPECT_EQ(chosen.height, -96);
    EXPECT_TRUE(chosen.italic && chosen.strikeOut && !chosen.underline);
    EXPECT_EQ(chosen.color, 0xFF0000u) << "blue";
    EXPECT_EQ(choiceFor(chosen, faceShownFor(offered, chosen.face, {})), mincho)
        << "the dialog reopens on what it chose";
}

TEST(FixedPitchFont, AStoredNameStaysUntilAnotherFaceIsChosen) {
    const OfferedFaces installed = {
        {QStringLiteral("IPAゴシック"), QStringLiteral("IPAGothic")},
        {QStringLiteral("美咲ゴシック"), QStringLiteral("MisakiGothic")}};
    struct Row {
        const char* stored;
        const char* standIn; // the family the pane draws the stored name with
        int shown;           // the face the dialog opens on
        int chosen;          // the face the user leaves chosen
        const char* after;   // the name the settings then hold
    };
    const Row rows[] = {
        {"ＭＳ ゴシック", "IPAGothic", 0, 0, "ＭＳ ゴシック"},    // an older file keeps its name
        {"ＭＳ ゴシック", "IPAGothic", 0, 1, "美咲ゴシック"},     // until another face is chosen
        {"ＭＳ 明朝", "MisakiGothic", 1, 1, "ＭＳ 明朝"},         // shown as what stands in for it
        {"IPAGothic", "IPAGothic", 0, 0, "IPAGothic"},            // any of a face's names stays
        {"どこにもない書体", "DejaVu Sans", 0, 0, "IPAゴシック"}, // nothing offered draws it
        {"どこにもない書体", "DejaVu Sans", 0, 7, "IPAゴシック"}, // out of range: the first
    };
    for (const Row& row : rows) {
        EditorFont editing;
        editing.face = QString::fromUtf8(row.stored);
        const FaceShown shown =
            faceShownFor(installed, editing.face, QString::fromUtf8(row.standIn));
        Choice choice = choiceFor(editing, shown);
        EXPECT_EQ(choice.face, row.shown) << row.stored;
        choice.face = row.chosen;
        EXPECT_EQ(chosenFont(editing, choice, installed, shown).face, QString::fromUtf8(row.after))
            << row.stored << " → " << row.chosen;
    }
}

} // namespace
} // namespace pote::ffont
