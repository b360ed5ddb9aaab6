#include "editing/search.h"

#include "core/cp932.h"

#include <cstring>

namespace pote {

namespace {

char lowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; }

bool equalAt(QByteArrayView text, qsizetype at, QByteArrayView pattern, CaseMode mode) {
    if (mode == CaseMode::Sensitive)
        return std::memcmp(text.data() + at, pattern.data(), static_cast<size_t>(pattern.size())) == 0;
    for (qsizetype k = 0; k < pattern.size(); ++k)
        if (lowerAscii(text[at + k]) != lowerAscii(pattern[k]))
            return false;
    return true;
}

// Whether at starts a character, knowing that from does. A byte that is no lead byte ends a
// character, so the walk only needs to cover the run of lead-range bytes just before at.
bool startsCharacter(QByteArrayView text, qsizetype from, qsizetype at) {
    qsizetype p = at;
    while (p > from && cp932::isLeadByte(static_cast<unsigned char>(text[p - 1])))
        --p;
    while (p < at)
        p += cp932::charLengthAt(text, p);
    return p == at;
}

} // namespace

qsizetype search_from(QByteArrayView text, QByteArrayView pattern, qsizetype from, CaseMode mode) {
    if (pattern.isEmpty() || from < 0 || from >= text.size())
        return -1;
    const qsizetype last = text.size() - pattern.size();
    qsizetype at = from;
    while (at <= last) {
        if (mode == CaseMode::Sensitive) {
            const void* hit = memmem(text.data() + at, static_cast<size_t>(text.size() - at),
                                     pattern.data(), static_cast<size_t>(pattern.size()));
            if (!hit)
                return -1;
            at = static_cast<const char*>(hit) - text.data();
        } else if (!equalAt(text, at, pattern, mode)) {
            ++at;
            continue;
        }
        if (startsCharacter(text, from, at))
            return at;
        ++at;
    }
    return -1;
}

} // namespace pote
