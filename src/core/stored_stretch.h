#pragma once
// The stored bytes behind a stretch of the editing pane, for text that a move in the pane takes
// along (see core/moved_text.h).

#include <QByteArray>
#include <QByteArrayView>
#include <QStringView>

namespace pote {

// The bytes of pane positions [from, to) of text, whose pane form is cp932::decodeForPane(text):
// a character, a stray byte, a CR LF, a lone CR and a lone LF are one position each. Positions
// past the end are clamped to it.
QByteArray bytesOfPanePositions(QByteArrayView text, qsizetype from, qsizetype to);

// Whether paneText holds a character that has more than one code (the NEC and IBM duplicates):
// only such text has stored codes that the encoder would not write again.
bool hasDuplicateCodedCharacter(QStringView paneText);

} // namespace pote
