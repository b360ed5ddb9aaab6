#pragma once
// Telling whether the document changed since a snapshot without reading its texts.

#include "core/section_store.h"

namespace pote::recovery {

// True when live still holds what snapshot (a copy of it) holds: the same buffers for every
// name and text, and the same document state. While the snapshot is kept its buffers are
// shared, so any change to one of them gives the live store a buffer of its own; a change can
// therefore not go unnoticed, though replacing a text by equal bytes counts as a change.
bool sameContent(const SectionStore& live, const SectionStore& snapshot);

} // namespace pote::recovery
