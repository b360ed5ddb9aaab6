#pragma once
// Text that an edit moved keeps its stored codes. The comparison of the stored and the new text
// leaves what it could not match as stretches removed from the one and inserted into the other;
// where removed text reappears among the inserted, the stored codes go with it.
//
// The texts are matched by pieces between line breaks: a break has no code to keep, and where
// the comparison put the breaks around or inside a moved stretch says nothing about where its
// characters went. A run of equal characters is taken for moved text when it is a whole piece
// on one side at least (all that was removed between two breaks or stretch ends, or all that
// was inserted there), so single characters that merely happen to be equal stay apart.
// Text still in place is not among the removed, so a pasted copy of it keeps the encoder's codes.
//
// Bytes that a move in the editing pane took along (`carried`, the stored bytes of text cut or
// dragged) are looked for first, as removed text that need not be in the stored text any more.

#include "core/coded_text.h"

#include <QByteArrayView>

#include <vector>

namespace pote::keeping {

// Gives the characters of the `inserted` stretches of `now` (whose bytes are `out`) the codes of
// equal moved text in the `removed` stretches of `old`, or in `carried`.
void restoreMovedText(const CodedText& old, const std::vector<Stretch>& removed,
                      const std::vector<QByteArrayView>& carried, const CodedText& now, Byte* out,
                      const std::vector<Stretch>& inserted);

} // namespace pote::keeping
