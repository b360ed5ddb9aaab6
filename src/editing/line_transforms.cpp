#include "editing/line_transforms.h"

#include <cstring>

namespace pote {

namespace {

// The next LF in [p, end), or null.
const char* findLf(const char* p, const char* end) {
    return p < end ? static_cast<const char*>(std::memchr(p, '\n', static_cast<size_t>(end - p)))
                   : nullptr;
}

// Copies [p, end of the line including its LF) to out; returns the end of the copied run and
// whether it ended at an LF.
const char* copyLine(const char* p, const char* end, char*& out, bool& sawLf) {
    const char* lf = findLf(p, end);
    sawLf = lf != nullptr;
    const char* runEnd = lf ? lf + 1 : end;
    if (runEnd > p) {
        std::memcpy(out, p, static_cast<size_t>(runEnd - p));
        out += runEnd - p;
    }
    return runEnd;
}

} // namespace

QByteArray blank_line_cut(QByteArrayView text) {
    // Every byte of the result is a byte of the input, so the result never outgrows it.
    QByteArray result(text.size(), Qt::Uninitialized);
    char* out = result.data();
    const char* p = text.data();
    const char* const end = p + text.size();
    while (p < end) {
        // Up to and including the next LF nothing is dropped.
        bool sawLf = false;
        p = copyLine(p, end, out, sawLf);
        if (!sawLf) break;
        // After a line break: spaces wait until the line shows text; blank lines vanish.
        qsizetype pendingSpaces = 0;
        for (; p < end; ++p) {
            const char c = *p;
            if (c == ' ') {
                ++pendingSpaces;
            } else if (c == '\n') {
                pendingSpaces = 0;
            } else if (c != '\r') {
                break;
            }
        }
        if (p < end) {
            std::memset(out, ' ', static_cast<size_t>(pendingSpaces));
            out += pendingSpaces;
        }
    }
    result.truncate(out - result.data());
    return result;
}

QByteArray shift_right(QByteArrayView lines) {
    static constexpr char kIndent[] = "    ";
    constexpr qsizetype indentSize = 4;
    qsizetype breaks = 0;
    for (const char* lf = findLf(lines.data(), lines.data() + lines.size()); lf;
         lf = findLf(lf + 1, lines.data() + lines.size()))
        ++breaks;
    QByteArray result((breaks + 1) * indentSize + lines.size(), Qt::Uninitialized);
    char* out = result.data();
    const char* p = lines.data();
    const char* const end = p + lines.size();
    for (;;) {
        std::memcpy(out, kIndent, indentSize);
        out += indentSize;
        bool sawLf = false;
        p = copyLine(p, end, out, sawLf);
        if (!sawLf) break;
    }
    return result;
}

} // namespace pote
