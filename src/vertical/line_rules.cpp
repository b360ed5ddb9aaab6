#include "vertical/line_rules.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace pote::vertical {

namespace {

constexpr std::u16string_view kNoStart =
    u"、。，．・：；？！‼⁇⁈⁉）］｝〕〉》」』】〙〗〟’”｠»ヽヾゝゞ々〻ー゛゜゠"
    u"ァィゥェォッャュョヮヵヶぁぃぅぇぉっゃゅょゎゕゖ"
    u"｡､･ｰｧｨｩｪｫｬｭｮｯ｣ﾞﾟ)]},.:;!?";
constexpr std::u16string_view kNoEnd = u"「『（［｛〔〈《【〘〖〝‘“｟«｢([{";
constexpr std::u16string_view kHangs = u"、。";
// Dashes and leaders, written two in a row as one mark (―― ……); U+2500 stands in for the
// dash in many texts.
constexpr std::u16string_view kPaired = u"―…‥─";

constexpr std::array<quint8, 0x10000> kRules = [] {
    std::array<quint8, 0x10000> t{};
    const auto mark = [&t](std::u16string_view chars, quint8 rule) {
        for (char16_t c : chars)
            t[c] |= rule;
    };
    mark(kNoStart, CharRule::NoStart);
    mark(kNoEnd, CharRule::NoEnd);
    mark(kHangs, CharRule::Hangs);
    mark(kPaired, CharRule::Paired);
    for (char16_t c = 0x21; c <= 0x7E; ++c)
        t[c] |= CharRule::HalfWidth;
    return t;
}();

bool isDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}

// Two half-width characters that are set together across the line as one sign.
bool isExclamationPair(char16_t a, char16_t b) {
    return (a == u'!' || a == u'?') && (b == u'!' || b == u'?');
}

// A paragraph that opens with a space or a bracket already has its start.
bool hasOwnIndent(char16_t first) {
    return first == u'　' || first == u' ' || first == u'\t' ||
           (charRules(first) & CharRule::NoEnd) != 0;
}

} // namespace

quint8 charRules(char16_t ch) {
    return kRules[ch];
}

RubyPlace placeRuby(int firstCell, int lastCell, qsizetype readingLength, int charsPerLine) {
    RubyPlace place;
    place.length = double(readingLength) / 2;
    const double centred = (firstCell + lastCell - place.length) / 2;
    place.top = std::max(0.0, std::min(centred, charsPerLine - place.length));
    return place;
}

// A run of half-width letters, digits and signs from chars[i] (spaces between them belong to
// it; markup's edges end it): one or two digits, or !! !? and kin, are one 縦中横 cell, anything
// else is set sideways two characters to a cell. Returns where the run ends.
qsizetype ParagraphCells::addHalfWidthRun(const Paragraph& p, qsizetype i) {
    const QList<TextChar>& chars = p.chars;
    const qsizetype n = chars.size();
    const auto inRun = [&](qsizetype k) {
        return k < n && (kRules[chars[k].ch] & CharRule::HalfWidth) &&
               (m_boundaries.empty() || !m_boundaries[size_t(k)]);
    };
    qsizetype j = i + 1;
    for (;;) {
        if (inRun(j))
            ++j;
        else if (j < n && chars[j].ch == u' ' && inRun(j + 1) &&
                 (m_boundaries.empty() || !m_boundaries[size_t(j)]))
            j += 2;
        else
            break;
    }
    const qsizetype length = j - i;
    const bool together =
        length <= 2 && (length == 1 ? isDigit(chars[i].ch)
                                    : (isDigit(chars[i].ch) && isDigit(chars[i + 1].ch)) ||
                                          isExclamationPair(chars[i].ch, chars[i + 1].ch));
    const CellKind kind = together ? CellKind::TateChuYoko : CellKind::Sideways;
    for (qsizetype k = i; k < j; k += 2) {
        const qsizetype last = std::min(k + 2, j) - 1;
        const quint8 rules =
            (kRules[chars[k].ch] & CharRule::NoStart) | (kRules[chars[last].ch] & CharRule::NoEnd);
        if (!m_cellOfChar.empty()) {
            m_cellOfChar[size_t(k)] = size();
            m_cellOfChar[size_t(last)] = size();
        }
        addCell(rules, chars[k].offset, kind, chars[k].ch, last > k ? chars[last].ch : 0);
    }
    return j;
}

