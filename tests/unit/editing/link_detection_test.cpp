#include "editing/link_detection.h"

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
