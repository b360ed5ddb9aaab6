#pragma once
// Text into a book's XML: UTF-8, with the characters XML gives a meaning to escaped, and the
// ones a book cannot hold left out. A stray byte of the CP932 text (decoded as U+DC80 + byte -
// 0x80) or a control code would make a file that readers and validators refuse, so it never
// reaches one; the caller is told, so that the writer hears which line it was on.

#include <QByteArray>
#include <QStringView>

namespace pote::epub {

// Whether a book's text may hold the character: what XML 1.0 allows, without the control codes
// (a tab stays, line breaks and the C0 and C1 codes do not).
constexpr bool isBookCharacter(char32_t c) {
    if (c < 0x20) return c == 0x09;
    if (c >= 0x7F && c <= 0x9F) return false;
    if (c >= 0xD800 && c <= 0xDFFF) return false; // half of a pair, or a stray byte
    if (c == 0xFFFE || c == 0xFFFF) return false;
    return c <= 0x10FFFF;
}

// The most bytes one character takes, escaped ("&quot;").
constexpr qsizetype kMaxEscapedBytes = 6;

// The units below U+0800: one or two bytes, or an escape.
char* writeShortXmlUnit(char* at, char16_t unit);

// Writes a UTF-16 unit that stands alone and is a book character, escaped, at `at` (room for
// kMaxEscapedBytes); returns where it ended. For loops over long runs of text: kana and kanji,
// nearly all of a Japanese text, take the first branch.
inline char* writeXmlUnit(char* at, char16_t unit) {
    if (unit < 0x800) return writeShortXmlUnit(at, unit);
    at[0] = char(0xE0 | (unit >> 12));
    at[1] = char(0x80 | ((unit >> 6) & 0x3F));
    at[2] = char(0x80 | (unit & 0x3F));
    return at + 3;
}

// Appends text, escaped; a surrogate pair becomes one four-byte character. Returns how many
// characters were left out.
qsizetype appendXmlText(QByteArray& out, QStringView text);

// The same, for text that fills a whole element or attribute.
QByteArray xmlText(QStringView text, qsizetype* dropped = nullptr);

} // namespace pote::epub
