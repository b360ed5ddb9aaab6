#include "core/stored_stretch.h"

#include "core/cp932.h"
#include "core/cp932_tables.h"

#include <bitset>

namespace pote {

namespace {

// The byte offset of pane position `position`, counted on from byte `at`, position `from`.
qsizetype byteOfPosition(QByteArrayView text, qsizetype at, qsizetype from, qsizetype position) {
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    const qsizetype n = text.size();
    const char16_t* const* rows = cp932::pairRows();
    for (qsizetype u = from; u < position && at < n; ++u) {
        const unsigned char b = p[at];
        if (b == '\r')
            at += at + 1 < n && p[at + 1] == '\n' ? 2 : 1;
        else if (b >= 0x80 && at + 1 < n && rows[b][p[at + 1]])
            at += 2;
        else
            ++at;
    }
    return at;
}

} // namespace

QByteArray bytesOfPanePositions(QByteArrayView text, qsizetype from, qsizetype to) {
    if (to <= from) return {};
    const qsizetype start = byteOfPosition(text, 0, 0, from);
    const qsizetype end = byteOfPosition(text, start, from, to);
    return text.sliced(start, end - start).toByteArray();
}

bool hasDuplicateCodedCharacter(QStringView paneText) {
    static const std::bitset<0x10000> duplicated = [] {
        std::bitset<0x10000> units;
        for (const auto& pair : cp932::tables::duplicates)
            units.set(cp932::pairUnit(pair.from >> 8, pair.from & 0xFF));
        return units;
    }();
    for (const QChar c : paneText) {
        if (duplicated.test(c.unicode())) return true;
    }
    return false;
}

} // namespace pote
