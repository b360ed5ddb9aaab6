#pragma once
// What the cat says when typed or pasted characters could not be kept.

#include <QString>
#include <QStringList>

namespace pote {

// lost: the characters that became "?", each once (cp932::lostCharacters).
QString unencodableNotice(const QStringList& lost);
// Where such characters are refused instead: lost as above.
QString unencodableRefusal(const QStringList& lost);

} // namespace pote
