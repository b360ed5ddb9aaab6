#pragma once
// Reading a text file as lines: the bytes up to the first NUL, split at CR LF, CR or LF, joined
// again with CR LF after every line (so a last line without a break gains one).

#include <QByteArray>
#include <QByteArrayView>

namespace pote {

QByteArray read_as_lines(QByteArrayView bytes);

} // namespace pote
