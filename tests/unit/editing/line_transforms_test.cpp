#include "editing/line_transforms.h"

#include "support/test_files.h"

#include <gtest/gtest.h>

#include <QList>

#include <random>

namespace pote {
namespace {

using test::sjis;

struct Case {
    const char* name;
    QByteArray in;
    QByteArray out;
};

class BlankLineCut : public testing::TestWithParam<Case> {};

TEST_P(BlankLineCut, DropsBlankLinesAfterEachBreak) {
    EXPECT_EQ(blank_line_cut(GetParam().in), GetParam().out);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BlankLineCut,
    testing::Values(Case{"FourLineExample", "a\r\n\r\n  \r\n  b", "a\r\n  b"},
                    Case{"TrailingSpacesOfATextLineStay", "a  \r\nb  \r\n", "a  \r\nb  \r\n"},
                    Case{"BlankLinesAtTheEndGo", "a\r\n\r\n   \r\n", "a\r\n"},
                    Case{"BlankLinesAtTheStartShrinkToOneBreak", "\r\n\r\n  \r\nx", "\r\nx"},
                    Case{"SpacesBeforeTheFirstBreakStay", "  \r\n\r\nx", "  \r\nx"},
                    Case{"FullWidthSpaceIsText", sjis("a\r\n　\r\nb"), sjis("a\r\n　\r\nb")},
                    Case{"TabIsText", "a\r\n\t\r\n\r\nb", "a\r\n\t\r\nb"},
                    Case{"IndentOfTheNextTextLineStays", "a\r\n    \r\n\r\n  b  c", "a\r\n  b  c"},
                    Case{"DoubleByteTextUntouched", sjis("あ\r\n\r\nい う\r\n"),
                         sjis("あ\r\nい う\r\n")},
                    Case{"NoBreakNoChange", "  only one line  ", "  only one line  "},
                    Case{"OnlyBlanks", "\r\n  \r\n\r\n", "\r\n"}, Case{"Empty", "", ""}),
    [](const testing::TestParamInfo<Case>& row) { return row.param.name; });

class ShiftRight : public testing::TestWithParam<Case> {};

TEST_P(ShiftRight, IndentsEveryLine) {
    EXPECT_EQ(shift_right(GetParam().in), GetParam().out);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ShiftRight,
    testing::Values(Case{"OneLine", "abc", "    abc"}, Case{"TwoLines", "a\r\nb", "    a\r\n    b"},
                    Case{"EmptyLastLineOfATextEndingInABreak", "a\r\n", "    a\r\n    "},
                    Case{"EmptyLinesToo", "\r\n\r\n", "    \r\n    \r\n    "},
                    Case{"DoubleByte", sjis("あ\r\nい"), sjis("    あ\r\n    い")},
                    Case{"Empty", "", "    "}),
    [](const testing::TestParamInfo<Case>& row) { return row.param.name; });

// The transformations as they were first described: byte by byte with an after-line-feed flag,
// and one insertion per line start. The one-pass versions must agree on any text.
QByteArray blankLineCutByTheBook(const QByteArray& text) {
    QByteArray result;
    QByteArray pending;
    bool afterLf = false;
    for (const char c : text) {
        if (!afterLf) result += c;
        if (c == '\n') {
            afterLf = true;
            pending.clear();
        }
        if (!afterLf) continue;
        if (c == ' ') pending += c;
        if (c == ' ' || c == '\r' || c == '\n') continue;
        afterLf = false;
        result += pending;
        result += c;
        pending.clear();
    }
    return result;
}

QByteArray shiftRightByTheBook(QByteArray text) {
    QList<qsizetype> lineStarts{0};
    for (qsizetype i = 0; i < text.size(); ++i)
        if (text[i] == '\n') lineStarts.append(i + 1);
    for (qsizetype line = 0; line < lineStarts.size(); ++line)
        text.insert(lineStarts[line] + 4 * line, "    ");
    return text;
}

QByteArray randomText(std::mt19937& random, int length) {
    static const char* pieces[] = {" ",  "  ",       "\r\n",     "\r\n", "a",
                                   "xy", "\x82\xa0", "\x81\x40", "\t",   "\r"};
    QByteArray text;
    std::uniform_int_distribution<int> pick(0, std::size(pieces) - 1);
    while (text.size() < length)
        text += pieces[pick(random)];
    return text;
}

TEST(LineTransforms, AgreeWithTheByteByByteRulesOnRandomTexts) {
    std::mt19937 random(20240611);
    for (int round = 0; round < 2000; ++round) {
        const QByteArray text = randomText(random, round % 60);
        ASSERT_EQ(blank_line_cut(text), blankLineCutByTheBook(text)) << text.toStdString();
        ASSERT_EQ(shift_right(text), shiftRightByTheBook(text)) << text.toStdString();
    }
}

} // namespace
} // namespace pote
