#pragma once
// Searching a text too large to hold at once: it is read in pieces and searched a window of
// whole lines at a time, so memory stays near the window's size (or the longest line, when a
// line is longer) whatever the size of the text. It finds exactly the hits search_sections
// finds in the whole text, with the same line numbers.

#include "editing/document_search.h"

#include <QByteArrayView>

#include <functional>

namespace pote {

// Fills out with the text's bytes [pos, pos + n); false when they could not be read, which
// ends the search.
using TextPieceReader = std::function<bool(qint64 pos, qint64 n, char* out)>;
// Each hit with the bytes of its line ([hit.lineStart, hit.lineEnd)); false ends the search.
using LineHitSink = std::function<bool(const SectionHit& hit, QByteArrayView line)>;

struct StreamedSearchSizes {
    qint64 pieceBytes = 512 * 1024;       // the most one read asks for
    qint64 windowBytes = 4 * 1024 * 1024; // searched at once, whole lines
};

// Stopped when the sink said so or a read failed.
SearchEnd search_streamed(qint64 textSize, const TextPieceReader& read,
                          const TextSearcher& searcher, int section, const LineHitSink& onHit,
                          const StreamedSearchSizes& sizes = {});

} // namespace pote
