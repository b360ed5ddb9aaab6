#include "editing/streamed_search.h"

#include <algorithm>
#include <cstring>

namespace pote {

namespace {

// Where the last whole line of window[0, end) ends: after its LF, or after a CR that no LF
// follows (window[end] is there to tell); 0 when no line break lies in window[0, end).
qsizetype endOfLastLine(QByteArrayView window, qsizetype end) {
    for (qsizetype j = end - 1; j >= 0; --j) {
        const char c = window[j];
        if (c == '\n') return j + 1;
        if (c == '\r') return window[j + 1] == '\n' ? j + 2 : j + 1;
    }
    return 0;
}

} // namespace

SearchEnd search_streamed(qint64 textSize, const TextPieceReader& read,
                          const TextSearcher& searcher, int section, const LineHitSink& onHit,
                          const StreamedSearchSizes& sizes) {
    // A hit that starts in a window may run on past its end, and telling a lone CR from a
    // CR LF takes one byte more: the window holds that much beyond the lines it searches.
    const qsizetype lookAhead = searcher.patternSize() + 1;
    QByteArray window;
    qsizetype held = 0; // bytes in window
    qint64 base = 0;    // the text offset of window[0], always the start of a line
    qint64 readTo = 0;  // the text offset of window[held]
    qint64 linesBefore = 0;
    qint64 resume = 0; // where the search goes on, a text offset
    qint64 wanted = sizes.windowBytes;
    for (;;) {
        while (held < wanted && readTo < textSize) {
            const qint64 n = std::min({sizes.pieceBytes, textSize - readTo, wanted - held});
            if (window.size() < held + n) window.resize(held + n);
            if (!read(readTo, n, window.data() + held)) return SearchEnd::Stopped;
            held += n;
            readTo += n;
        }
        const QByteArrayView view(window.constData(), held);
        const bool last = readTo == textSize;
        const qsizetype limit = last ? held : endOfLastLine(view, held - lookAhead - 1);
        if (limit == 0 && !last) {
            // No whole line yet: a line longer than the window, held whole.
            wanted = held + sizes.windowBytes;
            continue;
        }
        qsizetype next = 0;
        const SearchEnd end = search_text(
            view, searcher, section, std::min<qint64>(resume - base, held), limit,
            [&](const SectionHit& found) {
                SectionHit hit = found;
                hit.offset += base;
                hit.line += linesBefore;
                hit.lineStart += base;
                hit.lineEnd += base;
                return onHit(hit, view.sliced(found.lineStart, found.lineEnd - found.lineStart));
            },
            next);
        if (end != SearchEnd::Finished || last) return end;
        resume = base + next;
        linesBefore += count_line_breaks(view, limit);
        std::memmove(window.data(), window.constData() + limit, static_cast<size_t>(held - limit));
        held -= limit;
        base += limit;
        wanted = sizes.windowBytes;
    }
}

} // namespace pote
