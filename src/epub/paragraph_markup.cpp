#include "epub/paragraph_markup.h"

#include "epub/xml_text.h"
#include "vertical/half_width_runs.h"

#include <algorithm>

namespace pote::epub {

namespace {

using vertical::Paragraph;
using vertical::TextChar;

// Marks the markup can nest: in range, in order, not overlapping, and (for ruby) with a base
// that keeps at least one character.
template <typename Span> bool usable(const Span& s, qsizetype previousEnd, qsizetype size) {
    return s.first >= previousEnd && s.first < s.last && s.last <= size;
}

bool baseKeepsACharacter(const Paragraph& p, const vertical::RubySpan& s) {
    for (qsizetype i = s.first; i < s.last; ++i)
        if (isBookCharacter(p.chars[i].ch)) return true;
    return false;
}

template <typename Span, typename Keep>
QList<CharRun> usableRuns(const QList<Span>& spans, qsizetype size, Keep keep) {
    QList<CharRun> runs;
    qsizetype end = 0;
    for (const Span& s : spans) {
        if (!usable(s, end, size) || !keep(s)) continue;
        runs.append({s.first, s.last});
        end = s.last;
    }
    return runs;
}

// Which run of a sorted list covers position i, walking forward only.
class RunCursor {
public:
    explicit RunCursor(const QList<CharRun>& runs) : m_runs(runs) {}
    qsizetype at(qsizetype i) {
        while (m_next < m_runs.size() && m_runs[m_next].last <= i)
            ++m_next;
        return m_next < m_runs.size() && m_runs[m_next].first <= i ? m_next : -1;
    }
    // Where the answer of at(i) next changes: the end of the run that holds i, or the start of
    // the next one.
    qsizetype nextEdge(qsizetype i, qsizetype end) {
        if (at(i) >= 0) return m_runs[m_next].last;
        return m_next < m_runs.size() ? m_runs[m_next].first : end;
    }

private:
    const QList<CharRun>& m_runs;
    qsizetype m_next = 0;
};

// Appends chars [first, last) in one go; the offsets of those left out go to dropped.
void appendChars(QByteArray& out, const QList<TextChar>& chars, qsizetype first, qsizetype last,
                 QList<quint32>& dropped, QList<quint32>* privateUse = nullptr) {
    const qsizetype start = out.size();
    out.resize(start + (last - first) * kMaxEscapedBytes);
    char* at = out.data() + start;
    for (qsizetype i = first; i < last; ++i) {
        const TextChar& c = chars[i];
        if (isBookCharacter(c.ch))
            at = writeXmlUnit(at, c.ch);
        else
            dropped.append(c.offset);
        if (privateUse && isUserDefined(c.ch)) privateUse->append(c.offset);
    }
    out.truncate(at - out.constData());
}

// The marks around one character, outermost first: ruby holds emphasis, emphasis holds the
// upright run, so a mark that crosses an outer one's edge is closed and opened again there.
struct Marks {
    qsizetype ruby = -1;
    qsizetype emphasis = -1;
    qsizetype upright = -1;
};

} // namespace

QList<CharRun> tateChuYokoRuns(const Paragraph& p) {
    std::vector<bool> edges;
    vertical::markEdges(p, edges);
    QList<CharRun> runs;
    for (qsizetype i = 0; i < p.chars.size();) {
        if (!vertical::isHalfWidthGraphic(p.chars[i].ch)) {
            ++i;
            continue;
        }
        const qsizetype end = vertical::halfWidthRunEnd(p.chars, i, edges);
        if (vertical::standsUpright(p.chars, i, end)) runs.append({i, end});
        i = end;
    }
    return runs;
}

void appendParagraphMarkup(QByteArray& out, const Paragraph& p, QList<quint32>& dropped,
                           QList<quint32>* privateUse) {
    const qsizetype n = p.chars.size();
    QList<const vertical::RubySpan*> rubySpans;
    const QList<CharRun> ruby = usableRuns(p.ruby, n, [&](const vertical::RubySpan& s) {
        if (!baseKeepsACharacter(p, s)) return false;
        rubySpans.append(&s);
        return true;
    });
    const QList<CharRun> emphasis = usableRuns(p.emphasis, n, [](const auto&) { return true; });

    // Upright runs end at every mark's edge, so each lies inside one mark or outside all.
    const QList<CharRun> upright = tateChuYokoRuns(p);

    RunCursor rubyCursor(ruby), emphasisCursor(emphasis), uprightCursor(upright);
    Marks open;
    const auto closeUpright = [&] {
        if (open.upright >= 0) out.append("</span>");
        open.upright = -1;
    };
    const auto closeEmphasis = [&] {
        closeUpright();
        if (open.emphasis >= 0) out.append("</span>");
        open.emphasis = -1;
    };
    const auto closeRuby = [&] {
        closeEmphasis();
        if (open.ruby < 0) return;
        const vertical::RubySpan& span = *rubySpans[open.ruby];
        // The brackets show where ruby is not: a reader without it, and text taken out of the
        // book, say 北条美咲（ほうじょうみさき）.
        out.append("<rp>（</rp><rt>");
        for (qsizetype k = appendXmlText(out, span.reading); k > 0; --k)
            dropped.append(p.chars[span.first].offset);
        out.append("</rt><rp>）</rp></ruby>");
        open.ruby = -1;
    };
    for (qsizetype i = 0;;) {
        Marks now;
        if (i < n) now = {rubyCursor.at(i), emphasisCursor.at(i), uprightCursor.at(i)};
        if (now.ruby != open.ruby)
            closeRuby();
        else if (now.emphasis != open.emphasis)
            closeEmphasis();
        else if (now.upright != open.upright)
            closeUpright();
        if (i == n) break;
        if (now.ruby >= 0 && open.ruby < 0) out.append("<ruby>");
        if (now.emphasis >= 0 && open.emphasis < 0) out.append("<span class=\"em-sesame\">");
        if (now.upright >= 0 && open.upright < 0) out.append("<span class=\"tcy\">");
        open = now;
        // The marks stay as they are up to the nearest edge of any of them.
        const qsizetype edge = std::min({rubyCursor.nextEdge(i, n), emphasisCursor.nextEdge(i, n),
                                         uprightCursor.nextEdge(i, n)});
        appendChars(out, p.chars, i, edge, dropped, privateUse);
        i = edge;
    }
}

QByteArray plainText(const Paragraph& p) {
    QByteArray out;
    QList<quint32> dropped;
    appendChars(out, p.chars, 0, p.chars.size(), dropped);
    return out;
}

bool isBlank(const Paragraph& p) {
    for (const TextChar& c : p.chars)
        if (isBookCharacter(c.ch) && c.ch != u' ' && c.ch != u'\t' && c.ch != u'\u3000')
            return false;
    return true;
}

} // namespace pote::epub
