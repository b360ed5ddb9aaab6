#pragma once
// The document file stores a text as its even-offset bytes followed by its odd-offset bytes,
// each half optionally XORed with the password. These kernels split and merge such halves a
// chunk at a time, so that a 100 MB document never needs a second copy of itself in memory.

#include <QByteArray>
#include <QByteArrayView>

namespace pote {

// The password repeated end to end, so that a chunk's XOR mask is one pointer away: the mask
// for the half-byte with index k (k counted from the start of its half) starts at at(k).
class KeyStream {
public:
    // maxRun: the longest run of bytes one call will XOR. An empty key means "no password".
    KeyStream(QByteArrayView key, qsizetype maxRun);
    bool isNull() const { return m_keyLength == 0; }
    const char* at(qsizetype k) const {
        return m_keyLength ? m_pattern.constData() + k % m_keyLength : nullptr;
    }

private:
    QByteArray m_pattern;
    qsizetype m_keyLength = 0;
};

// dst[i] = src[2i] ^ mask[i] for i < n; mask may be null (no XOR). Reads src[0 .. 2n-2].
void gatherEveryOther(const char* src, char* dst, qsizetype n, const char* mask);

// Both halves in one pass: even[i] = text[2i] ^ mask[i] for i < (len+1)/2 and
// odd[i] = text[2i+1] ^ mask[i] for i < len/2. mask may be null.
void splitHalves(const char* text, qsizetype len, char* even, char* odd, const char* mask);

// The inverse: out[2i] = even[i] ^ mask[i] for i < nEven and out[2i+1] = odd[i] ^ mask[i] for
// i < nOdd, where nOdd is nEven or nEven - 1. mask may be null.
void interleaveHalves(const char* even, qsizetype nEven, const char* odd, qsizetype nOdd, char* out,
                      const char* mask);

} // namespace pote
