#include "editing/print_pagination.h"

#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

namespace pote {
namespace {

// Half-width units 1 wide, everything else 2, as on a fixed-pitch Japanese font.
double fixedPitch(QChar c) {
    return c.unicode() < 0x80 ? 1.0 : 2.0;
}

QStringList rowTexts(const QString& text, double width) {
    QStringList texts;
    for (const PrintRow& row : breakIntoRows(text, width, fixedPitch))
        texts << text.mid(row.start, row.length);
    return texts;
}

struct RowCase {
    const char* name;
    QString text;
    double width;
    QStringList rows;
};

class BreakIntoRows : public testing::TestWithParam<RowCase> {};

TEST_P(BreakIntoRows, FitsEachRowIntoTheWidth) {
    EXPECT_EQ(rowTexts(GetParam().text, GetParam().width), GetParam().rows);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BreakIntoRows,
    testing::Values(RowCase{"ShortLines",
                            QStringLiteral("ab\ncd"),
                            10,
                            {QStringLiteral("ab"), QStringLiteral("cd")}},
                    RowCase{"EmptyLinesStay",
                            QStringLiteral("a\n\nb\n"),
                            10,
                            {QStringLiteral("a"), QStringLiteral(""), QStringLiteral("b"),
                             QStringLiteral("")}},
                    RowCase{"EmptyText", QString(), 10, {QString()}},
                    RowCase{"JapaneseBreaksAnywhere",
                            QStringLiteral("あいうえお"),
                            4,
                            {QStringLiteral("あい"), QStringLiteral("うえ"), QStringLiteral("お")}},
                    RowCase{"WordsMoveWhole",
                            QStringLiteral("one two three"),
                            9,
                            {QStringLiteral("one two "), QStringLiteral("three")}},
                    RowCase{"AWordLongerThanARowIsCut",
                            QStringLiteral("abcdefghij"),
                            4,
                            {QStringLiteral("abcd"), QStringLiteral("efgh"), QStringLiteral("ij")}},
                    RowCase{"ACharacterWiderThanTheRowStillPrints",
                            QStringLiteral("あい"),
                            1,
                            {QStringLiteral("あ"), QStringLiteral("い")}},
                    RowCase{"ExactFit", QStringLiteral("abcd"), 4, {QStringLiteral("abcd")}}),
    [](const testing::TestParamInfo<RowCase>& row) { return row.param.name; });

TEST(BreakIntoRows, RowsCoverTheTextInOrder) {
    QString text;
    for (int i = 0; i < 300; ++i)
        text += (i % 7 == 0) ? QStringLiteral("\n")
                             : (i % 3 ? QStringLiteral("ねこ ") : QStringLiteral("cat dog "));
    qsizetype next = 0;
    for (const PrintRow& row : breakIntoRows(text, 11, fixedPitch)) {
        if (row.start != next) {
            ASSERT_EQ(row.start, next + 1) << "only a line break lies between rows";
            ASSERT_EQ(text[next], u'\n');
        }
        next = row.start + row.length;
    }
    EXPECT_EQ(next, text.size());
}

TEST(PageCount, AtLeastOnePage) {
    EXPECT_EQ(pageCount(0, 50), 1);
    EXPECT_EQ(pageCount(50, 50), 1);
    EXPECT_EQ(pageCount(51, 50), 2);
    EXPECT_EQ(pageCount(10, 0), 10) << "a page too small for a row still prints one row a page";
}

} // namespace
} // namespace pote
