#include "settings/ui/editor_font_qt.h"

#include <QFontDatabase>
#include <QGuiApplication>

#include <gtest/gtest.h>

namespace pote {
namespace {

class EditorFontQt : public testing::Test {
protected:
    static void SetUpTestSuite() {
        static int argc = 1;
        static char name[] = "editor_font_qt_test";
        static char* argv[] = {name, nullptr};
        if (!QGuiApplication::instance()) new QGuiApplication(argc, argv);
        // As the program maps the faces of the other desktop.
        QFont::insertSubstitution(QStringLiteral("ＭＳ 明朝"), QStringLiteral("IPAMincho"));
        QFont::insertSubstitution(QStringLiteral("ＭＳ ゴシック"), QStringLiteral("IPAGothic"));
    }
};

TEST_F(EditorFontQt, StoredColoursAreBlueGreenRed) {
    EXPECT_EQ(colorOf(0x0000FF), QColor(255, 0, 0));
    EXPECT_EQ(colorOf(0xFF0000), QColor(0, 0, 255));
    EXPECT_EQ(storedColor(QColor(0x12, 0x34, 0x56)), 0x563412u);
    EXPECT_EQ(storedColor(colorOf(0xABCDEF)), 0xABCDEFu);
}

TEST_F(EditorFontQt, ThePaneGetsTheFontsPixelHeightAndStyles) {
    EditorFont font;
    font.face = QStringLiteral("ＭＳ 明朝");
    font.setSize(18);
    font.italic = font.strikeOut = true;
    const QFont f = qfontOf(font);
    EXPECT_EQ(f.family(), QStringLiteral("ＭＳ 明朝"));
    EXPECT_EQ(f.pixelSize(), 24);
    EXPECT_TRUE(f.italic());
    EXPECT_TRUE(f.strikeOut());
    EXPECT_FALSE(f.bold());

    font.setHeight(20); // a cell height, as older files may hold
    EXPECT_EQ(qfontOf(font).pixelSize(), 20);
}

TEST_F(EditorFontQt, AFaceThisMachineLacksIsShownAsTheGothic) {
    if (!faceAvailable(kFallbackFace)) GTEST_SKIP() << "no Japanese Gothic face installed";
    EditorFont font;
    font.face = QStringLiteral("Meiryo UI");
    font.bold = true;
    const QFont f = qfontOf(font);
    EXPECT_EQ(f.family(), kFallbackFace);
    EXPECT_TRUE(f.bold());
    EXPECT_FALSE(faceAvailable(font.face));
    EXPECT_TRUE(faceAvailable(QStringLiteral("ＭＳ 明朝"))) << "through its substitution";
}

TEST_F(EditorFontQt, AFontDialogsChoiceKeepsCharacterSetAndColour) {
    EditorFont before;
    before.charSet = 128;
    before.color = 0x0000FF;
    QFont chosen(QStringLiteral("ＭＳ ゴシック"));
    chosen.setPointSize(24);
    chosen.setBold(true);
    const EditorFont after = editorFontFrom(chosen, before);
    EXPECT_EQ(after.size, 24);
    EXPECT_EQ(after.height, -32);
    EXPECT_TRUE(after.bold);
    EXPECT_EQ(after.charSet, 128);
    EXPECT_EQ(after.color, 0x0000FFu);
    EXPECT_EQ(editorFontFrom(qfontOf(after), after), after) << "the pane's own font is unchanged";
}

TEST_F(EditorFontQt, AStyleTheChosenFaceCannotOfferStaysAsStored) {
    const QString regularOnly = QStringLiteral("IPAGothic");
    const QString withBoldAndSlant = QStringLiteral("DejaVu Sans");
    if (!QFontDatabase::hasFamily(regularOnly) || !QFontDatabase::hasFamily(withBoldAndSlant))
        GTEST_SKIP() << "the faces this test compares are not installed";
    EditorFont stored;
    stored.bold = stored.italic = true;
    EditorFont plain; // what a dialog showing Regular only gives back
    keepStylesTheFaceLacks(plain, stored, regularOnly);
    EXPECT_TRUE(plain.bold);
    EXPECT_TRUE(plain.italic);

    EditorFont chosen; // the user picked the face's Book style
    keepStylesTheFaceLacks(chosen, stored, withBoldAndSlant);
    EXPECT_FALSE(chosen.bold);
    EXPECT_FALSE(chosen.italic);
    chosen.italic = true;
    keepStylesTheFaceLacks(chosen, EditorFont{}, withBoldAndSlant);
    EXPECT_TRUE(chosen.italic) << "a style the face offers is the user's choice";
}

} // namespace
} // namespace pote
