#include "recovery/store_compare.h"

namespace pote::recovery {

namespace {

bool sameBuffer(const QByteArray& a, const QByteArray& b) {
    return a.constData() == b.constData() && a.size() == b.size();
}

} // namespace

bool sameContent(const SectionStore& live, const SectionStore& snapshot) {
    if (live.count() != snapshot.count() || live.groupCount() != snapshot.groupCount() ||
        live.current != snapshot.current || live.headerReserved != snapshot.headerReserved ||
        live.hasPassword() != snapshot.hasPassword() || live.password() != snapshot.password() ||
        live.plainTextMode() != snapshot.plainTextMode() ||
        live.textPath() != snapshot.textPath() || live.documentPath != snapshot.documentPath ||
        live.displayName != snapshot.displayName)
        return false;
    for (int g = 1; g <= live.groupCount(); ++g)
        if (!sameBuffer(live.groupName(g), snapshot.groupName(g))) return false;
    for (int pos = 0; pos < live.count(); ++pos) {
        const Section& a = live.section(pos);
        const Section& b = snapshot.section(pos);
        const PositionReserved& ra = live.reserved(pos);
        const PositionReserved& rb = snapshot.reserved(pos);
        if (a.group != b.group || !sameBuffer(a.name, b.name) || !sameBuffer(a.text, b.text) ||
            ra.r1 != rb.r1 || ra.r2 != rb.r2 || ra.r3 != rb.r3)
            return false;
    }
    return true;
}

} // namespace pote::recovery
