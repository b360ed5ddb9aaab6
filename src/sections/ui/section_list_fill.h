#pragma once
// Fills the dialogs' list boxes from the store: the sections of one group, or the groups.

#include "sections/section_lists.h"

namespace pote {

class ListBox;
class SectionStore;

// The sections of the group (none for a group below 0), row k standing for the group's k-th
// member as resolveEntry counts them.
void fillSectionList(ListBox& list, const SectionStore& store, int group, EntrySpacing spacing,
                     bool selectFirst);
void fillGroupList(ListBox& list, const SectionStore& store, bool withDefault, bool selectFirst);

} // namespace pote
