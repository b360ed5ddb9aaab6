#pragma once
// Where the pieces of a text that is loaded a piece at a time end. A piece ends after a line
// break where one lies within reach, so that no line is cut and laid out twice; within a line
// longer than a piece, on a character boundary. Decoding CP932 bytes piece by piece gives the
// text that decoding all of them at once gives.

#include <QByteArrayView>
#include <QStringView>

namespace pote {

// The end of the piece of text that starts at from and is at most size units long (size >= 2);
// never between the two halves of a surrogate pair.
qsizetype pieceEnd(QStringView text, qsizetype from, qsizetype size);

// The same for CP932 bytes bound for cp932::decodeForPane (size >= 2): never inside a
// double-byte character, never between the CR and the LF of one line break.
qsizetype pieceEnd(QByteArrayView bytes, qsizetype from, qsizetype size);

} // namespace pote
