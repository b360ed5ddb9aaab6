#include "editing/link_detection.h"

#include "core/cp932.h"

namespace pote {

namespace {
constexpr QByteArrayView kScheme("http://");
}

qsizetype findLinkStart(QByteArrayView line) {
    // A byte match may sit on a trail byte ('h', 't' and 'p' are trail bytes too), so the
    // candidate is confirmed by walking the characters up to it.
    qsizetype candidate = line.indexOf(kScheme);
    qsizetype i = 0;
    while (candidate >= 0) {
        while (i < candidate)
            i += cp932::charLengthAt(line, i);
        if (i == candidate) return candidate;
        candidate = line.indexOf(kScheme, candidate + 1);
    }
    return -1;
}

std::optional<QByteArrayView> linkAt(QByteArrayView line, qsizetype at) {
    const qsizetype start = findLinkStart(line);
    if (start < 0 || at < start || at > line.size() - 1) return std::nullopt;
    return line.sliced(start);
}

} // namespace pote
