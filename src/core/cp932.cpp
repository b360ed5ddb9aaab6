#include "core/cp932.h"

#include "core/cp932_tables.h"

#include <algorithm>
#include <array>
#include <bitset>
#include <cstdint>
#include <cstring>
#include <functional>
#include <memory>
#include <vector>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace pote::cp932 {

namespace {

// A byte b (0x80-0xFF) that is no character decodes to kEscapeBase + b, i.e. U+DC80-U+DCFF.
constexpr char16_t kEscapeBase = 0xDC00;

constexpr bool isEscape(char16_t u) {
    return u >= 0xDC80 && u <= 0xDCFF;
}

// An encode-table entry holds a code's bytes in output order, so that encoding stores it as
// one 16-bit value; a single-byte code has second byte 0 (a trail byte never is 0). Both bytes
// 0xFF is no code: 0xFF is no lead byte.
constexpr std::uint16_t kNoCode = 0xFFFF;

// The entry of a code (a byte, or lead << 8 | trail).
std::uint16_t entryOf(unsigned code) {
    const unsigned char bytes[2] = {static_cast<unsigned char>(code > 0xFF ? code >> 8 : code),
                                    static_cast<unsigned char>(code > 0xFF ? code : 0)};
    std::uint16_t entry;
    std::memcpy(&entry, bytes, 2);
    return entry;
}

inline unsigned char firstOf(std::uint16_t entry) {
    unsigned char bytes[2];
    std::memcpy(bytes, &entry, 2);
    return bytes[0];
}

inline unsigned char secondOf(std::uint16_t entry) {
    unsigned char bytes[2];
    std::memcpy(bytes, &entry, 2);
    return bytes[1];
}

// The generated tables, rearranged once for speed: rows of 256 (no range check on the trail
// byte) reached through a pointer per lead byte, with non-lead bytes pointing at an empty row;
// the unit of every byte on its own, escapes included; and the encode table.
struct Maps {
    // Unit of lead << 8 | trail via pairRow[lead][trail]; 0 where the pair is no character.
    std::array<const char16_t*, 256> pairRow;
    // Unit of each byte on its own: ASCII, half-width katakana, or the escape.
    std::array<char16_t, 256> single;
    // UTF-16 unit -> its CP932 bytes as an entry (see entryOf); kNoCode where it has none. The
    // inverse of decoding, with each duplicate code leaving the unit to its preferred code, plus
    // the encode-only units and the escapes.
    std::array<std::uint16_t, 0x10000> encode;
    std::vector<std::array<char16_t, 256>> rowData;
};

std::unique_ptr<Maps> buildMaps() {
    auto m = std::make_unique<Maps>();
    m->encode.fill(kNoCode);
    m->rowData.assign(static_cast<size_t>(tables::rowCount) + 1, {}); // row 0 stays empty
    for (unsigned b = 0; b < 0x100; ++b) {
        const unsigned row = tables::rowOfLead[b];
        auto& data = m->rowData[row == tables::kNoRow ? 0 : row + 1];
        if (row != tables::kNoRow)
            std::copy_n(tables::rows[row], tables::kTrailCount, data.begin() + tables::kTrailFirst);
        m->pairRow[b] = data.data();

        char16_t u = static_cast<char16_t>(b);
        if (b >= 0x80) {
            u = tables::singleByte[b - 0x80];
            if (u == 0) u = static_cast<char16_t>(kEscapeBase + b);
            // Also where the byte is a character of its own: decoding never yields that escape,
            // but pasted text may hold it.
            m->encode[kEscapeBase + b] = entryOf(b);
        }
        m->single[b] = u;
        m->encode[u] = entryOf(b);
    }
    auto notPreferred = std::make_unique<std::bitset<0x10000>>();
    for (const tables::CodePair& d : tables::duplicates)
        notPreferred->set(d.from);
    for (unsigned lead = 0x80; lead < 0x100; ++lead) {
        for (unsigned trail = 0; trail < 0x100; ++trail) {
            const char16_t u = m->pairRow[lead][trail];
            const unsigned code = lead << 8 | trail;
            if (u && !notPreferred->test(code)) m->encode[u] = entryOf(code);
        }
    }
    for (const tables::CodePair& extra : tables::encodeExtras)
        m->encode[extra.from] = entryOf(extra.to);
    return m;
}

const Maps& maps() {
    static const std::unique_ptr<Maps> m = buildMaps();
    return *m;
}

} // namespace

