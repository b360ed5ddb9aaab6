#include "editing/document_search.h"

#include "core/cp932.h"
#include "core/section_store.h"

#include <algorithm>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace pote {

namespace {

inline bool isBreakAt(QByteArrayView t, qsizetype i) {
    return t[i] == '\n' || (t[i] == '\r' && (i + 1 == t.size() || t[i + 1] != '\n'));
}

// Counts the line breaks that end in [from, to): an LF, or a CR that no LF follows (a CR LF
// counts at its LF). lineStart becomes the offset after the last one, when there is one.
qsizetype countBreaks(QByteArrayView t, qsizetype from, qsizetype to, qsizetype& lineStart) {
    qsizetype count = 0;
    qsizetype i = from;
#if defined(__SSE2__)
    const __m128i lf = _mm_set1_epi8('\n');
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i zero = _mm_setzero_si128();
    const char* p = t.data();
    // Breaks are summed per byte lane and the lanes added up every 255 blocks, before a lane
    // can overflow: a bit count per block is a library call on CPUs the build cannot assume.
    __m128i lanes = zero;
    int blocksInLanes = 0;
    const auto addLanes = [&] {
        const __m128i sums = _mm_sad_epu8(lanes, zero);
        count += _mm_cvtsi128_si32(sums) + _mm_cvtsi128_si32(_mm_srli_si128(sums, 8));
        lanes = zero;
        blocksInLanes = 0;
    };
    qsizetype lastBlock = -1;
    unsigned lastMask = 0;
    // Each block also reads the byte after it, so it must not be the text's last one.
    for (; i + 16 <= to && i + 16 < t.size(); i += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
        const __m128i next = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i + 1));
        const __m128i lone = _mm_andnot_si128(_mm_cmpeq_epi8(next, lf), _mm_cmpeq_epi8(v, cr));
        const __m128i breaks = _mm_or_si128(_mm_cmpeq_epi8(v, lf), lone);
        lanes = _mm_sub_epi8(lanes, breaks); // a break is -1 in its lane
        if (++blocksInLanes == 255) addLanes();
        if (const auto mask = static_cast<unsigned>(_mm_movemask_epi8(breaks))) {
            lastBlock = i;
            lastMask = mask;
        }
    }
    addLanes();
    if (lastMask) lineStart = lastBlock + 32 - __builtin_clz(lastMask);
#endif
    for (; i < to; ++i) {
        if (isBreakAt(t, i)) {
            ++count;
            lineStart = i + 1;
        }
    }
    return count;
}

// Follows one text from its start to each hit in turn, so that the line numbers of all hits
// of a section together cost one pass over it.
class LineTracker {
public:
    explicit LineTracker(QByteArrayView text) : m_text(text) {}

    void locate(SectionHit& hit) {
        m_line += countBreaks(m_text, m_counted, hit.offset, m_lineStart);
        m_counted = hit.offset;
        hit.line = m_line;
        hit.lineStart = m_lineStart;
        hit.lineEnd = std::min(next('\n', hit.offset, m_nextLf), next('\r', hit.offset, m_nextCr));
    }

private:
    // The first c at or after from, remembered: hits come in order, so one look serves all
    // the hits before it (a text without any LF is not scanned again for each hit).
    qsizetype next(char c, qsizetype from, qsizetype& cached) const {
        if (cached < from) {
            const void* p =
                std::memchr(m_text.data() + from, c, static_cast<size_t>(m_text.size() - from));
            cached = p ? static_cast<const char*>(p) - m_text.data() : m_text.size();
        }
        return cached;
    }

    QByteArrayView m_text;
    qsizetype m_counted = 0;
    qsizetype m_line = 0;
    qsizetype m_lineStart = 0;
    qsizetype m_nextLf = -1;
    qsizetype m_nextCr = -1;
};

} // namespace

