#include "editing/search.h"

#include "core/cp932.h"
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
    qsizetype from;
    CaseMode mode;
    qsizetype expected;
};

class SearchFrom : public testing::TestWithParam<Row> {};

TEST_P(SearchFrom, FindsTheFirstMatchOnACharacterStart) {
    const Row& r = GetParam();
    EXPECT_EQ(search_from(r.text, r.pattern, r.from, r.mode), r.expected);
}

constexpr CaseMode kExact = CaseMode::Sensitive;
constexpr CaseMode kFold = CaseMode::Insensitive;

INSTANTIATE_TEST_SUITE_P(
    Cases, SearchFrom,
    testing::Values(
        Row{"MatchEndingAtTheLastByte", "abcabc", "bc", 2, kExact, 4},
        Row{"OneByteAtTheVeryEnd", "xyz", "z", 0, kExact, 2},
        Row{"FromAtTheMatchFindsIt", "abab", "ab", 2, kExact, 2},
        Row{"NothingAfterFrom", "abcabc", "abc", 4, kExact, -1},
        Row{"FromAtTheEnd", "abc", "c", 3, kExact, -1},
        Row{"FromPastTheEnd", "abc", "a", 9, kExact, -1},
        Row{"EmptyPatternNeverMatches", "abc", "", 0, kExact, -1},
        Row{"EmptyPatternFolded", "abc", "", 0, kFold, -1}, Row{"EmptyText", "", "a", 0, kFold, -1},
        Row{"PatternLongerThanText", "ab", "abc", 0, kFold, -1},
        // ア is 0x83 0x41: its second byte is an A, but no character starts there.
        Row{"HalfWidthLetterNeverMatchesASecondByte", sjis("アA"), "A", 0, kExact, 2},
        Row{"NorWhenFolded", sjis("ア"), "a", 0, kFold, -1},
        Row{"YenByteInsideKanji", sjis("表\\1"), "\\", 0, kExact, 2},
        Row{"PairAfterALoneByteStillFound", sjis("xアA"), "A", 0, kExact, 3},
        Row{"CaseMattersWhenSensitive", "Hello hello", "hello", 0, kExact, 6},
        Row{"HalfWidthFolds", "Hello hello", "hELLO", 0, kFold, 0},
        Row{"FullWidthUpperFoldsToLower", sjis("のＡＢＣ"), sjis("ａｂｃ"), 0, kFold, 2},
        Row{"FullWidthLowerFoundByUpper", sjis("のａｂｃ"), sjis("ＡＢＣ"), 0, kFold, 2},
        Row{"LastFullWidthUpperFolds", sjis("のＺ"), sjis("ｚ"), 0, kFold, 2},
        Row{"LastFullWidthLowerFoundByUpper", sjis("のｚ"), sjis("Ｚ"), 0, kFold, 2},
        Row{"FullWidthCaseMattersWhenSensitive", sjis("ＡＢＣ"), sjis("ａｂｃ"), 0, kExact, -1},
        Row{"HalfAndFullWidthStayApart", sjis("ＡＢＣ"), "abc", 0, kFold, -1},
        Row{"KanjiPatternFolded", sjis("猫と犬と猫"), sjis("と猫"), 2, kFold, 6},
        Row{"MixedPatternFolded", sjis("ねこCAT猫ｃａｔ"), sjis("猫ＣＡＴ"), 0, kFold, 7}),
    [](const testing::TestParamInfo<Row>& row) { return row.param.name; });

TEST(SearchFrom, EveryPairStartsWithALeadByte) {
    // The boundary check takes any byte outside the lead range for the end of a character.
    for (unsigned lead = 0; lead <= 0xFF; ++lead)
        for (unsigned next = 0; next <= 0xFF; ++next) {
            const char bytes[] = {static_cast<char>(lead), static_cast<char>(next)};
            const QByteArrayView pair(bytes, 2);
            if (cp932::charLengthAt(pair, 0) == 2) {
                ASSERT_TRUE(cp932::isLeadByte(lead)) << std::hex << lead << " " << next;
            }
        }
}

// The rule as written: fold the window from `from` character by character (the codec tells
// which two bytes are a full-width capital), then compare at every character start.
QByteArray foldByTheBook(QByteArrayView text) {
    QByteArray out;
    for (qsizetype i = 0; i < text.size();) {
        const int len = cp932::charLengthAt(text, i);
        const QByteArrayView ch = text.sliced(i, len);
        const QString unit = cp932::decode(ch);
        if (unit.size() == 1 &&
            ((unit[0] >= u'A' && unit[0] <= u'Z') || (unit[0] >= u'Ａ' && unit[0] <= u'Ｚ')))
            out += cp932::encode(unit.toLower());
        else
            out += ch;
        i += len;
    }
    return out;
}

