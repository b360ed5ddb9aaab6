#pragma once
// The web address under the mouse pointer: on a line of CP932 bytes, everything from the first
// "http://" to the end of the line, spaces and later addresses included.

#include <QByteArrayView>

#include <optional>

namespace pote {

// Byte offset of the first "http://" of the line that starts on a character boundary (never on
// the second byte of a double-byte character); -1 when there is none.
qsizetype findLinkStart(QByteArrayView line);

// The address when byte offset at lies on it, that is from its "http://" to the line's last
// byte; nothing otherwise. line holds no line break.
std::optional<QByteArrayView> linkAt(QByteArrayView line, qsizetype at);

} // namespace pote
