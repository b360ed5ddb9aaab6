#include "core/text_lines.h"

#include <QList>

#include <gtest/gtest.h>

#include <random>

namespace pote {
namespace {

struct Row {
    const char* name;
    QByteArray in;
    QByteArray out;
};

class ReadAsLines : public testing::TestWithParam<Row> {};

TEST_P(ReadAsLines, EndsEveryLineWithCrLf) {
    EXPECT_EQ(read_as_lines(QByteArrayView(GetParam().in)), GetParam().out);
    EXPECT_EQ(read_as_lines(GetParam().in), GetParam().out);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ReadAsLines,
    testing::Values(Row{"LastLineGainsABreak", "a\r\nb", "a\r\nb\r\n"},
                    Row{"EveryKindOfBreak", "a\rb\nc\r\nd\n\re", "a\r\nb\r\nc\r\nd\r\n\r\ne\r\n"},
                    Row{"EmptyLinesStay", "\r\n\r\nx\r\n", "\r\n\r\nx\r\n"},
                    Row{"ANulEndsTheText", QByteArray("ab\0cd\r\n", 7), "ab\r\n"},
                    Row{"NulAtTheStart", QByteArray("\0x", 2), ""}, Row{"Empty", "", ""},
                    Row{"AlreadyLines", "a\r\nb\r\n", "a\r\nb\r\n"},
                    Row{"LfOnly", "a\nb\n", "a\r\nb\r\n"}, Row{"CrOnly", "a\rb\r", "a\r\nb\r\n"},
                    Row{"LfCrIsTwoBreaks", "a\n\rb", "a\r\n\r\nb\r\n"},
                    Row{"OnlyBreaks", "\n\n", "\r\n\r\n"}),
    [](const testing::TestParamInfo<Row>& row) { return row.param.name; });

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

TEST(ReadAsLines, AgreesWithTheRuleOnRandomTexts) {
    std::mt19937 rng(7);
    const char alphabet[] = {'a', '\r', '\n', '\0', '\x82', '\xA0', ' '};
    for (int round = 0; round < 3000; ++round) {
        QByteArray text;
        const int length = static_cast<int>(rng() % 64);
        for (int k = 0; k < length; ++k)
            text += alphabet[rng() % (round % 3 == 0 ? 7 : 6)];
        const QByteArray expected = asLinesByTheBook(text);
        ASSERT_EQ(read_as_lines(QByteArrayView(text)), expected) << text.toHex().toStdString();
        ASSERT_EQ(read_as_lines(text), expected) << text.toHex().toStdString();
        ASSERT_EQ(is_in_line_form(text), expected == text) << text.toHex().toStdString();
    }
}

TEST(LineAt, WalksTheLinesTheRuleGives) {
    std::mt19937 rng(11);
    const char alphabet[] = {'a', '\r', '\n', '\x82', '\x0d'};
    for (int round = 0; round < 3000; ++round) {
        QByteArray text;
        const int length = static_cast<int>(rng() % 100);
        for (int k = 0; k < length; ++k)
            text += alphabet[rng() % (round % 4 == 0 ? 5 : 2 + round % 2)];
        // The lines the rule gives, each joined with CR LF, are read_as_lines of the text.
        QByteArray joined;
        for (qsizetype from = 0; from < text.size();) {
            const LineSpan line = line_at(text, from);
            ASSERT_LE(line.end, line.next);
            joined += text.sliced(from, line.end - from) + "\r\n";
            from = line.next;
        }
        ASSERT_EQ(joined, asLinesByTheBook(text)) << text.toHex().toStdString();
    }
}

} // namespace
} // namespace pote
