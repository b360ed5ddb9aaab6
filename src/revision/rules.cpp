#include "revision/rules.h"

namespace pote::revision {

namespace {

struct RuleNames {
    const char* id;
    const char16_t* caption;
};

constexpr std::array<RuleNames, kRuleCount> kNames{{
    {"variants", u"表記ゆれ"},
    {"endings", u"文末の繰り返し"},
    {"particles", u"助詞の重なり"},
    {"long", u"長い文"},
    {"brackets", u"括弧の対応"},
    {"width", u"全角と半角の混在"},
    {"ra", u"ら抜き言葉"},
    {"period", u"句点の抜け"},
}};

} // namespace

QString ruleId(Rule rule) {
    return QString::fromLatin1(kNames[static_cast<int>(rule)].id);
}

std::optional<Rule> ruleFromId(QStringView id) {
    for (Rule rule : kAllRules)
        if (id == QLatin1String(kNames[static_cast<int>(rule)].id)) return rule;
    return std::nullopt;
}

QString ruleCaption(Rule rule) {
    return QString::fromUtf16(kNames[static_cast<int>(rule)].caption);
}

bool needsAnalysis(Rule rule) {
    switch (rule) {
    case Rule::Variants:
    case Rule::RepeatedEndings:
    case Rule::DoubledParticles:
    case Rule::DroppedRa:
        return true;
    case Rule::LongSentences:
    case Rule::Brackets:
    case Rule::MixedWidth:
    case Rule::MissingPeriod:
        break;
    }
    return false;
}

bool RevisionOptions::anyNeedsAnalysis() const {
    for (Rule rule : kAllRules)
        if (on(rule) && needsAnalysis(rule)) return true;
    return false;
}

std::optional<RevisionOptions> optionsWithRules(const QString& list, QString* unknown) {
    RevisionOptions options;
    options.enabled.fill(false);
    for (const QString& id : list.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const std::optional<Rule> rule = ruleFromId(id.trimmed());
        if (!rule) {
            if (unknown) *unknown = id.trimmed();
            return std::nullopt;
        }
        options.set(*rule, true);
    }
    return options;
}

} // namespace pote::revision
