#include "editing/load_pieces.h"

#include "core/cp932.h"

#include <cstring>

namespace pote {

qsizetype pieceEnd(QStringView text, qsizetype from, qsizetype size) {
    if (size >= text.size() - from) return text.size();
    const qsizetype lineBreak = text.sliced(from, size).lastIndexOf(u'\n');
    if (lineBreak >= 0) return from + lineBreak + 1;
    const qsizetype end = from + size;
    return QChar::isHighSurrogate(text[end - 1].unicode()) ? end - 1 : end;
}

qsizetype pieceEnd(QByteArrayView bytes, qsizetype from, qsizetype size) {
    const qsizetype n = bytes.size();
    if (size >= n - from) return n;
    // An LF byte is never part of a double-byte character, and the CR of its line break, if
    // any, lies before it.
    if (const void* lf = memrchr(bytes.data() + from, '\n', static_cast<size_t>(size)))
        return static_cast<const char*>(lf) - bytes.data() + 1;
    // One long line: the bytes alone do not tell a lead byte from a trail byte going backwards,
    // so the characters are walked from the piece's start.
    const qsizetype end = from + size;
    qsizetype at = from;
    for (qsizetype next = at + cp932::charLengthAt(bytes, at); next <= end;
         next = at + cp932::charLengthAt(bytes, at))
        at = next;
    // A CR at the end would be read as a line break of its own, and the LF after it as another.
    if (bytes[at - 1] == '\r' && at < n && bytes[at] == '\n') ++at;
    return at;
}

} // namespace pote
