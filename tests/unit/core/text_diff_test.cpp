#include "core/text_diff.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace pote::diff {
namespace {

const Byte* bytes(const std::string& s) {
    return reinterpret_cast<const Byte*>(s.data());
}

Bytes textOf(const std::string& s, bool complete = true) {
    return {bytes(s), qsizetype(s.size()), complete};
}

// Random bytes over a small alphabet, so that equal runs and breaks of every form are common.
std::string randomText(std::mt19937& rng, int maxLength, const std::string& alphabet) {
    std::string s(std::size_t(std::uniform_int_distribution<int>(0, maxLength)(rng)), ' ');
    for (char& c : s)
        c = alphabet[std::uniform_int_distribution<std::size_t>(0, alphabet.size() - 1)(rng)];
    return s;
}

TEST(TextDiff, CommonStartsAndEndsMatchAByteByByteWalk) {
    std::mt19937 rng(7);
    for (int round = 0; round < 20000; ++round) {
        // Two texts equal but for a few bytes, at offsets that cross the word and block strides.
        const std::string a = randomText(rng, 120, "ab\x82\xED");
        std::string b =
            a.substr(std::uniform_int_distribution<std::size_t>(0, 3)(rng) % (a.size() + 1));
        for (int k = std::uniform_int_distribution<int>(0, 2)(rng); k > 0 && !b.empty(); --k)
            b[std::uniform_int_distribution<std::size_t>(0, b.size() - 1)(rng)] = 'z';
        const qsizetype n = qsizetype(std::min(a.size(), b.size()));
        qsizetype prefix = 0;
        while (prefix < n && a[std::size_t(prefix)] == b[std::size_t(prefix)])
            ++prefix;
        qsizetype suffix = 0;
        while (suffix < n &&
               a[a.size() - 1 - std::size_t(suffix)] == b[b.size() - 1 - std::size_t(suffix)])
            ++suffix;
        ASSERT_EQ(commonPrefix(bytes(a), bytes(b), n), prefix) << round;
        ASSERT_EQ(commonSuffix(bytes(a), qsizetype(a.size()), bytes(b), qsizetype(b.size())),
                  suffix)
            << round;
    }
}

// Every line of a text with breaks of every form, against a plain reading of the rule: a line
// ends at CR LF, a lone CR or a lone LF.
TEST(TextDiff, LinesSplitAtEveryFormOfBreak) {
    std::mt19937 rng(11);
    for (int round = 0; round < 5000; ++round) {
        const std::string s = randomText(rng, 60, round % 2 ? "a\r\n" : "abcdefghijklmnopqrst\r\n");
        const Bytes text = textOf(s);
        std::vector<Line> expected;
        std::vector<qsizetype> lineOf(s.size() + 1); // the start of the line holding each byte
        for (std::size_t i = 0; i < s.size();) {
            Line line{qsizetype(i), qsizetype(i), qsizetype(i)};
            while (i < s.size() && s[i] != '\r' && s[i] != '\n')
                ++i;
            line.end = qsizetype(i);
            if (i < s.size()) i += s[i] == '\r' && i + 1 < s.size() && s[i + 1] == '\n' ? 2 : 1;
            line.next = qsizetype(i);
            for (qsizetype q = line.start; q < line.next; ++q)
                lineOf[std::size_t(q)] = line.start;
            expected.push_back(line);
        }
        lineOf[s.size()] = expected.empty() || expected.back().hasBreak() ? qsizetype(s.size())
                                                                          : expected.back().start;
        ASSERT_EQ(linesOf(text, 0, text.n), expected) << round;
        ASSERT_EQ(findBreak(bytes(s), 0, text.n), expected.empty() ? 0 : expected.front().end)
            << round;
        for (const Line& line : expected)
            ASSERT_EQ(text.lineBefore(line.next, 0), line) << round;
        for (std::size_t pos = 0; pos <= s.size(); ++pos)
            ASSERT_EQ(text.lineStartAt(qsizetype(pos)), lineOf[pos]) << round << " at " << pos;
    }
}

TEST(TextDiff, LineListsReadOnlyWhatTheyMayAndKnow) {
    const std::string s = "one\r\ntwo\nthree\rfour";
    {
        SCOPED_TRACE("complete");
        qsizetype budget = 1000;
        bool unknown = false;
        const Bytes text = textOf(s);
        LineList lines(text, 5, budget, unknown);
        Line line;
        ASSERT_TRUE(lines.get(2, line));
        EXPECT_EQ(line, (Line{15, 19, 19}));
        EXPECT_FALSE(lines.get(3, line));
        EXPECT_TRUE(lines.endsAt(3));
        EXPECT_FALSE(lines.endsAt(2));
        EXPECT_EQ(lines.startOf(1), 9);
        EXPECT_EQ(lines.startOf(3), qsizetype(s.size()));
        EXPECT_FALSE(unknown);
        EXPECT_EQ(budget, 1000 - qsizetype(s.size() - 5));
    }
    {
        SCOPED_TRACE("the last line may go on in what is not known yet");
        qsizetype budget = 1000;
        bool unknown = false;
        const Bytes text = textOf(s, false);
        LineList lines(text, 0, budget, unknown);
        Line line;
        EXPECT_TRUE(lines.get(2, line));
        EXPECT_FALSE(unknown);
        EXPECT_FALSE(lines.get(3, line));
        EXPECT_FALSE(lines.endsAt(3));
        EXPECT_TRUE(unknown);
    }
    {
        SCOPED_TRACE("a spent budget ends the reading for good");
        qsizetype budget = 6;
        bool unknown = false;
        const Bytes text = textOf(s);
        LineList lines(text, 0, budget, unknown);
        Line line;
        EXPECT_TRUE(lines.get(1, line)); // the budget runs out on this line
        EXPECT_FALSE(lines.get(2, line));
        budget = 1000;
        EXPECT_TRUE(lines.get(2, line)) << "reading goes on once there is budget again";
        EXPECT_FALSE(unknown);
    }
}

// The length of a longest common subsequence, by the textbook table.
std::size_t lcsLength(const std::string& a, const std::string& b, char neverMatched) {
    std::vector<std::vector<std::size_t>> t(a.size() + 1, std::vector<std::size_t>(b.size() + 1));
    for (std::size_t i = a.size(); i-- > 0;) {
        for (std::size_t j = b.size(); j-- > 0;) {
            t[i][j] = a[i] == b[j] && a[i] != neverMatched ? t[i + 1][j + 1] + 1
                                                           : std::max(t[i + 1][j], t[i][j + 1]);
        }
    }
    return t[0][0];
}

TEST(TextDiff, CommonSubsequencesAreLongestAndMatchOnlyWhatMayBeMatched) {
    std::mt19937 rng(23);
    for (int round = 0; round < 20000; ++round) {
        const std::string alphabet = round % 3 == 0 ? "ab#" : "abcdefg#";
        const std::string a = randomText(rng, 40, alphabet);
        const std::string b = randomText(rng, 40, alphabet);
        const auto same = [&](qsizetype x, qsizetype y) {
            return a[std::size_t(x)] == b[std::size_t(y)] && a[std::size_t(x)] != '#';
        };
        Matches matches = {{-1, -1}}; // what is there already stays
        ASSERT_TRUE(commonSubsequence(qsizetype(a.size()), qsizetype(b.size()), same, matches));
        ASSERT_EQ(matches.front(), std::make_pair(qsizetype(-1), qsizetype(-1)));
        ASSERT_EQ(matches.size() - 1, lcsLength(a, b, '#')) << a << " / " << b;
        for (std::size_t k = 1; k < matches.size(); ++k) {
            ASSERT_TRUE(same(matches[k].first, matches[k].second));
            if (k > 1) {
                ASSERT_GT(matches[k].first, matches[k - 1].first);
                ASSERT_GT(matches[k].second, matches[k - 1].second);
            }
        }
    }
}

TEST(TextDiff, CommonSubsequencesGiveUpPastTheirLimits) {
    const std::string a(3000, 'a');
    const std::string b(3000, 'b');
    const auto same = [&](qsizetype x, qsizetype y) {
        return a[std::size_t(x)] == b[std::size_t(y)];
    };
    Matches matches = {{1, 2}};
    EXPECT_FALSE(commonSubsequence(3000, 3000, same, matches, {.maxEdits = 100}));
    EXPECT_FALSE(commonSubsequence(3000, 3000, same, matches, {.maxEdits = 6000, .maxPath = 1000}));
    EXPECT_FALSE(
        commonSubsequence(3000, 3000, same, matches,
                          {.maxEdits = 6000, .maxSteps = 1000, .maxPath = qint64(1) << 26}));
    EXPECT_EQ(matches, (Matches{{1, 2}}));
    EXPECT_TRUE(commonSubsequence(3000, 3000, same, matches,
                                  {.maxEdits = 6000, .maxPath = qint64(1) << 26}));
    EXPECT_EQ(matches, (Matches{{1, 2}})) << "nothing in common";
}

} // namespace
} // namespace pote::diff