HitContext hit_context(QByteArrayView text, const SectionHit& hit, qsizetype patternSize,
                       qsizetype before, qsizetype after) {
    HitContext c;
    // The first character start at or after the wanted start: a byte outside the lead range
    // ends a character, so the walk begins after the nearest such byte.
    qsizetype start = hit.lineStart;
    const qsizetype wanted = hit.offset - before;
    if (wanted > start) {
        qsizetype i = wanted;
        while (i > start && cp932::isLeadByte(static_cast<unsigned char>(text[i - 1])))
            --i;
        while (i < wanted)
            i += cp932::charLengthAt(text, i);
        start = i;
    }
    qsizetype end = std::min(hit.offset + patternSize, hit.lineEnd);
    const qsizetype limit = std::min(hit.lineEnd, hit.offset + patternSize + after);
    while (end < limit && end + cp932::charLengthAt(text, end) <= limit)
        end += cp932::charLengthAt(text, end);
    end = std::max(end, start);
    c.text = text.sliced(start, end - start).toByteArray();
    c.hitAt = hit.offset - start;
    c.cutBefore = start > hit.lineStart;
    c.cutAfter = end < hit.lineEnd;
    return c;
}

std::vector<QByteArray> search_snapshot(const SectionStore& store, const QByteArray& paneText) {
    std::vector<QByteArray> texts;
    texts.reserve(static_cast<size_t>(store.count()));
    for (int i = 0; i < store.count(); ++i)
        texts.push_back(i == store.current ? paneText : store.section(i).text);
    return texts;
}

qsizetype count_line_breaks(QByteArrayView text, qsizetype to) {
    qsizetype lineStart = 0;
    return countBreaks(text, 0, to, lineStart);
}

SearchEnd search_text(QByteArrayView text, const TextSearcher& searcher, int section,
                      qsizetype from, qsizetype limit, const HitSink& onHit, qsizetype& next) {
    LineTracker lines(text);
    const qsizetype size = searcher.patternSize();
    qsizetype resume = from;
    for (qsizetype m = searcher.find(text, from); m >= 0 && m < limit;
         m = searcher.find(text, m + size)) {
        SectionHit hit;
        hit.section = section;
        hit.offset = m;
        lines.locate(hit);
        resume = m + size;
        if (!onHit(hit)) {
            next = resume;
            return SearchEnd::Stopped;
        }
    }
    next = std::max(resume, limit);
    return SearchEnd::Finished;
}

SearchEnd search_sections(const std::vector<QByteArray>& texts, QByteArrayView pattern,
                          CaseMode mode, const HitSink& onHit, const std::atomic_bool* cancel,
                          const SearchProgress& progress) {
    const TextSearcher searcher(pattern, mode);
    const auto cancelled = [cancel] { return cancel && cancel->load(std::memory_order_relaxed); };
    qint64 found = 0;
    bool cancelledAtHit = false;
    const HitSink eachHit = [&](const SectionHit& hit) {
        ++found;
        if (!onHit(hit)) return false;
        cancelledAtHit = cancelled();
        return !cancelledAtHit;
    };
    for (size_t s = 0; s < texts.size(); ++s) {
        if (cancelled()) return SearchEnd::Cancelled;
        const QByteArray& text = texts[s];
        qsizetype next = 0;
        if (search_text(text, searcher, static_cast<int>(s), 0, text.size(), eachHit, next) ==
            SearchEnd::Stopped)
            return cancelledAtHit ? SearchEnd::Cancelled : SearchEnd::Stopped;
        if (progress) progress(static_cast<int>(s + 1), found);
    }
    return SearchEnd::Finished;
}

SectionSearchResult collect_hits(const std::vector<QByteArray>& texts, QByteArrayView pattern,
                                 CaseMode mode, qsizetype maxHits, const std::atomic_bool* cancel,
                                 const SearchProgress& progress) {
    SectionSearchResult result;
    const SearchEnd end = search_sections(
        texts, pattern, mode,
        [&](const SectionHit& hit) {
            if (static_cast<qsizetype>(result.hits.size()) >= maxHits) {
                result.truncated = true;
                return false;
            }
            result.hits.push_back(hit);
            return true;
        },
        cancel, progress);
    result.cancelled = end == SearchEnd::Cancelled;
    return result;
}

} // namespace pote
