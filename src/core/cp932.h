#pragma once
// CP932 (Shift_JIS, Microsoft's mapping) <-> UTF-16, table driven.
//
// Every CP932 character decodes to exactly one UTF-16 unit. A byte that is not valid CP932
// (including a lead byte whose trail byte is missing or invalid) decodes to U+DC80 + (byte - 0x80)
// and encodes back to the same byte, so a text with stray bytes survives a round trip.
//
// Encoding text that CP932 cannot hold: the known JIS/Unicode twins (U+301C, U+2212, U+2016,
// U+2014, U+00A5, U+00A2, U+00A3, U+00AC, ...) go to their CP932 bytes; anything else becomes
// "?" and the caller is told.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <functional>

namespace pote::cp932 {

QString decode(QByteArrayView bytes);

// lossy (optional) is set to true when some character had to become "?".
QByteArray encode(QStringView text, bool* lossy = nullptr);

// The pane's forms: line breaks are '\n' in the pane and CR LF in the store. decodeForPane turns
// CR LF, a lone CR and a lone LF each into one '\n'; encodeFromPane writes '\n' and U+2029 as CR
// LF.
QString decodeForPane(QByteArrayView bytes);
QByteArray encodeFromPane(QStringView text, bool* lossy = nullptr);
// encodeFromPane a stretch of lines at a time: after each, `encoded` gets the bytes written so
// far (which it may change in place, keeping their length) and whether that was all of them.
// Lets a caller go over the output while it is still in the processor's cache.
QByteArray encodeFromPaneByParts(QStringView text,
                                 const std::function<void(char*, qsizetype, bool)>& encoded,
                                 bool* lossy = nullptr);

// True when every unit of text encodes without loss (twins count as encodable).
bool canEncode(QStringView text);
// Replaces what CP932 cannot hold by the character the bytes will decode to: a twin by its
// CP932 counterpart (U+301C -> U+FF5E, U+00A5 -> U+005C ...), anything else by '?'. A surrogate
// pair becomes one '?'. changed (optional) tells whether anything was replaced.
QString toEncodable(QStringView text, bool* changed = nullptr);

// The characters of text that toEncodable turns into "?", each once, in the order they first
// appear (a surrogate pair is one character). Twins are not among them: they keep a CP932
// counterpart.
QStringList lostCharacters(QStringView text);

// Bytes that text occupies once encoded ('\n' counts 1 here; callers add the CR themselves).
qsizetype byteLength(QStringView text);
// Within one line: the byte offset of unit offset `unit`, and the unit offset at byte offset
// `byte` (a byte offset inside a double-byte character maps to that character's unit).
qsizetype unitToByteOffset(QStringView line, qsizetype unit);
qsizetype byteToUnitOffset(QStringView line, qsizetype byte);

// Lead byte of a double-byte character (0x81-0x9F, 0xE0-0xFC).
constexpr bool isLeadByte(unsigned char b) {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

constexpr bool isTrailByte(unsigned char b) {
    return (b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFC);
}
// Length of the character that starts at byte i: 2 where the byte and the next one form a
// CP932 character, otherwise 1 — exactly as decode splits the bytes, so that byte algorithms
// and the pane agree on where characters begin.
int charLengthAt(QByteArrayView s, qsizetype i);

// The character that lead and trail form together, or 0 when they form none.
char16_t pairUnit(unsigned char lead, unsigned char trail);
// The table behind pairUnit, for loops that look at every character: pairRows()[lead][trail].
const char16_t* const* pairRows();
// Whether encoding the character of lead and trail writes these two bytes, rather than another
// code of the same character (the NEC and IBM duplicates).
bool isPreferredCode(unsigned char lead, unsigned char trail);

} // namespace pote::cp932
