#pragma once
// Encoding an edited pane for the store without rewriting what the edit left alone.
//
// Several codes decode to the same character (the NEC and IBM duplicates: ED 40 and FA 5C are
// both 纊, 87 90 and 81 E0 are both ≒), and the encoder writes one of them, so encoding a whole
// pane would rewrite every such code in a section the moment one letter of it is typed. Here the
// pane is encoded as usual and then set against the stored bytes: every character that the
// comparison finds unchanged gets its stored code back.
//
// How the comparison works, and what it promises:
// - Common stretches are found at the byte level (the stored code and the encoder's code of the
//   same character count as equal), then by lines around each difference (a nearby line where
//   both texts meet again, or a long run of lines removed or inserted), then by characters
//   within the lines that differ. Each character of the result is either the encoder's code or
//   the stored code of an equal character, so the result always decodes exactly as
//   cp932::encodeFromPane's does.
// - Text moved elsewhere (cut and pasted, dragged) keeps its codes: what the comparison found
//   removed and reappearing among the inserted text, line breaks inside it or next to it or
//   not, and the stored bytes a move in the pane carried along (see core/moved_text.h). A
//   pasted copy of text that is still in place takes the encoder's codes.
// - Where an edit could lie in more than one place (a character typed next to an equal one, a
//   copy pasted right beside its original), the earlier of the equal characters keeps the stored
//   code, as long as nothing else changed before it in the same lines.
// - A stored code is not put back where a stray lead byte now comes right before it and would
//   join it to a different character.
// - Line breaks are CR LF throughout, as the encoder writes them.
// - Where the comparison gives up, the encoder's codes stay: a run of changed lines is compared
//   by characters up to about a thousand character edits (beyond the difference in length) and
//   2 MB between its common start and end; past that its lines are taken in pairs, in order
//   when both sides have as many, otherwise where a line starts or ends like the other, and a
//   pair alike in neither way (a rewritten line) takes the encoder's codes. A single line
//   changed in two places more than 2 MB apart takes them between the two.

#include <QByteArray>
#include <QByteArrayView>
#include <QStringView>

#include <vector>

namespace pote {

// paneText encoded as cp932::encodeFromPane does (lossy as there), with the stored codes of the
// characters that are unchanged against `stored` put back. `carried`: the stored bytes of text
// that moves in the pane took along, for the inserted text they reappear in.
QByteArray encodeKeepingStoredBytes(QByteArrayView stored, QStringView paneText,
                                    const std::vector<QByteArray>& carried = {},
                                    bool* lossy = nullptr);

} // namespace pote
