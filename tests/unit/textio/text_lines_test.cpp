#include "textio/text_lines.h"

#include <QList>

#include <gtest/gtest.h>

#include <random>

namespace pote {
namespace {

struct Case {
    const char* name;
    QByteArray in;
    QByteArray out;
};

class AsLines : public testing::TestWithParam<Case> {};

TEST_P(AsLines, EveryBreakBecomesCrLf) {
    EXPECT_EQ(text_as_lines(QByteArrayView(GetParam().in)), GetParam().out);
    EXPECT_EQ(text_as_lines(GetParam().in), GetParam().out);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AsLines,
    testing::Values(Case{"AlreadyLines", "a\r\nb\r\n", "a\r\nb\r\n"},
                    Case{"LfOnly", "a\nb\n", "a\r\nb\r\n"}, Case{"CrOnly", "a\rb\r", "a\r\nb\r\n"},
                    Case{"Mixed", "a\r\nb\nc\rd", "a\r\nb\r\nc\r\nd\r\n"},
                    Case{"LfCrIsTwoBreaks", "a\n\rb", "a\r\n\r\nb\r\n"},
                    Case{"NoFinalBreakGetsOne", "abc", "abc\r\n"},
                    Case{"EmptyLinesStay", "\n\n", "\r\n\r\n"},
                    Case{"StopsAtTheFirstNul", QByteArray("a\nb\0c\nd", 7), "a\r\nb\r\n"},
                    Case{"NulFirstIsEmpty", QByteArray("\0abc", 4), ""}, Case{"Empty", "", ""}),
    [](const testing::TestParamInfo<Case>& row) { return row.param.name; });

// The rule as first described: split into lines, then join them with CR LF after each.
QByteArray asLinesByTheBook(QByteArray bytes) {
    const qsizetype nul = bytes.indexOf('\0');
    if (nul >= 0) bytes.truncate(nul);
    QList<QByteArray> lines;
    QByteArray line;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c == '\r' || c == '\n') {
            lines.append(line);
            line.clear();
            if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
        } else {
            line += c;
        }
    }
    if (!line.isEmpty()) lines.append(line);
    QByteArray out;
    for (const QByteArray& l : lines)
        out += l + "\r\n";
    return out;
}

TEST(AsLines, AgreesWithTheRuleOnRandomTexts) {
    std::mt19937 rng(7);
    const char alphabet[] = {'a', '\r', '\n', '\0', '\x82', '\xA0', ' '};
    for (int round = 0; round < 3000; ++round) {
        QByteArray text;
        const int length = static_cast<int>(rng() % 64);
        for (int k = 0; k < length; ++k)
            text += alphabet[rng() % (round % 3 == 0 ? 7 : 6)];
        const QByteArray expected = asLinesByTheBook(text);
        ASSERT_EQ(text_as_lines(QByteArrayView(text)), expected) << text.toHex().toStdString();
        ASSERT_EQ(text_as_lines(text), expected) << text.toHex().toStdString();
        ASSERT_EQ(is_in_line_form(text), expected == text) << text.toHex().toStdString();
    }
}

} // namespace
} // namespace pote
