#include "vertical/line_rules.h"

#include "vertical/half_width_runs.h"

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
    for (char16_t c = 0; c < 0x80; ++c)
        if (isHalfWidthGraphic(c)) t[c] |= CharRule::HalfWidth;
    return t;
}();

// A paragraph that opens with a space or a bracket already has its start.
bool hasOwnIndent(char16_t first) {
    return first == u'　' || first == u' ' || first == u'\t' ||
           (charRules(first) & CharRule::NoEnd) != 0;
}

// A half-width katakana followed by a half-width voiced or semi-voiced mark, with no ruby or
// emphasis edge between them.
bool takesVoicedMark(const QList<TextChar>& chars, qsizetype i, const std::vector<bool>& edges) {
    if (i + 1 >= chars.size()) return false;
    const char16_t kana = chars[i].ch;
    const char16_t mark = chars[i + 1].ch;
    return kana >= u'ｦ' && kana <= u'ﾝ' && (mark == u'ﾞ' || mark == u'ﾟ') &&
           (edges.empty() || !edges[size_t(i) + 1]);
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

// A run of half-width letters, digits and signs from chars[i]: one 縦中横 cell, or sideways, set
// continuously over as many cells as half-width letters take (two to a cell, the last one
// perhaps half empty). A run that fits on a line is kept whole, as "ISO 400" must read. Returns
// where the run ends.
qsizetype ParagraphCells::addHalfWidthRun(const Paragraph& p, qsizetype i, int charsPerLine) {
    const QList<TextChar>& chars = p.chars;
    const qsizetype j = halfWidthRunEnd(chars, i, m_edges);
    const CellKind kind = standsUpright(chars, i, j) ? CellKind::TateChuYoko : CellKind::Sideways;
    const bool whole = (j - i + 1) / 2 <= charsPerLine;
    for (qsizetype k = i; k < j; k += 2) {
        const qsizetype last = std::min(k + 2, j) - 1;
        quint8 rules =
            (kRules[chars[k].ch] & CharRule::NoStart) | (kRules[chars[last].ch] & CharRule::NoEnd);
        if (k > i && whole) rules |= CellRule::Glued;
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
    markEdges(p, m_edges);
    if (!m_edges.empty()) m_cellOfChar.assign(size_t(n), 0);
    const bool indented = indent && n > 0 && !hasOwnIndent(chars[0].ch);
    if (indented) addCell(0, chars[0].offset, CellKind::Upright, u'　', 0);

    char16_t openPair = 0; // a dash or leader that waits for its second
    for (qsizetype i = 0; i < n;) {
        const char16_t c = chars[i].ch;
        const quint8 rules = kRules[c];
        if (takesVoicedMark(chars, i, m_edges)) {
            // ｶﾞ as the pane shows it: the kana and its mark side by side, one cell.
            if (!m_cellOfChar.empty())
                m_cellOfChar[size_t(i)] = m_cellOfChar[size_t(i) + 1] = size();
            addCell(rules & (CellRule::NoStart | CellRule::NoEnd), chars[i].offset,
                    CellKind::TateChuYoko, c, chars[i + 1].ch);
            i += 2;
            openPair = 0;
            continue;
        }
        if (rules & CharRule::HalfWidth) {
            i = addHalfWidthRun(p, i, charsPerLine);
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

    // An added indent stays with the paragraph's first character: alone at the end of a line
    // it would show an empty line, and its page would not be the one the character is on.
    if (indented && size() > 1) m_rules[1] |= CellRule::Glued;

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
