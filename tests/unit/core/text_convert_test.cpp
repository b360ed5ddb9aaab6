#include "core/text_convert.h"

#include <gtest/gtest.h>

namespace pote {
namespace {

struct TabCase {
    const char* name;
    QByteArray in;
    int width;
    QByteArray out;
};

class ExpandTabs : public testing::TestWithParam<TabCase> {};

TEST_P(ExpandTabs, ExpandsToTheNextStop) {
    EXPECT_EQ(expand_tabs(GetParam().in, GetParam().width), GetParam().out);
}

INSTANTIATE_TEST_SUITE_P(Cases, ExpandTabs,
                         testing::Values(TabCase{"AfterOneLetter", "a\tb", 8, "a       b"},
                                         TabCase{"ColumnRestartsAfterLf", "a\tb\r\n\tc", 8,
                                                 "a       b\r\n        c"},
                                         TabCase{"AtColumnOne", "\t", 8, "        "},
                                         TabCase{"AfterThreeBytes", "abc\t", 8, "abc     "},
                                         TabCase{"DoubleByteCountsTwo", QByteArray("\x82\xa0\t", 3),
                                                 4, QByteArray("\x82\xa0  ", 4)},
                                         TabCase{"CrCountsOne", "a\r\tb", 4, "a\r  b"},
                                         TabCase{"OnAStop", "abcdefgh\tx", 8, "abcdefgh        x"},
                                         TabCase{"TwoTabs", "\t\t", 3, "      "},
                                         TabCase{"WidthOne", "a\tb\t", 1, "a b "},
                                         TabCase{"NoTab", "plain\r\ntext", 8, "plain\r\ntext"},
                                         TabCase{"Empty", "", 8, ""}),
                         [](const testing::TestParamInfo<TabCase>& row) { return row.param.name; });

TEST(ExpandTabs, TextWithoutTabsIsSharedNotCopied) {
    const QByteArray text(1 << 20, 'x');
    const QByteArray out = expand_tabs(text, 8);
    EXPECT_EQ(out.constData(), text.constData());
}

TEST(StripTrailingNul, RemovesOnlyTheEnd) {
    EXPECT_EQ(strip_trailing_nul(QByteArray("ab\0c\0\0", 6)), QByteArray("ab\0c", 4));
    EXPECT_EQ(strip_trailing_nul(QByteArray("\0\0", 2)), QByteArray());
    EXPECT_EQ(strip_trailing_nul(QByteArray()), QByteArray());
    EXPECT_EQ(strip_trailing_nul(QByteArray("abc")), QByteArray("abc"));
}

} // namespace
} // namespace pote
