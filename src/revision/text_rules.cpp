#include "revision/text_rules.h"

#include "revision/revision_messages.h"
#include "vertical/notation.h"

namespace pote::revision {

namespace {

bool isAsciiAlnum(char16_t ch) {
    return (ch >= u'0' && ch <= u'9') || (ch >= u'a' && ch <= u'z') || (ch >= u'A' && ch <= u'Z');
}

bool isHalfMark(char16_t ch) {
    return ch == u'!' || ch == u'?';
}

bool isKana(char16_t ch) {
    return (ch >= 0x3041 && ch <= 0x309F) || (ch >= 0x30A1 && ch <= 0x30FF);
}

// A character a sentence of words can end on (not a mark, a dash, a space).
bool isWordCharacter(char16_t ch) {
    return isKana(ch) || vertical::isKanji(ch);
}

bool isBlank(char16_t ch) {
    return ch == u' ' || ch == u'　' || ch == u'\t';
}

} // namespace

void checkBrackets(const CheckedParagraph& paragraph, FindingSink& sink) {
    const QString& text = paragraph.text;
    // Only the brackets a writer pairs by hand; ( and ) are also smileys and list numbers.
    const auto tracked = [](char16_t ch) {
        return ch == u'「' || ch == u'」' || ch == u'『' || ch == u'』' || ch == u'（' ||
               ch == u'）';
    };
    std::vector<qsizetype> open;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t ch = text[i].unicode();
        if (!tracked(ch)) continue;
        if (isOpeningBracket(ch)) {
            open.push_back(i);
            continue;
        }
        const char16_t opener = openerOf(ch);
        // A closer may close an opener further down when the ones above it were never closed.
        auto match = open.end();
        for (auto it = open.end(); it != open.begin();) {
            --it;
            if (text[*it].unicode() == opener) {
                match = it;
                break;
            }
        }
        if (match == open.end()) {
            sink.add(paragraph, i, i + 1, Rule::Brackets, msg::unopenedBracket(text[i]),
                     QString(QChar(opener)));
            continue;
        }
        for (auto it = match + 1; it != open.end(); ++it)
            sink.add(paragraph, *it, *it + 1, Rule::Brackets, msg::unclosedBracket(text[*it]));
        open.erase(match, open.end());
    }
    for (qsizetype i : open)
        sink.add(paragraph, i, i + 1, Rule::Brackets, msg::unclosedBracket(text[i]));
}

void checkLongSentences(const CheckedParagraph& paragraph, const std::vector<Sentence>& sentences,
                        int limit, FindingSink& sink) {
    for (const Sentence& s : sentences) {
        qsizetype first = s.first;
        while (first < s.last && isBlank(paragraph.text[first].unicode()))
            ++first;
        const qsizetype characters = s.last - first;
        if (characters > limit)
            sink.add(paragraph, first, s.last, Rule::LongSentences,
                     msg::longSentence(characters, limit));
    }
}

void WidthTally::add(int section, const CheckedParagraph& paragraph) {
    const QString& text = paragraph.text;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t ch = text[i].unicode();
        const int family = (ch == u'！' || ch == u'!') ? 0 : (ch == u'？' || ch == u'?') ? 1 : -1;
        if (family < 0) continue;
        Family& f = m_families[size_t(family)];
        if (!isHalfMark(ch)) {
            if (f.fullPlaces.size() < kHeldPlacesCap)
                f.fullPlaces.push_back(holdPlace(section, paragraph, i, i + 1));
            ++f.full;
            continue;
        }
        const bool pairBefore = i > 0 && isHalfMark(text[i - 1].unicode());
        const bool pairAfter = i + 1 < n && isHalfMark(text[i + 1].unicode());
        const bool latin = i > 0 && isAsciiAlnum(text[i - 1].unicode());
        if (pairBefore || pairAfter || latin) continue;
        if (f.halfPlaces.size() < kHeldPlacesCap)
            f.halfPlaces.push_back(holdPlace(section, paragraph, i, i + 1));
        ++f.half;
    }
}

void WidthTally::finish(std::vector<Finding>& out) {
    constexpr char16_t kFull[] = {u'！', u'？'};
    constexpr char16_t kHalf[] = {u'!', u'?'};
    for (size_t family = 0; family < m_families.size(); ++family) {
        const Family& f = m_families[family];
        if (f.full == 0 || f.half == 0) continue;
        // The fewer kind is the slip; on a tie the full-width mark of Japanese text wins.
        const bool halfIsSlip = f.half <= f.full;
        const QChar used(halfIsSlip ? kHalf[family] : kFull[family]);
        const QChar usual(halfIsSlip ? kFull[family] : kHalf[family]);
        const qint64 usualCount = halfIsSlip ? f.full : f.half;
        for (const HeldPlace& p : halfIsSlip ? f.halfPlaces : f.fullPlaces)
            out.push_back({p.section, p.offset, p.length, Rule::MixedWidth, p.text,
                           msg::mixedWidth(used, usual, usualCount), QString(usual)});
    }
}

void PeriodTally::add(int section, const CheckedParagraph& paragraph,
                      const std::vector<Sentence>& sentences, const std::vector<quint8>& depth) {
    const QString& text = paragraph.text;
    qsizetype end = text.size();
    while (end > 0 && isBlank(text[end - 1].unicode()))
        --end;
    if (end == 0) return;
    qsizetype start = 0;
    while (start < end && isBlank(text[start].unicode()))
        ++start;
    const char16_t last = text[end - 1].unicode();
    if (last == u'。') {
        if (depth[size_t(end - 1)] == 0) ++m_withPeriod;
        return;
    }
    // Dialogue (a paragraph that opens with a bracket, or ends inside one) is the speaker's.
    if (!isWordCharacter(last) || depth[size_t(end - 1)] > 0 ||
        isOpeningBracket(text[start].unicode()))
        return;
    // A heading: short, and no sentence ends in it.
    constexpr qsizetype kHeadingLength = 20;
    const bool hasEndedSentence =
        std::any_of(sentences.begin(), sentences.end(),
                    [](const Sentence& s) { return s.terminated && !s.spoken; });
    if (!hasEndedSentence && end - start < kHeadingLength) return;
    ++m_without;
    if (m_places.size() < kHeldPlacesCap)
        m_places.push_back(holdPlace(section, paragraph, end - 1, end));
}

void PeriodTally::finish(std::vector<Finding>& out) {
    // The writer's habit must be clear: at least three paragraphs with 。 and twice as many as
    // without.
    if (m_withPeriod < 3 || m_withPeriod < 2 * m_without) return;
    for (const HeldPlace& p : m_places)
        out.push_back({p.section, p.offset, p.length, Rule::MissingPeriod, p.text,
                       msg::missingPeriod(), p.text + QStringLiteral("。")});
}

} // namespace pote::revision
