#include "vertical/notation.h"

#include "core/cp932.h"
#include "core/text_lines.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace pote::vertical {

namespace {

constexpr char16_t kBar = u'｜';
constexpr char16_t kHalfBar = u'|';
constexpr char16_t kOpen = u'《';
constexpr char16_t kClose = u'》';
constexpr char16_t kNoteOpen = u'［';
constexpr char16_t kNoteHash = u'＃';
constexpr char16_t kNoteClose = u'］';

// Longer than this, a reading or a ruby's base is taken for a slip of the keyboard, not markup.
constexpr qsizetype kMaxRuby = 50;

bool isBar(char16_t c) {
    return c == kBar || c == kHalfBar;
}

// The unit of each byte on its own, exactly as the codec decodes it.
const std::array<char16_t, 256>& singleUnits() {
    static const std::array<char16_t, 256> units = [] {
        std::array<char16_t, 256> u{};
        for (int b = 0; b < 256; ++b) {
            const char byte = static_cast<char>(b);
            u[static_cast<size_t>(b)] = cp932::decode(QByteArrayView(&byte, 1)).at(0).unicode();
        }
        return u;
    }();
    return units;
}

// Decodes a line into chars, one per character, with the byte offset of each. Returns whether
// any character could begin markup, so that a line without any skips the markup pass.
bool decodeInto(QByteArrayView line, quint32 lineOffset, QList<TextChar>& chars) {
    const auto* src = reinterpret_cast<const unsigned char*>(line.data());
    const qsizetype n = line.size();
    const char16_t* const* pairs = cp932::pairRows();
    const std::array<char16_t, 256>& singles = singleUnits();
    chars.resize(n); // every byte yields at most one character
    TextChar* out = chars.data();
    qsizetype o = 0;
    bool markup = false;
    for (qsizetype i = 0; i < n;) {
        const unsigned char b = src[i];
        char16_t u;
        int len = 1;
        if (b < 0x80) {
            u = b;
            markup |= b == '|';
        } else if (i + 1 < n && (u = pairs[b][src[i + 1]]) != 0) {
            len = 2;
            markup |= u == kBar || u == kOpen || u == kNoteOpen;
        } else {
            u = singles[b];
        }
        out[o++] = TextChar{u, lineOffset + static_cast<quint32>(i)};
        i += len;
    }
    chars.resize(o);
    return markup;
}

bool matchesAt(const QList<TextChar>& chars, qsizetype at, std::u16string_view word) {
    if (at < 0 || at + qsizetype(word.size()) > chars.size()) return false;
    for (size_t k = 0; k < word.size(); ++k)
        if (chars[at + qsizetype(k)].ch != word[k]) return false;
    return true;
}

// The end of what could be the inside of 《…》 or ［…］ from `from`: the first bracket of
// either kind, or the end of the line. Inner text never holds a bracket, so a scan never
// passes the next bracket and the whole line is read a bounded number of times.
qsizetype nextBracket(const QList<TextChar>& chars, qsizetype from, char16_t open, char16_t close) {
    qsizetype k = from;
    while (k < chars.size() && chars[k].ch != open && chars[k].ch != close)
        ++k;
    return k;
}

QString textOf(const QList<TextChar>& chars, qsizetype first, qsizetype last) {
    QString s(last - first, Qt::Uninitialized);
    for (qsizetype k = first; k < last; ++k)
        s[k - first] = QChar(chars[k].ch);
    return s;
}

// How far back, in characters, a ［＃「…」に傍点］ looks for its text. The note follows what it
// names, a few characters later; without a limit every note that finds nothing (a note that is
// text, repeated down a long line) would read the whole paragraph back, and a line of them
// would take time growing with its square.
constexpr qsizetype kNoteReach = 1000;

// ［＃「…」に傍点］: dots over the nearest earlier occurrence of the quoted text that has none yet,
// within kNoteReach characters of the note.
bool markQuoted(Paragraph& p, const QList<TextChar>& src, qsizetype from, qsizetype length) {
    // Read through const views: the scan is the note's whole cost.
    const QList<EmphasisSpan>& spans = p.emphasis;
    const QList<TextChar>& chars = p.chars;
    qsizetype next = spans.size(); // the first span after the candidate
    const qsizetype lowest = std::max<qsizetype>(0, chars.size() - kNoteReach);
    for (qsizetype start = chars.size() - length; start >= lowest; --start) {
        while (next > 0 && spans[next - 1].first >= start + length)
            --next;
        if (next > 0 && spans[next - 1].last > start) continue; // would overlap
        bool same = true;
        for (qsizetype k = 0; k < length && same; ++k)
            same = chars[start + k].ch == src[from + k].ch;
        if (same) {
            p.emphasis.insert(next, EmphasisSpan{start, start + length});
            return true;
        }
    }
    return false;
}

} // namespace