char16_t pairUnit(unsigned char lead, unsigned char trail) {
    return maps().pairRow[lead][trail];
}

const char16_t* const* pairRows() {
    return maps().pairRow.data();
}

namespace {

// The unit that an encode-table entry decodes to.
char16_t unitOfEntry(std::uint16_t entry) {
    const unsigned char second = secondOf(entry);
    return second ? pairUnit(firstOf(entry), second) : maps().single[firstOf(entry)];
}

constexpr std::uint64_t kHighBits8 = 0x8080808080808080ULL;
constexpr std::uint64_t kOnes8 = 0x0101010101010101ULL;
constexpr std::uint64_t kNonAscii16 = 0xFF80FF80FF80FF80ULL;
constexpr std::uint64_t kOnes16 = 0x0001000100010001ULL;
constexpr std::uint64_t kHigh16 = 0x8000800080008000ULL;

// Whether one of the 8 bytes of w (all below 0x80) equals c.
inline bool hasByte(std::uint64_t w, unsigned char c) {
    const std::uint64_t x = w ^ (kOnes8 * c);
    return ((x - kOnes8) & ~x & kHighBits8) != 0;
}

// Whether one of the 4 units of w (all below 0x80) equals c.
inline bool hasUnit(std::uint64_t w, char16_t c) {
    const std::uint64_t x = w ^ (kOnes16 * c);
    return ((x - kOnes16) & ~x & kHigh16) != 0;
}

// A text of tens of MB costs as much in page faults as in converting. Huge pages for the
// output cut that down; where the system says no, nothing changes.
void adviseHugePages(void* data, std::size_t size) {
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    constexpr std::uintptr_t kHugePage = std::uintptr_t(2) << 20;
    if (size < 4 * kHugePage) return;
    const auto begin = reinterpret_cast<std::uintptr_t>(data);
    const std::uintptr_t first = (begin + kHugePage - 1) & ~(kHugePage - 1);
    const std::uintptr_t last = (begin + size) & ~(kHugePage - 1);
    madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
#else
    Q_UNUSED(data);
    Q_UNUSED(size);
#endif
}

// Keeps a result from holding on to its worst-case allocation when much of that went unused (a
// decoded double-byte text fills about half of it); shrinking a large block does not copy it.
void dropSlack(QString& s, qsizetype allocated) {
    if (allocated - s.size() > 16384 && s.size() < allocated - allocated / 4) s.squeeze();
}

void dropSlack(QByteArray& s, qsizetype allocated) {
    if (allocated - s.size() > 16384 && s.size() < allocated - allocated / 4) s.squeeze();
}

// Pane: CR LF, lone CR and lone LF each become '\n'.
template <bool Pane> QString decodeImpl(QByteArrayView bytes) {
    const auto* src = reinterpret_cast<const unsigned char*>(bytes.data());
    const qsizetype n = bytes.size();
    const Maps& m = maps();
    QString out(n, Qt::Uninitialized); // every byte yields at most one unit
    char16_t* dst = reinterpret_cast<char16_t*>(out.data());
    adviseHugePages(dst, static_cast<std::size_t>(n) * sizeof(char16_t));
    qsizetype i = 0;
    qsizetype o = 0;
    // Up to the last byte, so that every lead byte has a byte after it to look at.
    while (i + 1 < n) {
        unsigned char b = src[i];
        if (b < 0x80) {
            for (;;) {
                while (i + 8 <= n) {
                    std::uint64_t w;
                    std::memcpy(&w, src + i, 8);
                    if ((w & kHighBits8) != 0) break;
                    if constexpr (Pane) {
                        if (hasByte(w, '\r')) break;
                    }
                    for (int k = 0; k < 8; ++k)
                        dst[o + k] = src[i + k];
                    i += 8;
                    o += 8;
                }
                if (i >= n || (b = src[i]) >= 0x80) break;
                if (Pane && b == '\r') {
                    dst[o++] = u'\n';
                    i += (i + 1 < n && src[i + 1] == '\n') ? 2 : 1;
                } else {
                    dst[o++] = b;
                    ++i;
                }
            }
            continue;
        }
        // Two double-byte characters in a row are the common case in Japanese text.
        if (i + 3 < n) {
            const char16_t u0 = m.pairRow[b][src[i + 1]];
            const char16_t u1 = m.pairRow[src[i + 2]][src[i + 3]];
            if (u0 && u1) {
                dst[o] = u0;
                dst[o + 1] = u1;
                o += 2;
                i += 4;
                continue;
            }
        }
        if (const char16_t u = m.pairRow[b][src[i + 1]]) {
            dst[o++] = u;
            i += 2;
        } else {
            dst[o++] = m.single[b];
            ++i;
        }
    }
    if (i < n) dst[o++] = (Pane && src[i] == '\r') ? u'\n' : m.single[src[i]];
    out.truncate(o);
    dropSlack(out, n);
    return out;
}

// Pane: '\n' and U+2029 become CR LF. Writes at most 2 bytes per unit to dst; returns the
// number written.
template <bool Pane> qsizetype encodeTo(QStringView text, unsigned char* dst, bool* lossy) {
    const char16_t* src = text.utf16();
    const qsizetype n = text.size();
    const std::uint16_t* table = maps().encode.data();
    qsizetype i = 0;
    qsizetype o = 0;
    bool lost = false;
    while (i < n) {
        const char16_t u = src[i];
        if (u < 0x80 && i + 4 <= n) {
            std::uint64_t w;
            std::memcpy(&w, src + i, 8);
            if ((w & kNonAscii16) == 0 && !(Pane && hasUnit(w, u'\n'))) {
                for (int k = 0; k < 4; ++k)
                    dst[o + k] = static_cast<unsigned char>(src[i + k]);
                i += 4;
                o += 4;
                continue;
            }
        }
        const std::uint16_t entry = table[u];
        if (entry != kNoCode && !(Pane && u == u'\n')) {
            // Both bytes always; after a single byte the next character overwrites the spare one.
            std::memcpy(dst + o, &entry, 2);
            o += secondOf(entry) ? 2 : 1;
            ++i;
        } else if (Pane && (u == u'\n' || u == 0x2029)) {
            dst[o++] = '\r';
            dst[o++] = '\n';
            ++i;
        } else {
            lost = true;
            dst[o++] = '?';
            const bool pair =
                QChar::isHighSurrogate(u) && i + 1 < n && QChar::isLowSurrogate(src[i + 1]);
            i += pair ? 2 : 1;
        }
    }
    if (lossy) *lossy = lost;
    return o;
}

template <bool Pane> QByteArray encodeImpl(QStringView text, bool* lossy) {
    const qsizetype n = text.size();
    QByteArray out(2 * n, Qt::Uninitialized); // every unit yields at most two bytes
    auto* dst = reinterpret_cast<unsigned char*>(out.data());
    adviseHugePages(dst, static_cast<std::size_t>(2 * n));
    out.truncate(encodeTo<Pane>(text, dst, lossy));
    dropSlack(out, 2 * n);
    return out;
}

// Bytes that the unit at i occupies once encoded. The low half of a surrogate pair occupies
// none: the pair as a whole becomes one "?".
inline int encodedLength(const std::uint16_t* table, const char16_t* s, qsizetype i) {
    const char16_t u = s[i];
    if (u < 0x80) return 1;
    const std::uint16_t entry = table[u];
    if (entry != kNoCode && secondOf(entry) != 0) return 2;
    if (i > 0 && QChar::isLowSurrogate(u) && QChar::isHighSurrogate(s[i - 1])) return 0;
    return 1;
}

// The first byte that the unit at i encodes to.
inline unsigned char firstByte(const std::uint16_t* table, const char16_t* s, qsizetype i) {
    const char16_t u = s[i];
    if (u < 0x80) return static_cast<unsigned char>(u);
    const std::uint16_t entry = table[u];
    return entry == kNoCode ? '?' : firstOf(entry);
}

} // namespace

