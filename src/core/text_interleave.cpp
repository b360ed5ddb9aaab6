#include "core/text_interleave.h"

#include <QtGlobal>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace pote {

KeyStream::KeyStream(QByteArrayView key, qsizetype maxRun) : m_keyLength(key.size()) {
    if (m_keyLength == 0) return;
    const qsizetype size = maxRun + m_keyLength;
    m_pattern.reserve(size);
    while (m_pattern.size() < size)
        m_pattern.append(key.constData(), qMin(m_keyLength, size - m_pattern.size()));
}

// Splitting and merging 100 MB a byte at a time costs more than reading the file; sixteen
// bytes at a time it is lost in the copy from the page cache.

namespace {

#if defined(__SSE2__)
inline __m128i load(const char* p) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}
inline void store(char* p, __m128i v) {
    _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v);
}
#endif

template <bool Masked> void gather(const char* src, char* dst, qsizetype n, const char* mask) {
    qsizetype i = 0;
#if defined(__SSE2__)
    // Sixteen output bytes come from 32 input bytes, of which the last is not needed: stop
    // one short so that the final load stays inside the text.
    const __m128i lowBytes = _mm_set1_epi16(0x00FF);
    for (; i + 17 <= n; i += 16) {
        const __m128i a = _mm_and_si128(load(src + 2 * i), lowBytes);
        const __m128i b = _mm_and_si128(load(src + 2 * i + 16), lowBytes);
        __m128i even = _mm_packus_epi16(a, b);
        if constexpr (Masked) even = _mm_xor_si128(even, load(mask + i));
        store(dst + i, even);
    }
#endif
    for (; i < n; ++i)
        dst[i] = static_cast<char>(src[2 * i] ^ (Masked ? mask[i] : 0));
}

template <bool Masked>
void split(const char* text, qsizetype len, char* even, char* odd, const char* mask) {
    const qsizetype pairs = len / 2;
    qsizetype i = 0;
#if defined(__SSE2__)
    const __m128i lowBytes = _mm_set1_epi16(0x00FF);
    for (; i + 16 <= pairs; i += 16) {
        const __m128i a = load(text + 2 * i);
        const __m128i b = load(text + 2 * i + 16);
        __m128i e = _mm_packus_epi16(_mm_and_si128(a, lowBytes), _mm_and_si128(b, lowBytes));
        __m128i o = _mm_packus_epi16(_mm_srli_epi16(a, 8), _mm_srli_epi16(b, 8));
        if constexpr (Masked) {
            const __m128i m = load(mask + i);
            e = _mm_xor_si128(e, m);
            o = _mm_xor_si128(o, m);
        }
        store(even + i, e);
        store(odd + i, o);
    }
#endif
    for (; i < pairs; ++i) {
        even[i] = static_cast<char>(text[2 * i] ^ (Masked ? mask[i] : 0));
        odd[i] = static_cast<char>(text[2 * i + 1] ^ (Masked ? mask[i] : 0));
    }
    if (len % 2) even[pairs] = static_cast<char>(text[2 * pairs] ^ (Masked ? mask[pairs] : 0));
}

template <bool Masked>
void interleave(const char* even, qsizetype nEven, const char* odd, qsizetype nOdd, char* out,
                const char* mask) {
    qsizetype i = 0;
#if defined(__SSE2__)
    for (; i + 16 <= nOdd; i += 16) {
        __m128i e = load(even + i);
        __m128i o = load(odd + i);
        if constexpr (Masked) {
            const __m128i m = load(mask + i);
            e = _mm_xor_si128(e, m);
            o = _mm_xor_si128(o, m);
        }
        store(out + 2 * i, _mm_unpacklo_epi8(e, o));
        store(out + 2 * i + 16, _mm_unpackhi_epi8(e, o));
    }
#endif
    for (; i < nOdd; ++i) {
        out[2 * i] = static_cast<char>(even[i] ^ (Masked ? mask[i] : 0));
        out[2 * i + 1] = static_cast<char>(odd[i] ^ (Masked ? mask[i] : 0));
    }
    if (nEven > nOdd) out[2 * nOdd] = static_cast<char>(even[nOdd] ^ (Masked ? mask[nOdd] : 0));
}

} // namespace

void gatherEveryOther(const char* src, char* dst, qsizetype n, const char* mask) {
    if (mask)
        gather<true>(src, dst, n, mask);
    else
        gather<false>(src, dst, n, nullptr);
}

void splitHalves(const char* text, qsizetype len, char* even, char* odd, const char* mask) {
    if (mask)
        split<true>(text, len, even, odd, mask);
    else
        split<false>(text, len, even, odd, nullptr);
}

void interleaveHalves(const char* even, qsizetype nEven, const char* odd, qsizetype nOdd, char* out,
                      const char* mask) {
    Q_ASSERT(nOdd == nEven || nOdd == nEven - 1);
    if (mask)
        interleave<true>(even, nEven, odd, nOdd, out, mask);
    else
        interleave<false>(even, nEven, odd, nOdd, out, nullptr);
}

} // namespace pote
