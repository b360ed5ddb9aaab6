#include "editing/streamed_search.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>

namespace pote {
namespace {

struct Found {
    SectionHit hit;
    QByteArray line;
};

// Random texts of line breaks of every kind, double-byte characters (some whose second byte is
// a letter, some split by a break) and letters, searched a few bytes at a time against the
// search of the whole text: the same hits, lines and line numbers, whatever the window.
TEST(StreamedSearch, FindsWhatTheWholeTextSearchFindsWhateverTheWindow) {
    static const char* pieces[] = {"\r\n",
                                   "\r",
                                   "\n",
                                   "a",
                                   "A",
                                   "ab",
                                   "\x83\x41",
                                   "\x82\x61",
                                   "\x83",
                                   " ",
                                   "\r\r\n",
                                   "aa\r\n",
                                   "\x82\x60\x82\x61"};
    static const char* patterns[] = {"a",    "aa",  "A",   "\x83\x41", "\x82\x61",
                                     "\r\n", "a\r", "\na", "\x41\x83", "a\r\na"};
    std::mt19937 random(7);
    std::uniform_int_distribution<int> pick(0, std::size(pieces) - 1);
    for (int round = 0; round < 4000; ++round) {
        QByteArray text;
        while (text.size() < round % 150)
            text += pieces[pick(random)];
        const QByteArray pattern = patterns[round % std::size(patterns)];
        const CaseMode mode = round % 3 == 0 ? CaseMode::Insensitive : CaseMode::Sensitive;
        const StreamedSearchSizes sizes{1 + round % 5, 1 + round % 17};

        std::vector<Found> expected;
        search_sections({text}, pattern, mode, [&](const SectionHit& hit) {
            expected.push_back({hit, text.mid(hit.lineStart, hit.lineEnd - hit.lineStart)});
            return true;
        });
        std::vector<Found> streamed;
        qint64 readTo = 0;
        const SearchEnd end = search_streamed(
            text.size(),
            [&](qint64 pos, qint64 n, char* out) {
                // Pieces are asked for in order, each within the text and the piece size.
                EXPECT_EQ(pos, readTo);
                EXPECT_LE(n, sizes.pieceBytes);
                EXPECT_LE(pos + n, text.size());
                std::memcpy(out, text.constData() + pos, static_cast<size_t>(n));
                readTo = pos + n;
                return true;
            },
            TextSearcher(pattern, mode), 0,
            [&](const SectionHit& hit, QByteArrayView line) {
                streamed.push_back({hit, line.toByteArray()});
                return true;
            },
            sizes);
        EXPECT_EQ(end, SearchEnd::Finished);
        ASSERT_EQ(streamed.size(), expected.size()) << round << " " << text.toHex().constData();
        for (size_t k = 0; k < expected.size(); ++k) {
            const SectionHit& a = streamed[k].hit;
            const SectionHit& b = expected[k].hit;
            EXPECT_EQ(a.offset, b.offset) << round;
            EXPECT_EQ(a.line, b.line) << round;
            EXPECT_EQ(a.lineStart, b.lineStart) << round;
            EXPECT_EQ(a.lineEnd, b.lineEnd) << round;
            EXPECT_EQ(streamed[k].line, expected[k].line) << round;
        }
    }
}

TEST(StreamedSearch, AFailedReadOrASinkThatSaysNoStopsIt) {
    const QByteArray text = QByteArray("xa\r\n").repeated(1000);
    int hits = 0;
    const auto reader = [&](qint64 pos, qint64 n, char* out) {
        std::memcpy(out, text.constData() + pos, static_cast<size_t>(n));
        return pos < 2000;
    };
    const TextSearcher searcher("a", CaseMode::Sensitive);
    EXPECT_EQ(search_streamed(text.size(), reader, searcher, 0,
                              [&](const SectionHit&, QByteArrayView) { return ++hits < 3; },
                              {64, 128}),
              SearchEnd::Stopped);
    EXPECT_EQ(hits, 3);
    hits = 0;
    EXPECT_EQ(search_streamed(text.size(), reader, searcher, 0,
                              [&](const SectionHit&, QByteArrayView) { return ++hits > 0; },
                              {64, 128}),
              SearchEnd::Stopped);
    EXPECT_LT(hits, 1000);
}

} // namespace
} // namespace pote
