#pragma once
// The one text search of the program: byte offsets into CP932 text, optionally ignoring the case
// of half-width A-Z and full-width Ａ-Ｚ, never matching from the second byte of a double-byte
// character. Find, replace, the yen scanner and the linked-text reader all go through it.

#include <QByteArray>
#include <QByteArrayView>

namespace pote {

enum class CaseMode { Sensitive, Insensitive };

// Byte offset of the first match at or after from (from is a character boundary), never starting
// inside a double-byte character; -1 when none or when pattern is empty.
qsizetype search_from(QByteArrayView text, QByteArrayView pattern, qsizetype from, CaseMode mode);

// The case folding the insensitive search compares with: half-width A-Z become a-z and
// full-width Ａ-Ｚ become ａ-ｚ, character by character, so a letter byte that is the second byte
// of a double-byte character stays as it is. Byte lengths never change.
QByteArray fold_case(QByteArrayView text);

// A pattern prepared once for many searches (replace loops, the yen scanner, searching every
// section); find(text, from) answers exactly as search_from.
class TextSearcher {
public:
    TextSearcher(QByteArrayView pattern, CaseMode mode);
    qsizetype find(QByteArrayView text, qsizetype from) const;
    qsizetype patternSize() const { return m_pattern.size(); }

private:
    qsizetype findExact(QByteArrayView text, qsizetype from) const;
    qsizetype findFolded(QByteArrayView text, qsizetype from) const;

    QByteArray m_pattern; // folded when the mode is insensitive
    CaseMode m_mode;
    // Insensitive mode: the second byte position the candidate filter checks besides the first,
    // one whose byte in a matching text can differ from the folded pattern only in ASCII case.
    qsizetype m_probe = 0;
    // Insensitive mode: the longest run of pattern bytes that any match holds byte for byte.
    qsizetype m_anchorAt = 0;
    qsizetype m_anchorSize = 0;
};

} // namespace pote
