#include "editing/replace.h"

#include "support/test_files.h"

#include <gtest/gtest.h>

#include <random>

namespace pote {
namespace {

using test::sjis;

struct Row {
    const char* name;
    QByteArray text;
    QByteArray pattern;
    QByteArray replacement;
    CaseMode mode;
    QByteArray expected;
    int count;
};

class ReplaceAll : public testing::TestWithParam<Row> {};

TEST_P(ReplaceAll, ReplacesEveryOccurrenceOnce) {
    const Row& r = GetParam();
    const ReplaceAllResult result = replace_all(r.text, r.pattern, r.replacement, r.mode);
    EXPECT_EQ(result.text, r.expected);
    EXPECT_EQ(result.count, r.count);
}

constexpr CaseMode kExact = CaseMode::Sensitive;
constexpr CaseMode kFold = CaseMode::Insensitive;

INSTANTIATE_TEST_SUITE_P(
    Cases, ReplaceAll,
    testing::Values(
        Row{"ReplacementHoldingThePatternIsNotSearchedAgain", "aaa", "a", "aa", kExact, "aaaaaa",
            3},
        Row{"Deleting", "a-b-c", "-", "", kExact, "abc", 2},
        Row{"NothingFoundLeavesTheText", "abc", "x", "y", kFold, "abc", 0},
        Row{"EmptyPatternReplacesNothing", "abc", "", "y", kFold, "abc", 0},
        Row{"CaseBoxTickedLeavesCapitals", "Cat cat CAT", "cat", "dog", kExact, "Cat dog CAT", 1},
        Row{"CaseBoxClearTakesThemAll", "Cat cat CAT", "cat", "dog", kFold, "dog dog dog", 3},
        Row{"FullWidthCapitalsFold", sjis("ＣＡＴとｃａｔ"), sjis("ｃａｔ"), sjis("猫"), kFold,
            sjis("猫と猫"), 2},
        Row{"SecondBytesAreNotLetters", sjis("アA"), "A", "B", kExact, sjis("アB"), 1},
        Row{"MatchAtTheLastByte", "xyz", "z", "!", kExact, "xy!", 1}),
    [](const testing::TestParamInfo<Row>& row) { return row.param.name; });

TEST(ReplaceAll, StopsAfterTheLimit) {
    const ReplaceAllResult result =
        replace_all(QByteArray("x.").repeated(1500), "x", "yy", CaseMode::Insensitive);
    EXPECT_EQ(result.count, 1001);
    EXPECT_EQ(result.text, QByteArray("yy.").repeated(1001) + QByteArray("x.").repeated(499));
}

// The loop as the dialog first ran it: delete and insert in one working copy, the next search
// starting right after the inserted replacement.
ReplaceAllResult replaceAllByTheBook(QByteArray work, const QByteArray& pattern,
                                     const QByteArray& replacement, CaseMode mode) {
    int count = 0;
    qsizetype from = 0;
    for (int passes = 0; passes <= 1000; ++passes) {
        const qsizetype m = search_from(work, pattern, from, mode);
        if (m < 0) break;
        work.remove(m, pattern.size());
        work.insert(m, replacement);
        ++count;
        from = m + replacement.size();
    }
    return {work, count};
}

TEST(ReplaceAll, AgreesWithTheWorkingCopyLoopOnRandomTexts) {
    static const char* pieces[] = {"a",        "A", "\x83\x41", "\x82",     "\x82\x60",
                                   "\x82\x81", "b", "\r\n",     "\x95\x5c", "\\"};
    std::mt19937 random(77);
    std::uniform_int_distribution<int> pick(0, std::size(pieces) - 1);
    auto make = [&](int n) {
        QByteArray s;
        for (int i = 0; i < n; ++i)
            s += pieces[pick(random)];
        return s;
    };
    for (int round = 0; round < 5000; ++round) {
        const QByteArray text = make(round % 40);
        const QByteArray pattern = make(1 + round % 2);
        const QByteArray replacement = make(round % 3);
        for (CaseMode mode : {CaseMode::Sensitive, CaseMode::Insensitive}) {
            const ReplaceAllResult ours = replace_all(text, pattern, replacement, mode);
            const ReplaceAllResult book = replaceAllByTheBook(text, pattern, replacement, mode);
            ASSERT_EQ(ours.text, book.text) << text.toHex().toStdString();
            ASSERT_EQ(ours.count, book.count);
        }
    }
}

TEST(ReplaceNext, PlansTheReplacementAndTheNextOccurrence) {
    // "abcabc": b at 1 becomes three bytes, so the second b moves from 4 to 6.
    ReplaceNextResult r = replace_next("abcabc", 0, "b", 3, CaseMode::Sensitive);
    EXPECT_EQ(r.match, 1);
    EXPECT_EQ(r.nextMatch, 6);
    // A selected occurrence is itself found; a replacement holding the pattern is skipped.
    r = replace_next("xaa", 1, "a", 2, CaseMode::Sensitive);
    EXPECT_EQ(r.match, 1);
    EXPECT_EQ(r.nextMatch, 3);
    r = replace_next("aXb", 0, "x", 1, CaseMode::Insensitive);
    EXPECT_EQ(r.match, 1);
    EXPECT_EQ(r.nextMatch, -1);
    r = replace_next("abc", 0, "", 1, CaseMode::Insensitive);
    EXPECT_EQ(r.match, -1);
}

TEST(ReplaceNotes, CountNote) {
    EXPECT_EQ(replacedCountNote(1001), QStringLiteral("1001個の文字列を置換しちゃったにゃん。"));
}

} // namespace
} // namespace pote
