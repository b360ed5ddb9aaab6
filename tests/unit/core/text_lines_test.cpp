#include "core/text_lines.h"

#include <gtest/gtest.h>

namespace pote {
namespace {

struct Row {
    const char* name;
    QByteArray in;
    QByteArray out;
};

class ReadAsLines : public testing::TestWithParam<Row> {};

TEST_P(ReadAsLines, EndsEveryLineWithCrLf) {
    EXPECT_EQ(read_as_lines(GetParam().in), GetParam().out);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ReadAsLines,
    testing::Values(Row{"LastLineGainsABreak", "a\r\nb", "a\r\nb\r\n"},
                    Row{"EveryKindOfBreak", "a\rb\nc\r\nd\n\re", "a\r\nb\r\nc\r\nd\r\n\r\ne\r\n"},
                    Row{"EmptyLinesStay", "\r\n\r\nx\r\n", "\r\n\r\nx\r\n"},
                    Row{"ANulEndsTheText", QByteArray("ab\0cd\r\n", 7), "ab\r\n"},
                    Row{"NulAtTheStart", QByteArray("\0x", 2), ""}, Row{"Empty", "", ""}),
    [](const testing::TestParamInfo<Row>& row) { return row.param.name; });

} // namespace
} // namespace pote
