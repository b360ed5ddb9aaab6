#include "core/text_interleave.h"

#include <QtGlobal>

namespace pote {

KeyStream::KeyStream(QByteArrayView key, qsizetype maxRun) : m_keyLength(key.size()) {
    if (m_keyLength == 0) return;
    const qsizetype size = maxRun + m_keyLength;
    m_pattern.reserve(size);
    while (m_pattern.size() < size)
        m_pattern.append(key.constData(), qMin(m_keyLength, size - m_pattern.size()));
}

void gatherEveryOther(const char* src, char* dst, qsizetype n, const char* mask) {
    if (mask) {
        for (qsizetype i = 0; i < n; ++i)
            dst[i] = static_cast<char>(src[2 * i] ^ mask[i]);
    } else {
        for (qsizetype i = 0; i < n; ++i)
            dst[i] = src[2 * i];
    }
}

void interleaveHalves(const char* even, qsizetype nEven, const char* odd, qsizetype nOdd, char* out,
                      const char* mask) {
    Q_ASSERT(nOdd == nEven || nOdd == nEven - 1);
    if (mask) {
        for (qsizetype i = 0; i < nOdd; ++i) {
            out[2 * i] = static_cast<char>(even[i] ^ mask[i]);
            out[2 * i + 1] = static_cast<char>(odd[i] ^ mask[i]);
        }
    } else {
        for (qsizetype i = 0; i < nOdd; ++i) {
            out[2 * i] = even[i];
            out[2 * i + 1] = odd[i];
        }
    }
    if (nEven > nOdd) out[2 * nOdd] = static_cast<char>(even[nOdd] ^ (mask ? mask[nOdd] : 0));
}

} // namespace pote
