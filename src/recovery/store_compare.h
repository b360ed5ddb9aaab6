#pragma once
// Telling whether the document changed since a snapshot without reading its texts.

#include "core/section_store.h"
#include "recovery/recovery_file.h"

namespace pote::recovery {

// The store at one moment: where it was being edited and a copy of its contents, which shares
// their buffers.
struct StoreSnapshot {
    RecoveryHeader state; // its time is not compared
    Document document;
};
StoreSnapshot snapshotOf(const SectionStore& store);

// True when live still holds what the snapshot holds: the same buffers for every name and
// text, and the same document state. While the snapshot is kept its buffers are shared, so any
// change to one of them gives the live store a buffer of its own; a change can therefore not
// go unnoticed, though replacing a text by equal bytes counts as a change.
bool sameContent(const SectionStore& live, const StoreSnapshot& snapshot);

} // namespace pote::recovery
