#include "textio/text_lines.h"

#include <algorithm>
#include <cstring>

namespace pote {

namespace {

const char* find(const char* from, const char* end, char c) {
    const void* hit = std::memchr(from, c, static_cast<size_t>(end - from));
    return hit ? static_cast<const char*>(hit) : end;
}

} // namespace

QByteArrayView before_first_nul(QByteArrayView bytes) {
    const void* nul = std::memchr(bytes.data(), '\0', static_cast<size_t>(bytes.size()));
    return nul ? bytes.first(static_cast<const char*>(nul) - bytes.data()) : bytes;
}

bool is_in_line_form(QByteArrayView bytes) {
    if (bytes.isEmpty()) return true;
    if (bytes.size() < 2 || bytes.back() != '\n') return false;
    // Line by line: the line's only CR is the one right before its LF. Both searches run over
    // a line that is already in the cache.
    const char* p = bytes.data();
    const char* const end = p + bytes.size();
    while (p < end) {
        const char* lf = find(p, end, '\n');
        if (lf == end || lf == p || lf[-1] != '\r' || find(p, lf - 1, '\r') != lf - 1) return false;
        p = lf + 1;
    }
    return true;
}

QByteArray text_as_lines(QByteArrayView bytes) {
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

QByteArray text_as_lines(QByteArray bytes) {
    const QByteArrayView text = before_first_nul(bytes);
    if (text.size() == bytes.size() && is_in_line_form(text)) return bytes;
    if (is_in_line_form(text)) {
        bytes.truncate(text.size());
        return bytes;
    }
    return text_as_lines(text);
}

} // namespace pote
