#include "editing/document_search.h"

#include "core/section_store.h"
#include "support/test_files.h"

#include <gtest/gtest.h>

#include <random>

namespace pote {
namespace {

using test::sjis;

std::vector<SectionHit> allHits(const std::vector<QByteArray>& texts, const QByteArray& pattern,
                                CaseMode mode = CaseMode::Sensitive) {
    return collect_hits(texts, pattern, mode).hits;
}

TEST(SectionSearch, FindsHitsInEverySectionIncludingThePanesUnsavedText) {
    SectionStore store;
    store.section(0).text = sjis("猫がいる\r\n");
    store.appendEmpty();
    store.section(1).text = sjis("ここには何もない");
    store.appendEmpty();
    store.section(2).text = sjis("古い文章");
    store.current = 2;
    const std::vector<SectionHit> hits =
        allHits(search_snapshot(store, sjis("一行目\r\n二行目の猫と猫")), sjis("猫"));
    ASSERT_EQ(hits.size(), 3u);
    EXPECT_EQ(hits[0].section, 0);
    EXPECT_EQ(hits[0].offset, 0);
    EXPECT_EQ(hits[1].section, 2);
    EXPECT_EQ(hits[1].line, 1);
    EXPECT_EQ(hits[1].lineStart, 8);
    EXPECT_EQ(hits[1].offset, 16);
    EXPECT_EQ(hits[2].offset, 20);
    EXPECT_EQ(hits[2].lineEnd, 22);
}

TEST(SectionSearch, HitsDoNotOverlapAndFoldWhenAsked) {
    const std::vector<QByteArray> texts{"aaaa", "AaA"};
    const std::vector<SectionHit> exact = allHits(texts, "aa");
    ASSERT_EQ(exact.size(), 2u);
    EXPECT_EQ(exact[1].offset, 2);
    const std::vector<SectionHit> folded = allHits(texts, "aa", CaseMode::Insensitive);
    ASSERT_EQ(folded.size(), 3u);
    EXPECT_EQ(folded[2].section, 1);
    EXPECT_EQ(folded[2].offset, 0);
}

// Line of each offset as the pane splits lines: CR LF, a lone CR and a lone LF each end one.
TEST(SectionSearch, LineNumbersAgreeWithACountByTheBookOnRandomTexts) {
    static const char* pieces[] = {"\r\n", "\r", "\n", "x", "ab", "\x83\x41", " ", "\r\r\n"};
    std::mt19937 random(99);
    std::uniform_int_distribution<int> pick(0, std::size(pieces) - 1);
    for (int round = 0; round < 3000; ++round) {
        QByteArray text;
        while (text.size() < round % 120)
            text += pieces[pick(random)];
        std::vector<SectionHit> hits = allHits({text}, "x");
        qsizetype line = 0;
        qsizetype lineStart = 0;
        size_t h = 0;
        for (qsizetype i = 0; i < text.size() && h < hits.size(); ++i) {
            if (hits[h].offset == i) {
                ASSERT_EQ(hits[h].line, line) << text.toHex().toStdString() << " at " << i;
                ASSERT_EQ(hits[h].lineStart, lineStart);
                const qsizetype end = text.indexOf('\r', i) < 0 ? text.indexOf('\n', i)
                                      : text.indexOf('\n', i) < 0
                                          ? text.indexOf('\r', i)
                                          : std::min(text.indexOf('\r', i), text.indexOf('\n', i));
                ASSERT_EQ(hits[h].lineEnd, end < 0 ? text.size() : end);
                ++h;
            }
            if (text[i] == '\n' ||
                (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n'))) {
                ++line;
                lineStart = i + 1;
            }
        }
        ASSERT_EQ(h, hits.size());
    }
}

// Texts far longer than the counting's blocks, as dense with breaks as text can be: every
// count of a block's byte lanes must reach the total, however many blocks lie between hits.
TEST(SectionSearch, LineNumbersHoldOnLongTextsDenseWithBreaks) {
    std::mt19937 random(7);
    for (const QByteArray& fill :
         {QByteArray("\n"), QByteArray("\r"), QByteArray("\r\n"), QByteArray("\r\r\n\n")}) {
        QByteArray text;
        std::vector<qsizetype> lines;
        qsizetype line = 0;
        while (text.size() < 200000) {
            const int run = std::uniform_int_distribution<int>(0, 9000)(random);
            for (int i = 0; i < run; ++i)
                text += fill;
            line += run * (fill == "\r\r\n\n" ? 3 : 1);
            lines.push_back(line);
            text += 'x';
        }
        const std::vector<SectionHit> hits = allHits({text}, "x");
        ASSERT_EQ(hits.size(), lines.size());
        for (size_t h = 0; h < hits.size(); ++h)
            ASSERT_EQ(hits[h].line, lines[h]) << fill.toHex().toStdString() << " hit " << h;
    }
}

TEST(SectionSearch, ContextIsCutAtCharacterStarts) {
    // 100 double-byte characters, the hit in the middle: 40 bytes back from byte 100 is byte
    // 60, a character start; 41 back would be inside one and is moved forward.
    const QByteArray line = sjis("あ").repeated(50) + "X" + sjis("い").repeated(50);
    const std::vector<SectionHit> hits = allHits({"head\r\n" + line + "\r\ntail"}, "X");
    ASSERT_EQ(hits.size(), 1u);
    const QByteArray text = "head\r\n" + line + "\r\ntail";
    HitContext c = hit_context(text, hits[0], 1, 41, 9);
    EXPECT_EQ(c.text, sjis("あ").repeated(20) + "X" + sjis("い").repeated(4));
    EXPECT_EQ(c.hitAt, 40);
    EXPECT_TRUE(c.cutBefore);
    EXPECT_TRUE(c.cutAfter);
    c = hit_context(text, hits[0], 1, 500, 500);
    EXPECT_EQ(c.text, line);
    EXPECT_FALSE(c.cutBefore);
    EXPECT_FALSE(c.cutAfter);
}

TEST(SectionSearch, StopsAtTheLimitOrWhenCancelled) {
    const std::vector<QByteArray> texts{"a a a", "a a"};
    SectionSearchResult r = collect_hits(texts, "a", CaseMode::Sensitive, 3);
    EXPECT_EQ(r.hits.size(), 3u);
    EXPECT_TRUE(r.truncated);

    std::vector<std::pair<int, qint64>> reports;
    r = collect_hits(texts, "a", CaseMode::Sensitive, kMaxListedHits, nullptr,
                     [&](int done, qint64 found) { reports.emplace_back(done, found); });
    EXPECT_EQ(r.hits.size(), 5u);
    EXPECT_FALSE(r.truncated);
    EXPECT_EQ(reports, (std::vector<std::pair<int, qint64>>{{1, 3}, {2, 5}}));

    std::atomic_bool cancel{false};
    r = collect_hits(texts, "a", CaseMode::Sensitive, kMaxListedHits, &cancel,
                     [&](int, qint64) { cancel = true; });
    EXPECT_TRUE(r.cancelled);
    EXPECT_EQ(r.hits.size(), 3u);
}

} // namespace
} // namespace pote
