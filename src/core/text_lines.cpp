#include "core/text_lines.h"

#include <cstring>

namespace pote {

QByteArray read_as_lines(QByteArrayView bytes) {
    if (const void* nul = std::memchr(bytes.data(), '\0', static_cast<size_t>(bytes.size())))
        bytes.truncate(static_cast<const char*>(nul) - bytes.data());
    QByteArray out;
    out.reserve(bytes.size() + 2);
    qsizetype lineStart = 0;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c != '\r' && c != '\n') continue;
        out.append(bytes.sliced(lineStart, i - lineStart));
        out.append("\r\n");
        if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
        lineStart = i + 1;
    }
    if (lineStart < bytes.size()) {
        out.append(bytes.sliced(lineStart));
        out.append("\r\n");
    }
    return out;
}

} // namespace pote
