#pragma once
// The slips the revision check looks for, each switchable, and what the user can tune.

#include <QString>
#include <QStringList>

#include <array>
#include <optional>

namespace pote::revision {

enum class Rule {
    Variants,         // one word written in two ways
    RepeatedEndings,  // three sentences in a row ending the same way
    DoubledParticles, // のの, がが
    LongSentences,
    Brackets,      // 「 never closed, 」 never opened
    MixedWidth,    // ！ beside !
    DroppedRa,     // 見れる for 見られる
    MissingPeriod, // a paragraph ending without 。 where the others have one
};
constexpr int kRuleCount = 8;
constexpr std::array<Rule, kRuleCount> kAllRules{
    Rule::Variants, Rule::RepeatedEndings, Rule::DoubledParticles, Rule::LongSentences,
    Rule::Brackets, Rule::MixedWidth,      Rule::DroppedRa,        Rule::MissingPeriod};

// The rule's name on the command line and in the settings file (ASCII, never changes).
QString ruleId(Rule rule);
std::optional<Rule> ruleFromId(QStringView id);
// The rule's name in the window.
QString ruleCaption(Rule rule);
// The rules that need the words MeCab finds; the others run without a dictionary.
bool needsAnalysis(Rule rule);

constexpr int kDefaultLongSentence = 100;
constexpr int kMinLongSentence = 10;
constexpr int kMaxLongSentence = 100000;

struct RevisionOptions {
    std::array<bool, kRuleCount> enabled{true, true, true, true, true, true, true, true};
    int longSentence = kDefaultLongSentence; // characters; longer is a finding

    bool on(Rule rule) const { return enabled[static_cast<int>(rule)]; }
    void set(Rule rule, bool on) { enabled[static_cast<int>(rule)] = on; }
    bool anyNeedsAnalysis() const;
    bool operator==(const RevisionOptions&) const = default;
};

// "variants,brackets": only those rules on. Nullopt names the first unknown id in unknown.
std::optional<RevisionOptions> optionsWithRules(const QString& list, QString* unknown);

} // namespace pote::revision
