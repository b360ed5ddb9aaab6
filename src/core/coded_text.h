#pragma once
// A text's bytes read by CP932 characters, as the byte-keeping merge compares them: equal keys
// decode to equal text, whichever of a character's codes stands in the bytes.

#include "core/cp932.h"
#include "core/text_diff.h"

#include <cstdint>
#include <utility>
#include <vector>

namespace pote::keeping {

using diff::Byte;

// The character that lead and trail form, or 0 (cp932::pairUnit without the call: every byte of
// a long text passes through here).
inline char16_t pairUnit(Byte lead, Byte trail) {
    static const char16_t* const* const rows = cp932::pairRows();
    return rows[lead][trail];
}

// A character's key: a line break of any form (CR LF, CR, LF) is one key; single bytes are keyed
// apart from the units of pairs.
constexpr std::uint32_t kSingle = 0x10000;
constexpr std::uint32_t kBreakKey = kSingle | '\n';

struct Char {
    std::uint32_t key;
    int length;
    qsizetype at;
    // Two bytes that form a character (a CR LF is two bytes too, but no pair).
    bool isPair() const { return key < kSingle; }
    bool isBreak() const { return key == kBreakKey; }
};

// A byte range of one text: removed from the stored text or inserted into the new one.
struct Stretch {
    qsizetype from;
    qsizetype to;
};

struct CodedText : diff::Bytes {
    int charLength(qsizetype i) const { return i + 1 < n && pairUnit(p[i], p[i + 1]) ? 2 : 1; }

    Char charAt(qsizetype i) const {
        const Byte b = p[i];
        if (b == '\r') return {kBreakKey, i + 1 < n && p[i + 1] == '\n' ? 2 : 1, i};
        if (b == '\n') return {kBreakKey, 1, i};
        if (i + 1 < n) {
            if (const char16_t u = pairUnit(b, p[i + 1])) return {u, 2, i};
        }
        return {kSingle | b, 1, i};
    }

    // A pair in a code the encoder does not write for its character.
    bool isRareCode(const Char& c) const {
        return c.isPair() && !cp932::isPreferredCode(p[c.at], p[c.at + 1]);
    }

    // The characters of [from, to), which starts at a character.
    std::vector<Char> charsOf(qsizetype from, qsizetype to) const {
        std::vector<Char> chars;
        chars.reserve(static_cast<std::size_t>(to - from));
        for (qsizetype i = from; i < to;) {
            chars.push_back(charAt(i));
            i += chars.back().length;
        }
        return chars;
    }

    // The start and length of the character holding byte pos, read from floor (a character
    // start at or before pos). A byte that cannot lead a pair ends a character, so one starts
    // after the last such byte before pos.
    std::pair<qsizetype, int> charHolding(qsizetype pos, qsizetype floor) const {
        qsizetype c = pos;
        while (c > floor && cp932::isLeadByte(p[c - 1]))
            --c;
        int len = charLength(c);
        while (c + len <= pos) {
            c += len;
            len = charLength(c);
        }
        return {c, len};
    }

    // Whether the character that ends at pos (a character start) is a stray lead byte on its own.
    bool strayLeadEndsAt(qsizetype pos) const {
        if (pos == 0 || !cp932::isLeadByte(p[pos - 1])) return false;
        // A byte that cannot lead a pair ends a character, so one starts after it.
        qsizetype c = pos - 1;
        while (c > 0 && cp932::isLeadByte(p[c - 1]))
            --c;
        for (;;) {
            const int len = charLength(c);
            if (c + len >= pos) return c + len == pos ? len == 1 : true;
            c += len;
        }
    }
};

} // namespace pote::keeping
