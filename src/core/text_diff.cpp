#include "core/text_diff.h"

#include "core/text_lines.h"

#include <bit>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace pote::diff {

// Most of a commit is spent here, walking megabytes of unchanged text, hence 32 bytes at a time.
qsizetype commonPrefix(const Byte* a, const Byte* b, qsizetype n) {
    qsizetype i = 0;
#if defined(__SSE2__)
    for (; i + 32 <= n; i += 32) {
        const auto* pa = reinterpret_cast<const __m128i*>(a + i);
        const auto* pb = reinterpret_cast<const __m128i*>(b + i);
        const __m128i low = _mm_cmpeq_epi8(_mm_loadu_si128(pa), _mm_loadu_si128(pb));
        const __m128i high = _mm_cmpeq_epi8(_mm_loadu_si128(pa + 1), _mm_loadu_si128(pb + 1));
        const unsigned equal = unsigned(_mm_movemask_epi8(low)) | unsigned(_mm_movemask_epi8(high))
                                                                      << 16;
        if (equal != 0xFFFFFFFFu) return i + std::countr_one(equal);
    }
#endif
    for (; i + 8 <= n; i += 8) {
        std::uint64_t x, y;
        std::memcpy(&x, a + i, 8);
        std::memcpy(&y, b + i, 8);
        if (x != y) {
            if constexpr (std::endian::native == std::endian::little)
                return i + (std::countr_zero(x ^ y) >> 3);
            else
                return i + (std::countl_zero(x ^ y) >> 3);
        }
    }
    while (i < n && a[i] == b[i])
        ++i;
    return i;
}

qsizetype commonSuffix(const Byte* a, qsizetype na, const Byte* b, qsizetype nb) {
    const qsizetype n = std::min(na, nb);
    qsizetype k = 0;
    for (; k + 8 <= n; k += 8) {
        std::uint64_t x, y;
        std::memcpy(&x, a + na - k - 8, 8);
        std::memcpy(&y, b + nb - k - 8, 8);
        if (x != y) {
            if constexpr (std::endian::native == std::endian::little)
                return k + (std::countl_zero(x ^ y) >> 3);
            else
                return k + (std::countr_zero(x ^ y) >> 3);
        }
    }
    while (k < n && a[na - 1 - k] == b[nb - 1 - k])
        ++k;
    return k;
}

qsizetype findBreak(const Byte* p, qsizetype from, qsizetype n) {
    return line_at(QByteArrayView(reinterpret_cast<const char*>(p), n), from).end;
}

Line Bytes::lineFrom(qsizetype start) const {
    const LineSpan line = line_at(QByteArrayView(reinterpret_cast<const char*>(p), n), start);
    return {start, line.end, line.next};
}

Line Bytes::lineBefore(qsizetype next, qsizetype floor) const {
    qsizetype q = next;
    if (q > floor && p[q - 1] == '\n') {
        --q;
        if (q > floor && p[q - 1] == '\r') --q;
    } else if (q > floor && p[q - 1] == '\r') {
        --q;
    }
    const qsizetype end = q;
    while (q > floor && !isBreak(p[q - 1]))
        --q;
    return {q, end, next};
}

qsizetype Bytes::lineStartAt(qsizetype pos) const {
    qsizetype q = std::min(pos, n);
    if (q > 0 && q < n && p[q] == '\n' && p[q - 1] == '\r') --q;
    while (q > 0 && !isBreak(p[q - 1]))
        --q;
    return q;
}

std::vector<Line> linesOf(const Bytes& text, qsizetype from, qsizetype to) {
    std::vector<Line> lines;
    for (qsizetype i = from; i < to; i = lines.back().next)
        lines.push_back(text.lineFrom(i));
    return lines;
}

bool LineList::get(std::size_t i, Line& line) {
    while (m_lines.size() <= i && m_next < m_text.n && m_budget > 0) {
        const Line l = m_text.lineFrom(m_next);
        if (!m_text.complete && !l.hasBreak()) break; // may go on in what is not known yet
        m_budget -= l.next - m_next;
        m_next = l.next;
        m_lines.push_back(l);
    }
    if (i >= m_lines.size()) {
        m_unknown = m_unknown || !m_text.complete;
        return false;
    }
    line = m_lines[i];
    return true;
}

bool LineList::endsAt(std::size_t i) {
    Line unused;
    return !get(i, unused) && m_next == m_text.n && i == m_lines.size();
}

qsizetype LineList::startOf(std::size_t i) {
    Line line;
    return get(i, line) ? line.start : m_text.n;
}

} // namespace pote::diff
