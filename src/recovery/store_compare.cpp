#include "recovery/store_compare.h"

namespace pote::recovery {

namespace {

bool sameBuffer(const QByteArray& a, const QByteArray& b) {
    return a.constData() == b.constData() && a.size() == b.size();
}

bool sameState(const SectionStore& live, const RecoveryHeader& state) {
    return live.current == state.currentSection && live.plainTextMode() == state.plainTextMode &&
           live.textPath() == state.textPath && live.documentPath == state.documentPath &&
           live.displayName == state.displayName;
}

bool sameContent(const Document& live, const Document& snapshot) {
    if (live.count() != snapshot.count() || live.groupCount() != snapshot.groupCount() ||
        live.headerReserved != snapshot.headerReserved ||
        live.hasPassword() != snapshot.hasPassword() || live.password() != snapshot.password())
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

} // namespace

StoreSnapshot snapshotOf(const SectionStore& store) {
    return {headerFor(store, QDateTime()), store.document()};
}

bool sameContent(const SectionStore& live, const StoreSnapshot& snapshot) {
    return sameState(live, snapshot.state) && sameContent(live.document(), snapshot.document);
}

} // namespace pote::recovery
