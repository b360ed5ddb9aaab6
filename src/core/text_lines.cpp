#include "core/text_lines.h"

#include <algorithm>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace pote {

namespace {

const char* find(const char* from, const char* end, char c) {
    const void* hit = std::memchr(from, c, static_cast<size_t>(end - from));
    return hit ? static_cast<const char*>(hit) : end;
}

} // namespace

LineSpan line_at(QByteArrayView bytes, qsizetype from) {
    const char* const p = bytes.data();
    const qsizetype n = bytes.size();
    qsizetype end = from;
    // A line is short and the text may be long: both kinds of break are looked for at once,
    // where a memchr for each would read the rest of the text for the one that does not come.
#if defined(__SSE2__)
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i lf = _mm_set1_epi8('\n');
    for (; end + 16 <= n; end += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + end));
        const unsigned hits = static_cast<unsigned>(
            _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(v, cr), _mm_cmpeq_epi8(v, lf))));
        if (hits) {
            end += __builtin_ctz(hits);
            break;
        }
    }
#endif
    while (end < n && p[end] != '\n' && p[end] != '\r')
        ++end;
    if (end == n) return {n, n};
    const bool crlf = p[end] == '\r' && end + 1 < n && p[end + 1] == '\n';
    return {end, end + (crlf ? 2 : 1)};
}

QByteArrayView before_first_nul(QByteArrayView bytes) {
    const void* nul = std::memchr(bytes.data(), '\0', static_cast<size_t>(bytes.size()));
    return nul ? bytes.first(static_cast<const char*>(nul) - bytes.data()) : bytes;
}

bool is_in_line_form(QByteArrayView bytes) {
    const qsizetype n = bytes.size();
    if (n == 0) return true;
    if (n < 2 || bytes[n - 1] != '\n') return false;
    const char* const p = bytes.data();
    // Breaks are a byte or two in a line of a hundred: find them (and any NUL) sixteen bytes at
    // a time and look at the neighbours of each. A CR is fine when an LF follows it, an LF when a
    // CR comes before it; that pairs every break exactly. A NUL is never fine.
    const auto fine = [p, n](qsizetype i) {
        if (p[i] == '\r') return i + 1 < n && p[i + 1] == '\n';
        return p[i] == '\n' && i > 0 && p[i - 1] == '\r';
    };
    qsizetype i = 0;
#if defined(__SSE2__)
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i lf = _mm_set1_epi8('\n');
    const __m128i nul = _mm_setzero_si128();
    for (; i + 16 <= n; i += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
        const __m128i hits = _mm_or_si128(
            _mm_or_si128(_mm_cmpeq_epi8(v, cr), _mm_cmpeq_epi8(v, lf)), _mm_cmpeq_epi8(v, nul));
        unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(hits));
        while (mask) {
            if (!fine(i + __builtin_ctz(mask))) return false;
            mask &= mask - 1;
        }
    }
#endif
    for (; i < n; ++i)
        if ((p[i] == '\r' || p[i] == '\n' || p[i] == '\0') && !fine(i)) return false;
    return true;
}

QByteArray read_as_lines(QByteArrayView bytes) {
    if (is_in_line_form(bytes)) return bytes.toByteArray();
    bytes = before_first_nul(bytes);
    if (is_in_line_form(bytes)) return bytes.toByteArray();
    const char* p = bytes.data();
    const char* const end = p + bytes.size();
    QByteArray out;
    out.reserve(bytes.size() + bytes.size() / 16 + 2);
    // The next CR and the next LF, each found again only once passed.
    const char* cr = find(p, end, '\r');
    const char* lf = find(p, end, '\n');
    while (p < end) {
        if (cr < p) cr = find(p, end, '\r');
        if (lf < p) lf = find(p, end, '\n');
        const char* brk = std::min(cr, lf);
        out.append(p, brk - p);
        out.append("\r\n", 2);
        if (brk == end) break;
        p = brk + (brk == cr && brk + 1 < end && brk[1] == '\n' ? 2 : 1);
    }
    return out;
}

QByteArray read_as_lines(QByteArray bytes) {
    if (is_in_line_form(bytes)) return bytes;
    const QByteArrayView text = before_first_nul(bytes);
    if (is_in_line_form(text)) {
        bytes.truncate(text.size());
        return bytes;
    }
    return read_as_lines(text);
}

} // namespace pote
