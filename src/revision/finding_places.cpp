#include "revision/finding_places.h"

namespace pote::revision {

std::vector<LineColumn> lineColumns(QByteArrayView text, const std::vector<quint32>& offsets) {
    std::vector<LineColumn> out;
    out.reserve(offsets.size());
    qint64 line = 0;
    qsizetype lineStart = 0;
    qsizetype at = 0;
    for (quint32 offset : offsets) {
        const qsizetype target = qMin<qsizetype>(offset, text.size());
        while (at < target) {
            const char c = text[at];
            at += (c == '\r' && at + 1 < text.size() && text[at + 1] == '\n') ? 2 : 1;
            if (c == '\r' || c == '\n') {
                ++line;
                lineStart = at;
            }
        }
        // No finding starts on the LF of a CR LF; were one to, it stays on the CR's line.
        out.push_back({line, qMax<qint64>(0, target - lineStart)});
    }
    return out;
}

} // namespace pote::revision