void ParagraphCells::build(const Paragraph& p, bool indent, int charsPerLine, bool withCells) {
    const QList<TextChar>& chars = p.chars;
    const qsizetype n = chars.size();
    // Room for every character and an indent, written in place: no cell is more than that. The
    // buffers only grow, so that a paragraph costs no clearing of what the last one left.
    m_size = 0;
    const size_t room = size_t(n) + 1;
    if (m_rules.size() < room) {
        m_rules.resize(room);
        m_offsets.resize(room);
    }
    m_withCells = withCells;
    if (withCells && m_cells.size() < room) m_cells.resize(room);
    m_cellOfChar.clear();
    m_boundaries.clear();
    if (!p.ruby.isEmpty() || !p.emphasis.isEmpty()) {
        m_cellOfChar.assign(size_t(n), 0);
        m_boundaries.assign(size_t(n) + 1, false);
        for (const RubySpan& r : p.ruby)
            m_boundaries[size_t(r.first)] = m_boundaries[size_t(r.last)] = true;
        for (const EmphasisSpan& e : p.emphasis)
            m_boundaries[size_t(e.first)] = m_boundaries[size_t(e.last)] = true;
    }
    if (indent && n > 0 && !hasOwnIndent(chars[0].ch))
        addCell(0, chars[0].offset, CellKind::Upright, u'　', 0);

    char16_t openPair = 0; // a dash or leader that waits for its second
    for (qsizetype i = 0; i < n;) {
        const char16_t c = chars[i].ch;
        const quint8 rules = kRules[c];
        if (rules & CharRule::HalfWidth) {
            i = addHalfWidthRun(p, i);
            openPair = 0;
            continue;
        }
        quint8 cellRules = rules & (CellRule::NoStart | CellRule::NoEnd | CellRule::Hangs);
        if (!(rules & CharRule::Paired)) {
            openPair = 0;
        } else if (openPair == c) {
            cellRules |= CellRule::Glued;
            openPair = 0;
        } else {
            openPair = c;
        }
        if (!m_cellOfChar.empty()) m_cellOfChar[size_t(i)] = size();
        addCell(cellRules, chars[i].offset, CellKind::Upright, c, 0);
        ++i;
    }

    for (const RubySpan& r : p.ruby) {
        const qsizetype first = m_cellOfChar[size_t(r.first)];
        const qsizetype last = m_cellOfChar[size_t(r.last - 1)] + 1;
        if (last - first <= charsPerLine)
            for (qsizetype k = first + 1; k < last; ++k)
                m_rules[size_t(k)] |= CellRule::Glued;
    }
}

bool ParagraphCells::mayBreakBefore(qsizetype k) const {
    return !(m_rules[size_t(k)] & (CellRule::NoStart | CellRule::Glued)) &&
           !(m_rules[size_t(k) - 1] & CellRule::NoEnd);
}

qsizetype ParagraphCells::lineEnd(qsizetype start, int charsPerLine) const {
    const qsizetype n = size();
    if (n - start <= charsPerLine) return n;
    const qsizetype full = start + charsPerLine;
    const quint8 next = m_rules[size_t(full)];
    if ((next & CellRule::Hangs) && !(next & CellRule::Glued) &&
        (full + 1 == n || mayBreakBefore(full + 1)))
        return full + 1;
    for (qsizetype k = full; k > start; --k)
        if (mayBreakBefore(k)) return k;
    return full;
}

} // namespace pote::vertical
