#include "editing/search.h"

#include "core/cp932.h"

#include <algorithm>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace pote {

namespace {

inline unsigned char byteAt(QByteArrayView s, qsizetype i) {
    return static_cast<unsigned char>(s[i]);
}

constexpr unsigned char kFullWidthLead = 0x82;
constexpr bool isFullWidthUpperTrail(unsigned char b) {
    return b >= 0x60 && b <= 0x79;
}
constexpr bool isFullWidthLowerTrail(unsigned char b) {
    return b >= 0x81 && b <= 0x9A;
}
constexpr int kFullWidthCaseShift = 0x81 - 0x60;
// Below this, a run of fixed bytes finds too many candidates to beat the two-byte filter.
constexpr qsizetype kShortestAnchor = 3;

constexpr unsigned char asciiLower(unsigned char b) {
    return (b >= 'A' && b <= 'Z') ? static_cast<unsigned char>(b + 32) : b;
}

// The folded bytes of the character of length len that starts at text[i].
inline void foldCharacter(QByteArrayView text, qsizetype i, int len, unsigned char out[2]) {
    out[0] = byteAt(text, i);
    if (len == 1) {
        out[0] = asciiLower(out[0]);
        return;
    }
    out[1] = byteAt(text, i + 1);
    if (out[0] == kFullWidthLead && isFullWidthUpperTrail(out[1]))
        out[1] = static_cast<unsigned char>(out[1] + kFullWidthCaseShift);
}

// Whether the characters of text from c (a character start) fold to the folded pattern.
bool foldedEquals(QByteArrayView text, qsizetype c, QByteArrayView folded) {
    const qsizetype end = c + folded.size();
    qsizetype i = c;
    while (i < end) {
        const int len = cp932::charLengthAt(text, i);
        unsigned char f[2];
        foldCharacter(text, i, len, f);
        // A double-byte character may run past the end; only its lead is compared then.
        for (int k = 0; k < len && i + k < end; ++k)
            if (f[k] != byteAt(folded, i + k - c)) return false;
        i += len;
    }
    return true;
}

// Decides whether candidate offsets (asked in increasing order) start a character. A byte that
// is no lead byte always ends a character (it is a single byte or the second of a pair), so only
// the run of lead-range bytes just before a candidate needs walking; second bytes share that
// range, which is why the walk cannot simply look at the one byte before. The last offset known
// to start a character bounds the walk, so one search stays linear in the bytes it passes.
class BoundaryCursor {
public:
    explicit BoundaryCursor(qsizetype known) : m_known(known) {}

    bool startsCharacter(QByteArrayView text, qsizetype c) {
        qsizetype i = c;
        while (i > m_known && cp932::isLeadByte(byteAt(text, i - 1)))
            --i;
        while (i < c)
            i += cp932::charLengthAt(text, i);
        m_known = i;
        return i == c;
    }

private:
    qsizetype m_known;
};

qsizetype memFind(QByteArrayView text, qsizetype from, QByteArrayView pattern) {
    if (from + pattern.size() > text.size()) return -1;
    const void* hit =
        ::memmem(text.data() + from, text.size() - from, pattern.data(), pattern.size());
    return hit ? static_cast<const char*>(hit) - text.data() : -1;
}

} // namespace

QByteArray fold_case(QByteArrayView text) {
    QByteArray out(text.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size();) {
        const int len = cp932::charLengthAt(text, i);
        unsigned char f[2];
        foldCharacter(text, i, len, f);
        std::memcpy(out.data() + i, f, len);
        i += len;
    }
    return out;
}

TextSearcher::TextSearcher(QByteArrayView pattern, CaseMode mode)
    : m_pattern(mode == CaseMode::Insensitive ? fold_case(pattern) : pattern.toByteArray()),
      m_mode(mode) {
    if (mode != CaseMode::Insensitive) return;
    // A matching text may hold an upper-case twin wherever the folded pattern holds a
    // lower-case letter byte (even a second byte, when the text splits its characters
    // differently); everywhere else it holds the folded byte itself. The longest run of such
    // fixed bytes is what memmem can look for. The probe avoids the second byte of a full-width
    // letter, whose two cases differ by more than one bit.
    qsizetype runStart = 0;
    for (qsizetype j = 0; j < m_pattern.size(); ++j) {
        const unsigned char b = byteAt(m_pattern, j);
        const bool fullWidthTrail =
            j > 0 && byteAt(m_pattern, j - 1) == kFullWidthLead && isFullWidthLowerTrail(b);
        if (!fullWidthTrail) m_probe = j;
        if (fullWidthTrail || (b >= 'a' && b <= 'z')) {
            runStart = j + 1;
        } else if (j + 1 - runStart > m_anchorSize) {
            m_anchorAt = runStart;
            m_anchorSize = j + 1 - runStart;
        }
    }
}