bool isKanji(char16_t ch) {
    return (ch >= 0x4E00 && ch <= 0x9FFF) || (ch >= 0x3400 && ch <= 0x4DBF) ||
           (ch >= 0xF900 && ch <= 0xFAFF) || ch == u'々' || ch == u'〆' || ch == u'〇' ||
           ch == u'ヶ' || ch == u'ヵ' || ch == u'〻';
}

Paragraph& LineParser::openParagraph(bool pageBreakBefore) {
    if (m_used == m_paragraphs.size()) m_paragraphs.emplace_back();
    Paragraph& p = m_paragraphs[m_used++];
    p.chars.clear();
    p.ruby.clear();
    p.emphasis.clear();
    p.pageBreakBefore = pageBreakBefore;
    return p;
}

bool LineParser::decode(QByteArrayView line, quint32 lineOffset) {
    return decodeInto(line, lineOffset, m_chars);
}

std::span<const Paragraph> LineParser::parse(QByteArrayView line, quint32 lineOffset) {
    m_used = 0;
    if (decode(line, lineOffset)) {
        readMarkup();
    } else {
        // The usual line: its characters are the paragraph. Swapping keeps both buffers.
        openParagraph(false).chars.swap(m_chars);
    }
    return {m_paragraphs.constData(), static_cast<size_t>(m_used)};
}

// One pass over a line holding markup. Each form has its reader, called at a character that
// can begin it; a reader that takes its markup returns the index after it, and -1 leaves the
// character to be text.
class LineParser::MarkupReader {
public:
    MarkupReader(LineParser& parser) : m_parser(parser), m_src(parser.m_chars) {}

    void run() {
        m_p = &m_parser.openParagraph(false);
        const qsizetype n = m_src.size();
        for (qsizetype i = 0; i < n;) {
            const qsizetype next = readAt(i);
            if (next < 0) {
                m_p->chars.append(m_src[i]);
                ++i;
                continue;
            }
            // A ruby without ｜ never reaches back into what markup has already taken.
            m_plainFrom = m_p->chars.size();
            i = next;
        }
    }

private:
    qsizetype readAt(qsizetype i) {
        const char16_t c = m_src[i].ch;
        if (isBar(c)) return barRuby(i);
        if (c == kOpen) return at(i + 1) == kOpen ? doubleBracketEmphasis(i) : kanjiRuby(i);
        if (c == kNoteOpen && at(i + 1) == kNoteHash) return note(i);
        return -1;
    }

    char16_t at(qsizetype k) const { return k < m_src.size() ? m_src[k].ch : char16_t(0); }

    // A reading after the 《 at `open`: its 》, or -1 when there is none to take.
    qsizetype readingEnd(qsizetype open) const {
        const qsizetype close = nextBracket(m_src, open + 1, kOpen, kClose);
        const qsizetype length = close - open - 1;
        return at(close) == kClose && length > 0 && length <= kMaxRuby ? close : -1;
    }

    void addRuby(qsizetype first, qsizetype open, qsizetype close) {
        m_p->ruby.append(RubySpan{first, m_p->chars.size(), textOf(m_src, open + 1, close)});
    }