QString decode(QByteArrayView bytes) {
    return decodeImpl<false>(bytes);
}

QByteArray encode(QStringView text, bool* lossy) {
    return encodeImpl<false>(text, lossy);
}

QString decodeForPane(QByteArrayView bytes) {
    return decodeImpl<true>(bytes);
}

QByteArray encodeFromPane(QStringView text, bool* lossy) {
    return encodeImpl<true>(text, lossy);
}

QByteArray encodeFromPaneByParts(QStringView text,
                                 const std::function<void(char*, qsizetype, bool)>& encoded,
                                 bool* lossy) {
    constexpr qsizetype kPart = 64 * 1024;
    const qsizetype n = text.size();
    QByteArray out(2 * n, Qt::Uninitialized);
    auto* dst = reinterpret_cast<unsigned char*>(out.data());
    adviseHugePages(dst, static_cast<std::size_t>(2 * n));
    qsizetype written = 0;
    bool lost = false;
    for (qsizetype from = 0; from < n;) {
        // Parts end after a line break (never inside a surrogate pair).
        qsizetype to = std::min(n, from + kPart);
        if (to < n) {
            const qsizetype lineEnd = text.indexOf(u'\n', to - 1);
            to = lineEnd < 0 ? n : lineEnd + 1;
        }
        bool partLost = false;
        written += encodeTo<true>(text.sliced(from, to - from), dst + written, &partLost);
        lost = lost || partLost;
        from = to;
        encoded(out.data(), written, from == n);
    }
    if (n == 0) encoded(out.data(), 0, true);
    out.truncate(written);
    dropSlack(out, 2 * n);
    if (lossy) *lossy = lost;
    return out;
}

