#include "sections/section_lists.h"

#include "core/cp932.h"
#include "core/section_store.h"

namespace pote {

QString sectionEntryText(int position, const QByteArray& name, EntrySpacing spacing) {
    // Built as CP932 bytes and decoded once: the prefix is ASCII ending in a blank, so it can
    // never pair with the name's first byte.
    char number[12];
    int digits = 0;
    for (unsigned n = static_cast<unsigned>(position + 1); n != 0 || digits < 3; n /= 10)
        number[sizeof number - 1 - digits++] = static_cast<char>('0' + n % 10);
    QByteArray bytes;
    bytes.reserve(3 + digits + static_cast<int>(spacing) + name.size());
    bytes.append("No.", 3)
        .append(number + sizeof number - digits, digits)
        .append(static_cast<int>(spacing), ' ')
        .append(name);
    return cp932::decode(bytes);
}

QString defaultGroupEntry() {
    return QStringLiteral("デフォルトセクション");
}

int groupRowCount(const SectionStore& store, bool withDefault) {
    return store.groupCount() + (withDefault ? 1 : 0);
}

QString groupRowText(const SectionStore& store, int row, bool withDefault) {
    if (withDefault && row == 0) return defaultGroupEntry();
    const int group = withDefault ? row : row + 1;
    return group >= 1 && group <= store.groupCount() ? cp932::decode(store.groupName(group))
                                                     : QString();
}

int resolveEntry(const SectionStore& store, int group, int row) {
    if (row < 0) return -1;
    for (int pos = 0; pos < store.count(); ++pos) {
        if (store.section(pos).group != group) continue;
        if (row-- == 0) return pos;
    }
    return -1;
}

} // namespace pote
