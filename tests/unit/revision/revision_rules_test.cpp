#include "revision/revision_check.h"

#include "core/cp932.h"
#include "support/test_files.h"

#include <gtest/gtest.h>

#include <QStringList>

namespace pote::revision {
namespace {

using test::sjis;

std::vector<Finding> check(const QByteArray& text, Rule rule, int longSentence = 100) {
    RevisionOptions options;
    options.enabled.fill(false);
    options.set(rule, true);
    options.longSentence = longSentence;
    const RevisionOutcome outcome = checkSections({{0, text}}, options);
    EXPECT_TRUE(outcome.skipped.isEmpty()) << outcome.skipped.toStdString();
    return outcome.findings;
}

// What each finding flags, as the stored bytes read back.
QStringList flagged(const QByteArray& text, const std::vector<Finding>& findings) {
    QStringList out;
    for (const Finding& f : findings)
        out.append(cp932::decode(QByteArrayView(text).sliced(f.offset, f.length)));
    return out;
}

struct Row {
    const char* name;
    Rule rule;
    const char* text;     // UTF-8, CP932 once checked
    QStringList expected; // the flagged stored text, in order
};

class RuleTable : public testing::TestWithParam<Row> {};

TEST_P(RuleTable, FlagsExactlyTheSlips) {
    const Row& row = GetParam();
    const QByteArray text = sjis(row.text);
    EXPECT_EQ(flagged(text, check(text, row.rule)), row.expected);
}

const QStringList none;

std::string rowName(const testing::TestParamInfo<Row>& row) {
    return row.param.name;
}

INSTANTIATE_TEST_SUITE_P(
    Brackets, RuleTable,
    testing::Values(Row{"Unclosed", Rule::Brackets, "「こんにちは、と彼は言った。", {"「"}},
                    Row{"Unopened", Rule::Brackets, "こんにちは」と彼は言った。", {"」"}},
                    Row{"InnerLeftOpen", Rule::Brackets, "「『本』を読む『話」", {"『"}},
                    Row{"EachParagraphAlone", Rule::Brackets, "（注\r\n）", {"（", "）"}},
                    Row{"Dialogue", Rule::Brackets, "「『本』を読もう」と言った。（笑）", none},
                    Row{"SmileyParenthesesAreNotCounted", Rule::Brackets, "よろしく(^^)/ 1)",
                        none}),
    rowName);

INSTANTIATE_TEST_SUITE_P(
    Width, RuleTable,
    testing::Values(Row{"FewerHalfWidth", Rule::MixedWidth, "すごい！本当？うん！えっ!", {"!"}},
                    Row{"FewerFullWidth", Rule::MixedWidth, "ええ? そう? 本当? うん？", {"？"}},
                    Row{"UprightPairsAndLatin", Rule::MixedWidth, "すごい！まさか!?Yahoo!", none},
                    Row{"OneKindOnly", Rule::MixedWidth, "え！本当！？", none}),
    rowName);

INSTANTIATE_TEST_SUITE_P(
    Period, RuleTable,
    testing::Values(
        Row{"LostPeriod",
            Rule::MissingPeriod,
            "彼は歩いた。\r\n雨が降った。\r\n傘はない。\r\n空を見上げた。そして走り出した\r\n",
            {"た"}},
        Row{"HeadingsAndDialogue", Rule::MissingPeriod,
            "第一章　始まり\r\n彼は歩いた。\r\n「行こうよ」\r\n雨が降った。\r\n傘はない。\r\n"
            "……そうか\r\n",
            none},
        Row{"NoHabit", Rule::MissingPeriod, "彼は歩いて空を見上げてため息をついていた\r\n雨。\r\n",
            none}),
    rowName);

INSTANTIATE_TEST_SUITE_P(
    Particles, RuleTable,
    testing::Values(Row{"NoNo", Rule::DoubledParticles, "私のの本を読んだ。", {"のの"}},
                    Row{"GaGa", Rule::DoubledParticles, "猫がが鳴いた。", {"がが"}},
                    Row{"LaughterAndMonono", Rule::DoubledParticles,
                        "ははは、と笑ったものの、彼はここにいた。", none}),
    rowName);

INSTANTIATE_TEST_SUITE_P(DroppedRa, RuleTable,
                         testing::Values(Row{"Narration",
                                             Rule::DroppedRa,
                                             "ここからは海が見れる。明日も来れる。もう食べれない。",
                                             {"見れる", "来れる", "食べれ"}},
                                         Row{"Correct", Rule::DroppedRa,
                                             "海が見られる。窓を開ける。晴れる日に入れる。", none},
                                         Row{"SpokenIsTheVoice", Rule::DroppedRa,
                                             "「ここなら海が見れるよ」", none}),
                         rowName);

INSTANTIATE_TEST_SUITE_P(
    Endings, RuleTable,
    testing::Values(
        Row{"ThreeInARow",
            Rule::RepeatedEndings,
            "彼は歩いた。空は青かった。鳥が鳴いた。",
            {"た。"}},
        Row{"RunAcrossParagraphs",
            Rule::RepeatedEndings,
            "彼は歩いた。\r\n空は青かった。\r\n鳥が鳴いた。風が吹いた。",
            {"た。"}},
        Row{"Varied", Rule::RepeatedEndings, "彼は歩いた。空が青い。鳥が鳴いた。", none},
        Row{"QuoteInsideNarration",
            Rule::RepeatedEndings,
            "彼は歩いた。「疲れた」と言った。鳥が鳴いた。",
            {"た。"}},
        Row{"DialogueBreaksTheRun", Rule::RepeatedEndings,
            "彼は歩いた。空を見た。\r\n「そうだった。行った。来た。」\r\n鳥が鳴いた。", none},
        Row{"DialogueAlone", Rule::RepeatedEndings, "「そうだった。行った。来た。」\r\n「うん」",
            none}),
    rowName);

INSTANTIATE_TEST_SUITE_P(Variants, RuleTable,
                         testing::Values(Row{"KanaForKanji",
                                             Rule::Variants,
                                             "子供が来た。子供が笑った。子どもが泣いた。",
                                             {"子ども"}},
                                         Row{"ConjugatedVerbs",
                                             Rule::Variants,
                                             "それは出来る。これもできる。あれもできた。",
                                             {"出来る"}},
                                         Row{"Homophones", Rule::Variants,
                                             "友に会う。服が合う。橋を渡る。箸を持つ。", none},
                                         Row{"Pronouns", Rule::Variants,
                                             "私は言った。「わたしは行く」", none}),
                         rowName);

TEST(RevisionRules, DialogueRepeatedEndingIsCountedOnceAndExtended) {
    const QByteArray text = sjis("歩いた。見た。鳴いた。吹いた。");
    const std::vector<Finding> f = check(text, Rule::RepeatedEndings);
    ASSERT_EQ(f.size(), 1u);
    EXPECT_TRUE(f[0].message.contains(QStringLiteral("4つ"))) << f[0].message.toStdString();
}

TEST(RevisionRules, VariantsListEachSpellingsCount) {
    const QByteArray text = sjis("子供が来た。子供が笑った。子どもが泣いた。");
    const std::vector<Finding> f = check(text, Rule::Variants);
    ASSERT_EQ(f.size(), 1u);
    EXPECT_TRUE(f[0].message.contains(QStringLiteral("「子供」2回")));
    EXPECT_TRUE(f[0].message.contains(QStringLiteral("「子ども」1回")));
    EXPECT_EQ(f[0].suggestion, QStringLiteral("子供"));
}

TEST(RevisionRules, LongSentencesAtTheLimit) {
    const QString hundred(100, QChar(u'あ'));
    const QByteArray text = cp932::encode(hundred + QStringLiteral("。\r\n") + hundred.left(99) +
                                          QStringLiteral("。「") + hundred + QStringLiteral("」"));
    // 101 characters with its 。; 100; a quoted line of 102 with its brackets.
    const std::vector<Finding> f = check(text, Rule::LongSentences);
    ASSERT_EQ(f.size(), 2u);
    EXPECT_EQ(f[0].offset, 0u);
    EXPECT_EQ(f[0].length, 202u);
    EXPECT_EQ(check(text, Rule::LongSentences, 102).size(), 0u);
}

TEST(RevisionRules, NotationIsNotText) {
    // The ruby reading is skipped (its 、 would end nothing, its のの is no slip), the base read.
    const QByteArray text =
        sjis("｜子供《こどもののの》が来た。子供が笑った。《《子ども》》が泣いた。");
    EXPECT_EQ(flagged(text, check(text, Rule::DoubledParticles)), none);
    EXPECT_EQ(flagged(text, check(text, Rule::Variants)), QStringList{"子ども"});
}

TEST(RevisionRules, WithoutTheDictionaryTheOtherRulesStillRun) {
    qputenv("POTE_MECAB_DICDIR", "/nonexistent/dictionary");
    const QByteArray text = sjis("「子供が来た。子どもがが見れる。");
    const RevisionOutcome outcome = checkSections({{0, text}}, RevisionOptions{});
    qunsetenv("POTE_MECAB_DICDIR");
    EXPECT_TRUE(outcome.skipped.contains(QStringLiteral("/nonexistent/dictionary")));
    ASSERT_EQ(outcome.findings.size(), 1u);
    EXPECT_EQ(outcome.findings[0].rule, Rule::Brackets);
}

TEST(RevisionRules, BadBytesAndHugeSentences) {
    // NULs, stray bytes, a lead byte cut off, and a sentence of a million bytes that never ends.
    QByteArray text("\x00\x80\xff\x82", 4);
    text += sjis("のの本。\r\n");
    for (int i = 0; i < 50000; ++i)
        text += sjis("あいうえお、かきくけこ");
    const RevisionOutcome outcome = checkSections({{0, text}}, RevisionOptions{});
    ASSERT_TRUE(outcome.skipped.isEmpty());
    bool longFound = false;
    for (const Finding& f : outcome.findings) {
        ASSERT_LE(qsizetype(f.offset) + f.length, text.size());
        longFound = longFound || (f.rule == Rule::LongSentences && f.length > 1000000);
    }
    EXPECT_TRUE(longFound);
}

} // namespace
} // namespace pote::revision
