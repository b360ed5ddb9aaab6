#include "textio/utf8_text.h"

#include "core/cp932.h"

#include <QString>

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace pote {

namespace {

constexpr char kBom[] = "\xEF\xBB\xBF";

bool hasBom(QByteArrayView bytes) {
    return bytes.startsWith(QByteArrayView(kBom, 3));
}

bool isContinuation(unsigned char b) {
    return (b & 0xC0) == 0x80;
}

// Length of the valid UTF-8 sequence at p (at most n bytes available), 0 when it is invalid:
// overlong forms, surrogates and code points above U+10FFFF are refused.
int sequenceLength(const unsigned char* p, qsizetype n) {
    const unsigned char b = p[0];
    if (b >= 0xC2 && b <= 0xDF) return n >= 2 && isContinuation(p[1]) ? 2 : 0;
    if (b >= 0xE0 && b <= 0xEF) {
        if (n < 3 || !isContinuation(p[1]) || !isContinuation(p[2])) return 0;
        if ((b == 0xE0 && p[1] < 0xA0) || (b == 0xED && p[1] > 0x9F)) return 0;
        return 3;
    }
    if (b >= 0xF0 && b <= 0xF4) {
        if (n < 4 || !isContinuation(p[1]) || !isContinuation(p[2]) || !isContinuation(p[3]))
            return 0;
        if ((b == 0xF0 && p[1] < 0x90) || (b == 0xF4 && p[1] > 0x8F)) return 0;
        return 4;
    }
    return 0;
}

} // namespace

bool looks_like_utf8(QByteArrayView bytes) {
    if (hasBom(bytes)) return true;
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const qsizetype n = bytes.size();
    bool beyondAscii = false;
    qsizetype i = 0;
    while (i < n) {
        // ASCII runs eight bytes at a time.
        if (i + 8 <= n) {
            std::uint64_t word;
            std::memcpy(&word, p + i, 8);
            const bool zeroByte = ((word - 0x0101010101010101ULL) & ~word & 0x8080808080808080ULL);
            if ((word & 0x8080808080808080ULL) == 0 && !zeroByte) {
                i += 8;
                continue;
            }
        }
        if (p[i] == 0) // the text ends at its first NUL
            break;
        if (p[i] < 0x80) {
            ++i;
            continue;
        }
        const int length = sequenceLength(p + i, n - i);
        if (length == 0) return false;
        beyondAscii = true;
        i += length;
    }
    return beyondAscii;
}

Utf8Conversion utf8_to_cp932(QByteArrayView bytes) {
    if (hasBom(bytes)) bytes = bytes.sliced(3);
    const QString text = QString::fromUtf8(bytes);
    bool lossy = false;
    Utf8Conversion result;
    result.bytes = cp932::encode(text, &lossy);
    if (lossy) {
        // Every character CP932 cannot hold became one "?"; the ones that were "?" already stay.
        const auto questionMarks = std::count(result.bytes.cbegin(), result.bytes.cend(), '?');
        result.unmappable = questionMarks - text.count(u'?');
    }
    return result;
}

std::optional<QByteArray> Utf8Choice::convert(QByteArrayView bytes) {
    if (!mayConvert() || !looks_like_utf8(bytes)) return std::nullopt;
    if (!m_answer) m_answer = m_ask();
    if (!*m_answer) return std::nullopt;
    Utf8Conversion converted = utf8_to_cp932(bytes);
    m_unmappable += converted.unmappable;
    return std::move(converted.bytes);
}

} // namespace pote
