// The Tab key's spaces, the status bar's read-out and the notice about lost characters.

#include "editing/status_text.h"
#include "editing/tab_stop.h"
#include "editing/unencodable_notice.h"

#include <gtest/gtest.h>

namespace pote {
namespace {

struct TabCase {
    const char* name;
    long long column;
    int width;
    int spaces;
};

class TabSpaces : public testing::TestWithParam<TabCase> {};

TEST_P(TabSpaces, ReachTheNextStop) {
    EXPECT_EQ(tabSpaceCount(GetParam().column, GetParam().width), GetParam().spaces);
}

INSTANTIATE_TEST_SUITE_P(Cases, TabSpaces,
                         testing::Values(TabCase{"Column0", 0, 8, 8}, TabCase{"Column5", 5, 8, 3},
                                         TabCase{"Column8", 8, 8, 8}, TabCase{"Column13", 13, 8, 3},
                                         TabCase{"WidthOne", 7, 1, 1},
                                         TabCase{"Width100", 99, 100, 1},
                                         TabCase{"BadWidthActsAsOne", 3, 0, 1}),
                         [](const testing::TestParamInfo<TabCase>& row) { return row.param.name; });

TEST(CaretStatusText, LiteralSpacesOnly) {
    EXPECT_EQ(caretStatusText(0, 0, 1), QStringLiteral("  1行   1桁     (1行)"));
    EXPECT_EQ(caretStatusText(0, 3, 2), QStringLiteral("  1行   4桁     (2行)"));
    EXPECT_EQ(caretStatusText(1234566, 99999, 1234568),
              QStringLiteral("  1234567行   100000桁     (1234568行)"))
        << "no grouping separators, no padding";
}

TEST(UnencodableNotice, NamesAtMostEightCharacters) {
    QStringList lost;
    for (char16_t c = u'α'; c < u'α' + 10; ++c)
        lost << QString(QChar(c));
    EXPECT_EQ(unencodableNotice(lost),
              QStringLiteral("「α」「β」「γ」「δ」「ε」「ζ」「η」「θ」など"
                             "は、保存できない文字だから「?」にしておいたにゃ。"));
}

} // namespace
} // namespace pote
