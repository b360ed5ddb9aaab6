#include "editing/tax.h"

#include "core/mascot_reactions.h"
#include "support/test_files.h"

#include <gtest/gtest.h>

namespace pote {
namespace {

using test::sjis;

struct SumRow {
    const char* name;
    QByteArray text;
    qint64 sum;
};

class YenSum : public testing::TestWithParam<SumRow> {};

TEST_P(YenSum, AddsEveryAmount) {
    EXPECT_EQ(yen_sum(GetParam().text), GetParam().sum);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, YenSum,
    testing::Values(SumRow{"ThousandsSeparatorEndsTheAmount", "\\1,980", 1},
                    SumRow{"TenDigitsAddTheFirstNine", "\\1234567890", 123456789},
                    SumRow{"FullWidthDigits", sjis("￥１２３"), 123},
                    SumRow{"MixedDigits", sjis("\\1２3"), 123},
                    SumRow{"TwoHalfWidthSignsInARow", "\\\\100", 100},
                    SumRow{"TwoFullWidthSignsInARow", sjis("￥￥100"), 100},
                    SumRow{"BothKindsInOneText", sjis("りんご\\100、みかん￥２００円"), 300},
                    // 表 is 0x95 0x5C: its second byte is no yen sign.
                    SumRow{"SecondByteIsNoSign", sjis("表100 表\\5"), 5},
                    SumRow{"SignWithoutDigits", sjis("\\ ￥円"), 0},
                    SumRow{"SignAtTheEnd", "100\\", 0}, SumRow{"Empty", "", 0}),
    [](const testing::TestParamInfo<SumRow>& row) { return row.param.name; });

TEST(YenSum, SumsPastTwoToThe31StayRight) {
    // Five amounts of 999,999,999: the 32-bit sum of old wrapped to a negative number.
    EXPECT_EQ(yen_sum(QByteArray("\\999999999 ").repeated(5)), 4999999995);
}

TEST(ReadAmount, ReportsTheBytesItRead) {
    const QByteArray text = sjis("x１2３y");
    const Amount a = read_amount(text, 1);
    EXPECT_EQ(a.value, 123);
    EXPECT_EQ(a.consumed, 5);
    EXPECT_EQ(read_amount(text, 0).consumed, 0);
    EXPECT_EQ(read_amount("\x82", 0).consumed, 0) << "a lead byte at the end";
}

struct TaxRow {
    const char* name;
    qint64 sum;
    int ctax;
    qint64 amount;
};

class Tax : public testing::TestWithParam<TaxRow> {};

TEST_P(Tax, RoundsHalfToEven) {
    EXPECT_EQ(tax_included(GetParam().sum, GetParam().ctax), GetParam().amount);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Tax,
    testing::Values(TaxRow{"Plain", 105, 5, 110},           // 110.25
                    TaxRow{"TieUpToEven", 150, 5, 158},     // 157.5
                    TaxRow{"TieDownToEven", 50, 5, 52},     // 52.5
                    TaxRow{"Nearest", 99, 5, 104},          // 103.95
                    TaxRow{"RateJustBelow114", 25, 14, 28}, // 28.499999999999996
                    TaxRow{"RateOf182Tie", 25, 82, 46},     // 45.5
                    TaxRow{"ZeroRate", 1234, 0, 1234},
                    TaxRow{"PastTwoToThe31", 4999999995, 10, 5499999994},     // 5499999994.5
                    TaxRow{"PastTwoToThe31Tie", 2147483649, 50, 3221225474}), // ...473.5
    [](const testing::TestParamInfo<TaxRow>& row) { return row.param.name; });

TEST(TaxReport, AnnouncesTheAmountOrSaysItCouldNot) {
    TaxReport r = tax_report(300, 5);
    EXPECT_TRUE(r.calculated);
    EXPECT_EQ(r.amount, 315);
    EXPECT_EQ(r.reaction, ReactionHit);
    EXPECT_EQ(r.message,
              QStringLiteral("暗算やっちゃったにゃん。\r合計金額は、315円だと思うにゃん。"
                             "結果は、挿入メニューで使えるにゃ。"));
    EXPECT_EQ(amount_report_text(r.amount), "\\315");

    r = tax_report(0, 5);
    EXPECT_FALSE(r.calculated);
    EXPECT_EQ(r.reaction, ReactionError);
    EXPECT_EQ(r.message, QStringLiteral("あれ？？計算できなかったにゃ～。\r"
                                        "「\\」記号の次に数字があると計算できるにゃ。"));
}

TEST(CheckNumber, AcceptsOnlyPlainDigitsInRange) {
    const struct {
        const char* text;
        int expected;
    } rows[] = {{"100", 100},
                {"1", 1},
                {"007", 7},
                {"0", -2},
                {"101", -2},
                {"", -1},
                {"-5", -1},
                {"+5", -1},
                {" 5", -1},
                {"5.0", -1},
                {"99999999999999999999", -2}};
    for (const auto& row : rows)
        EXPECT_EQ(check_number(QString::fromUtf8(row.text), 1, 100), row.expected) << row.text;
    EXPECT_EQ(check_number(u"５", 1, 100), -1) << "full-width digit";
    EXPECT_EQ(check_number(u"0", 0, 100), 0);
}

} // namespace
} // namespace pote
