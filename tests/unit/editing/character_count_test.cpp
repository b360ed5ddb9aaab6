#include "editing/character_count.h"

#include "support/test_files.h"
#include "vertical/layout.h"

#include <gtest/gtest.h>

namespace pote {
namespace {

using test::sjis;

TEST(CharacterCount, MixedJapaneseAndLatinTextCountedByHand) {
    // Line 1: 吾輩は猫 + space + である。 = 9 characters, 8 without the space, 17 bytes.
    // Line 2: "Cat ｱ12" = 7 characters (the half-width katakana is one byte), 6 without space.
    // Line 3: empty. Line 4: full-width space + 全角スペース = 7 characters, 6 without it.
    const QByteArray text = sjis("吾輩は猫 である。\r\nCat ｱ12\r\n\r\n　全角スペース\tx");
    const CharacterCount c = count_characters(text);
    EXPECT_EQ(c.characters, 9 + 7 + 0 + 9);
    EXPECT_EQ(c.nonSpace, 8 + 6 + 0 + 7);
    EXPECT_EQ(c.lines, 4);
    EXPECT_EQ(c.bytes, text.size());
    EXPECT_EQ(c.bytes, 19 + 9 + 2 + 16);
    EXPECT_EQ(c.manuscriptRows, 4);
    EXPECT_EQ(c.manuscriptPages, 1);
}

struct Row {
    const char* name;
    QByteArray text;
    qint64 lines;
    qint64 rows;
    qint64 pages;
};

class ManuscriptPaper : public testing::TestWithParam<Row> {};

TEST_P(ManuscriptPaper, EachParagraphStartsARow) {
    const CharacterCount c = count_characters(GetParam().text);
    EXPECT_EQ(c.lines, GetParam().lines);
    EXPECT_EQ(c.manuscriptRows, GetParam().rows);
    EXPECT_EQ(c.manuscriptPages, GetParam().pages);
}

QByteArray chars(int n) {
    return sjis("あ").repeated(n);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ManuscriptPaper,
    testing::Values(Row{"EmptyText", "", 0, 0, 0}, Row{"EmptyParagraphFillsARow", "\r\n", 1, 1, 1},
                    Row{"OneCharacter", chars(1), 1, 1, 1},
                    Row{"TwentyFillOneRow", chars(20), 1, 1, 1},
                    Row{"TwentyOneNeedTwo", chars(21) + "\r\n", 1, 2, 1},
                    Row{"FourHundredFillAPage", chars(400), 1, 20, 1},
                    Row{"OneMoreStartsAPage", chars(401), 1, 21, 2},
                    Row{"ParagraphsOf0_1_20_21_400",
                        "\r\n" + chars(1) + "\r\n" + chars(20) + "\r\n" + chars(21) + "\r\n" +
                            chars(400),
                        5, 1 + 1 + 1 + 2 + 20, 2},
                    Row{"LoneCrAndLfBreakLinesToo", "a\rb\nc", 3, 3, 1},
                    Row{"HangingCommaStaysOnThePage", chars(400) + sjis("、"), 1, 20, 1},
                    Row{"ClosingBracketPushesOut", chars(20) + sjis("」"), 1, 2, 1},
                    Row{"RubyReadingsTakeNoCells", sjis("猫《ねこ》").repeated(20), 1, 1, 1},
                    Row{"PageBreakStartsAPage", sjis("あ［＃改ページ］い"), 1, 2, 2},
                    Row{"NothingShownNoPage", sjis("［＃改ページ］"), 1, 0, 0}),
    [](const testing::TestParamInfo<Row>& row) { return row.param.name; });

TEST(CharacterCount, PagesAreTheVerticalLayoutsOnManuscriptPaper) {
    const QByteArray text =
        sjis("「ごはんはまだかにゃ？」――そう言いたげに、猫《ねこ》は12時を待つ。\r\n").repeated(37);
    const CharacterCount c = count_characters(text);
    vertical::SectionLayout layout(text, {}, vertical::PageFormat::genkou());
    EXPECT_EQ(c.manuscriptPages, layout.pageCount());
    EXPECT_EQ(c.manuscriptRows, layout.lineCount());
    const CharacterCount plain = count_characters_without_pages(text);
    EXPECT_EQ(plain.characters, c.characters);
    EXPECT_EQ(plain.lines, c.lines);
    EXPECT_EQ(plain.manuscriptPages, 0);
}

TEST(CharacterCount, SectionsAddUpEachOnItsOwnPages) {
    CharacterCount total = count_characters(chars(10));
    total += count_characters(chars(10));
    EXPECT_EQ(total.characters, 20);
    EXPECT_EQ(total.manuscriptRows, 2);
    EXPECT_EQ(total.manuscriptPages, 2);
}

} // namespace
} // namespace pote