    // ｜親文字《るび》, and ｜《 for a 《 of the text.
    qsizetype barRuby(qsizetype i) {
        if (at(i + 1) == kOpen) {
            m_p->chars.append(m_src[i + 1]);
            return i + 2;
        }
        const qsizetype n = m_src.size();
        qsizetype open = i + 1;
        while (open < n && open - i - 1 <= kMaxRuby && !isBar(m_src[open].ch) &&
               m_src[open].ch != kOpen && m_src[open].ch != kClose)
            ++open;
        const qsizetype base = open - i - 1;
        if (at(open) != kOpen || at(open + 1) == kOpen || base <= 0 || base > kMaxRuby) return -1;
        const qsizetype close = readingEnd(open);
        if (close < 0) return -1;
        const qsizetype first = m_p->chars.size();
        for (qsizetype k = i + 1; k < open; ++k)
            m_p->chars.append(m_src[k]);
        addRuby(first, open, close);
        return close + 1;
    }

    // 《《強調》》
    qsizetype doubleBracketEmphasis(qsizetype i) {
        const qsizetype close = nextBracket(m_src, i + 2, kOpen, kClose);
        if (close <= i + 2 || at(close) != kClose || at(close + 1) != kClose) return -1;
        const qsizetype first = m_p->chars.size();
        for (qsizetype k = i + 2; k < close; ++k)
            m_p->chars.append(m_src[k]);
        m_p->emphasis.append(EmphasisSpan{first, m_p->chars.size()});
        return close + 2;
    }

    // 漢字《かんじ》: over the run of kanji just before, back to where markup last ended.
    qsizetype kanjiRuby(qsizetype i) {
        qsizetype first = m_p->chars.size();
        while (first > m_plainFrom && m_p->chars.size() - first < kMaxRuby &&
               isKanji(m_p->chars[first - 1].ch))
            --first;
        if (first == m_p->chars.size()) return -1;
        const qsizetype close = readingEnd(i);
        if (close < 0) return -1;
        addRuby(first, i, close);
        return close + 1;
    }

    // ［＃改ページ］ and ［＃「…」に傍点］
    qsizetype note(qsizetype i) {
        const qsizetype close = nextBracket(m_src, i + 2, kNoteOpen, kNoteClose);
        if (at(close) != kNoteClose) return -1;
        if (close - i - 2 == 4 && matchesAt(m_src, i + 2, u"改ページ")) {
            // The break ends the paragraph; an empty one before it has nothing to end.
            if (m_p->chars.isEmpty() && (m_parser.m_used == 1 || m_p->pageBreakBefore))
                m_p->pageBreakBefore = true;
            else
                m_p = &m_parser.openParagraph(true);
            return close + 1;
        }
        constexpr std::u16string_view kDots = u"」に傍点";
        const qsizetype quoted = close - i - 3 - qsizetype(kDots.size());
        if (quoted <= 0 || at(i + 2) != u'「' ||
            !matchesAt(m_src, close - qsizetype(kDots.size()), kDots))
            return -1;
        return markQuoted(*m_p, m_src, i + 3, quoted) ? close + 1 : -1;
    }

    LineParser& m_parser;
    const QList<TextChar>& m_src;
    Paragraph* m_p = nullptr;
    // Characters before this index in the paragraph belong to markup already read.
    qsizetype m_plainFrom = 0;
};

void LineParser::readMarkup() {
    MarkupReader(*this).run();
}

Paragraph plainParagraph(QByteArrayView line, quint32 lineOffset) {
    Paragraph p;
    decodeInto(line, lineOffset, p.chars);
    return p;
}

QList<Paragraph> parseLine(QByteArrayView line, quint32 lineOffset) {
    LineParser parser;
    const std::span<const Paragraph> paragraphs = parser.parse(line, lineOffset);
    return QList<Paragraph>(paragraphs.begin(), paragraphs.end());
}

void forEachParagraph(QByteArrayView text, const std::function<bool(const Paragraph&)>& visit) {
    LineParser parser;
    for (qsizetype from = 0; from < text.size();) {
        const LineSpan line = line_at(text, from);
        for (const Paragraph& p :
             parser.parse(text.sliced(from, line.end - from), static_cast<quint32>(from)))
            if (!visit(p)) return;
        from = line.next;
    }
}

} // namespace pote::vertical
