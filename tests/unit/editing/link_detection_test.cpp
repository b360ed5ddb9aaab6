#include "editing/link_detection.h"

#include "core/cp932.h"
#include "support/test_files.h"

#include <gtest/gtest.h>

namespace pote {
namespace {

using test::sjis;

struct StartCase {
    const char* name;
    QByteArray line;
    qsizetype start;
};

class FindLinkStart : public testing::TestWithParam<StartCase> {};

TEST_P(FindLinkStart, FindsTheFirstAddressOnACharacterBoundary) {
    EXPECT_EQ(findLinkStart(GetParam().line), GetParam().start);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FindLinkStart,
    testing::Values(
        StartCase{"None", "no address here", -1}, StartCase{"AtTheStart", "http://a", 0},
        StartCase{"AfterAWord", "see http://a b", 4},
        StartCase{"FirstOfTwo", "x http://a http://b", 2},
        StartCase{"UpperCaseIsNotAnAddress", "HTTP://a", -1},
        StartCase{"HttpsIsNotAnAddress", "https://a", -1},
        // 0x83 0x68 is one character whose second byte is 'h': "ttp://" after it is no address.
        StartCase{"NeverOnASecondByte",
                  QByteArray("\x83"
                             "http://x"),
                  -1},
        StartCase{"AfterAFalseMatchTheRealOne",
                  QByteArray("\x83"
                             "http://x http://y"),
                  10},
        StartCase{"AfterDoubleByteText", sjis("ねこhttp://a"), 4}, StartCase{"Empty", "", -1}),
    [](const testing::TestParamInfo<StartCase>& row) { return row.param.name; });

TEST(FindLinkStart, AfterEveryHighByteExactlyWhenItFormsNoCharacterWithTheH) {
    // A byte that pairs with "h" hides the address; one that does not (a stray byte, a lead
    // byte of an empty row, a half-width katakana) leaves it whole.
    for (unsigned b = 0x80; b <= 0xFF; ++b) {
        const QByteArray pair = QByteArray(1, static_cast<char>(b)) + 'h';
        const bool pairs = cp932::decode(pair).size() == 1;
        const QByteArray line = QByteArray(1, static_cast<char>(b)) + "http://x";
        EXPECT_EQ(findLinkStart(line), pairs ? -1 : 1) << std::hex << "byte " << b;
        // Twice over: the second byte now always starts a character of its own.
        const QByteArray twice = QByteArray(2, static_cast<char>(b)) + "http://x";
        const bool twicePairs = cp932::decode(twice.first(2)).size() == 1;
        const qsizetype expected = twicePairs ? 2 : pairs ? -1 : 2;
        EXPECT_EQ(findLinkStart(twice), expected) << std::hex << "bytes " << b << " " << b;
    }
}

TEST(LinkAt, RunsToTheEndOfTheLineSpacesAndSecondAddressIncluded) {
    const QByteArray line = "word http://a.example/x y http://b";
    const auto link = linkAt(line, 10);
    ASSERT_TRUE(link);
    EXPECT_EQ(*link, QByteArrayView("http://a.example/x y http://b"));
}

TEST(LinkAt, OnlyOverTheAddress) {
    const QByteArray line = "word http://a";
    EXPECT_FALSE(linkAt(line, 4)) << "the space before the address";
    EXPECT_TRUE(linkAt(line, 5)) << "its first byte";
    EXPECT_TRUE(linkAt(line, line.size() - 1)) << "the line's last byte";
    EXPECT_FALSE(linkAt(line, line.size())) << "past the end of the line";
    EXPECT_FALSE(linkAt("plain", 2));
}

} // namespace
} // namespace pote
