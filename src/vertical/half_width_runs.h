#pragma once
// Half-width letters, digits and signs in vertical writing. A run of them either stands upright
// across the line as one cell (縦中横: one or two digits, or !! and !?) or is turned sideways.
// The pages and the book both ask here, so that a run looks the same on paper and in a reader.

#include "vertical/notation.h"

#include <QList>
#include <QtGlobal>

#include <vector>

namespace pote::vertical {

constexpr bool isHalfWidthGraphic(char16_t c) {
    return c > 0x20 && c < 0x7F;
}

// Where each ruby and emphasis mark of the paragraph begins and ends: edges[k] is set when one
// does so just before chars[k] (edges has chars.size() + 1 entries). Left empty when the
// paragraph has no marks, so that plain text costs nothing.
void markEdges(const Paragraph& p, std::vector<bool>& edges);

// Where the run that begins at chars[first] (a half-width graphic character) ends. A single
// space between two half-width characters belongs to the run ("USB ok" is turned as one); an
// edge of a mark ends it, so that no run crosses into or out of a ruby or emphasis.
qsizetype halfWidthRunEnd(const QList<TextChar>& chars, qsizetype first,
                          const std::vector<bool>& edges);

// Whether the whole run chars[first, last) stands upright as one cell.
bool standsUpright(const QList<TextChar>& chars, qsizetype first, qsizetype last);

} // namespace pote::vertical