// Whether decode(encode(text)) gives text back. Two things break that: a unit without a code of
// its own (a twin, or one that becomes "?"), and the escape of a stray lead byte placed right
// before something whose first byte completes it to a character.
bool canEncode(QStringView text) {
    const char16_t* src = text.utf16();
    const qsizetype n = text.size();
    const std::uint16_t* table = maps().encode.data();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t u = src[i];
        if (u < 0x80) continue;
        const std::uint16_t entry = table[u];
        if (entry == kNoCode || unitOfEntry(entry) != u) return false;
        if (isEscape(u) && isLeadByte(firstOf(entry)) && i + 1 < n &&
            pairUnit(firstOf(entry), firstByte(table, src, i + 1)) != 0)
            return false;
    }
    return true;
}

QString toEncodable(QStringView text, bool* changed) {
    const bool same = canEncode(text);
    if (changed) *changed = !same;
    return same ? text.toString() : decode(encode(text));
}

QStringList lostCharacters(QStringView text) {
    const char16_t* src = text.utf16();
    const qsizetype n = text.size();
    const std::uint16_t* table = maps().encode.data();
    QStringList lost;
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t u = src[i];
        if (u < 0x80 || table[u] != kNoCode) continue;
        const bool pair =
            QChar::isHighSurrogate(u) && i + 1 < n && QChar::isLowSurrogate(src[i + 1]);
        const QString character = text.sliced(i, pair ? 2 : 1).toString();
        if (!lost.contains(character)) lost.append(character);
        if (pair) ++i;
    }
    return lost;
}

qsizetype byteLength(QStringView text) {
    const char16_t* src = text.utf16();
    const std::uint16_t* table = maps().encode.data();
    qsizetype bytes = 0;
    for (qsizetype i = 0; i < text.size(); ++i)
        bytes += encodedLength(table, src, i);
    return bytes;
}

qsizetype unitToByteOffset(QStringView line, qsizetype unit) {
    return byteLength(line.first(qBound(qsizetype(0), unit, line.size())));
}

qsizetype byteToUnitOffset(QStringView line, qsizetype byte) {
    const char16_t* src = line.utf16();
    const std::uint16_t* table = maps().encode.data();
    qsizetype pos = 0;
    for (qsizetype i = 0; i < line.size(); ++i) {
        pos += encodedLength(table, src, i);
        if (byte < pos) return i;
    }
    return line.size();
}

bool isPreferredCode(unsigned char lead, unsigned char trail) {
    const char16_t u = pairUnit(lead, trail);
    return u != 0 && maps().encode[u] == entryOf(lead << 8 | trail);
}

int charLengthAt(QByteArrayView s, qsizetype i) {
    if (i < 0 || i + 1 >= s.size()) return 1;
    return pairUnit(static_cast<unsigned char>(s[i]), static_cast<unsigned char>(s[i + 1])) != 0
               ? 2
               : 1;
}

} // namespace pote::cp932