qsizetype TextSearcher::find(QByteArrayView text, qsizetype from) const {
    from = std::max<qsizetype>(from, 0);
    if (m_pattern.isEmpty() || from + m_pattern.size() > text.size()) return -1;
    return m_mode == CaseMode::Insensitive ? findFolded(text, from) : findExact(text, from);
}

qsizetype TextSearcher::findExact(QByteArrayView text, qsizetype from) const {
    BoundaryCursor boundary(from);
    for (qsizetype c = memFind(text, from, m_pattern); c >= 0;
         c = memFind(text, c + 1, m_pattern)) {
        if (boundary.startsCharacter(text, c)) return c;
    }
    return -1;
}

qsizetype TextSearcher::findFolded(QByteArrayView text, qsizetype from) const {
    BoundaryCursor boundary(from);
    auto accept = [&](qsizetype c) {
        return foldedEquals(text, c, m_pattern) && boundary.startsCharacter(text, c);
    };
    if (m_anchorSize >= kShortestAnchor || m_anchorSize == m_pattern.size()) {
        const QByteArrayView anchor = QByteArrayView(m_pattern).sliced(m_anchorAt, m_anchorSize);
        const qsizetype last = text.size() - m_pattern.size();
        for (qsizetype hit = memFind(text, from + m_anchorAt, anchor); hit >= 0;
             hit = memFind(text, hit + 1, anchor)) {
            const qsizetype c = hit - m_anchorAt;
            if (c > last) return -1;
            if (accept(c)) return c;
        }
        return -1;
    }

    // Candidates are offsets whose first byte and probe byte equal the pattern's once ASCII
    // letters are lowered; each is confirmed character by character.
    const unsigned char first = asciiLower(byteAt(m_pattern, 0));
    const unsigned char probe = asciiLower(byteAt(m_pattern, m_probe));
    const qsizetype last = text.size() - m_pattern.size(); // last possible start
    const auto* t = reinterpret_cast<const unsigned char*>(text.data());
    qsizetype c = from;
#if defined(__SSE2__)
    const __m128i upperBase = _mm_set1_epi8(static_cast<char>('A' + 128));
    const __m128i upperLimit = _mm_set1_epi8(static_cast<char>(-128 + 26));
    const __m128i caseBit = _mm_set1_epi8(0x20);
    const __m128i wantFirst = _mm_set1_epi8(static_cast<char>(first));
    const __m128i wantProbe = _mm_set1_epi8(static_cast<char>(probe));
    auto lowered = [&](const unsigned char* p) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const __m128i isUpper = _mm_cmplt_epi8(_mm_sub_epi8(v, upperBase), upperLimit);
        return _mm_or_si128(v, _mm_and_si128(isUpper, caseBit));
    };
    for (; c + 15 <= last; c += 16) {
        const __m128i hit = _mm_and_si128(_mm_cmpeq_epi8(lowered(t + c), wantFirst),
                                          _mm_cmpeq_epi8(lowered(t + c + m_probe), wantProbe));
        unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(hit));
        while (mask) {
            const qsizetype candidate = c + __builtin_ctz(mask);
            if (accept(candidate)) return candidate;
            mask &= mask - 1;
        }
    }
#endif
    for (; c <= last; ++c)
        if (asciiLower(t[c]) == first && asciiLower(t[c + m_probe]) == probe && accept(c)) return c;
    return -1;
}

qsizetype search_from(QByteArrayView text, QByteArrayView pattern, qsizetype from, CaseMode mode) {
    return TextSearcher(pattern, mode).find(text, from);
}

} // namespace pote