qsizetype searchByTheBook(QByteArrayView text, QByteArrayView pattern, qsizetype from,
                          CaseMode mode) {
    if (pattern.isEmpty() || from >= text.size()) return -1;
    QByteArray window = text.sliced(from).toByteArray();
    QByteArray wanted = pattern.toByteArray();
    if (mode == CaseMode::Insensitive) {
        window = foldByTheBook(window);
        wanted = foldByTheBook(wanted);
    }
    for (qsizetype i = 0; i + wanted.size() <= window.size();
         i += cp932::charLengthAt(text, from + i))
        if (window.sliced(i, wanted.size()) == wanted) return from + i;
    return -1;
}

const char* const kPieces[] = {"a",    "A",        "b",        "B",        "\\",
                               "\r\n", " ",        "\x82\x60", "\x82\x81", "\x82\x61",
                               "\x82", "\x83\x41", "\x83\x61", "\x95\x5c", "\x85\x40",
                               "\xb1", "\x82\xa0", "\x81\x8f", "\xfd",     "0"};

QByteArray randomPieces(std::mt19937& random, int count) {
    std::uniform_int_distribution<int> pick(0, std::size(kPieces) - 1);
    QByteArray text;
    for (int i = 0; i < count; ++i)
        text += kPieces[pick(random)];
    return text;
}

TEST(SearchFrom, AgreesWithTheCharacterByCharacterRuleOnRandomTexts) {
    std::mt19937 random(4242);
    for (int round = 0; round < 30000; ++round) {
        const QByteArray text = randomPieces(random, round % 70);
        // Half the patterns are cut from the text itself, so that most searches hit something.
        QByteArray pattern;
        if (round % 2 == 0 && !text.isEmpty()) {
            std::uniform_int_distribution<qsizetype> at(0, text.size() - 1);
            const qsizetype start = at(random);
            pattern = text.mid(start, 1 + round % 9);
        } else {
            pattern = randomPieces(random, 1 + round % 3);
        }
        std::vector<qsizetype> starts{0};
        for (qsizetype i = 0; i < text.size(); i += cp932::charLengthAt(text, i))
            starts.push_back(i);
        const qsizetype from = starts[round % starts.size()];
        for (CaseMode mode : {CaseMode::Sensitive, CaseMode::Insensitive})
            ASSERT_EQ(search_from(text, pattern, from, mode),
                      searchByTheBook(text, pattern, from, mode))
                << "text " << text.toHex().toStdString() << " pattern "
                << pattern.toHex().toStdString() << " from " << from << " mode " << int(mode);
    }
}

TEST(SearchFrom, FoldsExactlyTheLettersOfTheRuleAcrossTheirRows) {
    // Every pair of characters of the row that holds the full-width letters, and of the
    // printable single bytes: a fold range one short at either end shows here (Ｚ 82 79,
    // ｚ 82 9A).
    std::vector<QByteArray> characters;
    for (int trail = 0x40; trail <= 0xFC; ++trail) {
        const char pair[] = {'\x82', static_cast<char>(trail)};
        if (cp932::charLengthAt(QByteArrayView(pair, 2), 0) == 2) characters.emplace_back(pair, 2);
    }
    for (int b = 0x20; b < 0x7F; ++b)
        characters.emplace_back(1, static_cast<char>(b));
    for (const QByteArray& text : characters)
        for (const QByteArray& pattern : characters) {
            const bool same = foldByTheBook(text) == foldByTheBook(pattern);
            ASSERT_EQ(search_from(sjis("猫") + text, pattern, 0, CaseMode::Insensitive),
                      same ? 2 : -1)
                << "text " << text.toHex().toStdString() << " pattern "
                << pattern.toHex().toStdString();
            ASSERT_EQ(fold_case(text) == fold_case(pattern), same);
        }
}

TEST(SearchFrom, LongRunsOfSecondBytesStaySound) {
    // Thousands of ア (0x83 0x41) in a row, then a real A: every byte match before it is a
    // second byte.
    QByteArray text = sjis("ア").repeated(5000) + "A";
    EXPECT_EQ(search_from(text, "A", 0, CaseMode::Sensitive), 10000);
    EXPECT_EQ(search_from(text, "a", 0, CaseMode::Insensitive), 10000);
    // Shift the start by one lone lead: now the pairs are different characters.
    text.prepend('\x83');
    EXPECT_EQ(search_from(text, "A", 1, CaseMode::Sensitive), 10001);
}

TEST(FoldCase, LowersLettersCharacterByCharacter) {
    EXPECT_EQ(fold_case(sjis("AbＣｄアZ")), sjis("abｃｄアz"));
    EXPECT_EQ(fold_case(""), "");
}

} // namespace
} // namespace pote
