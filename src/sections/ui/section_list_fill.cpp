#include "sections/ui/section_list_fill.h"

#include "core/section_store.h"
#include "sections/ui/list_box.h"

namespace pote {

void fillSectionList(ListBox& list, const SectionStore& store, int group, EntrySpacing spacing,
                     bool selectFirst) {
    std::vector<int> rows = group < 0 ? std::vector<int>() : store.membersOf(group);
    const int count = static_cast<int>(rows.size());
    // Texts are made when rows are drawn; the dialogs are modal, so the store does not change
    // under a filled list.
    list.setEntries(
        count,
        [&store, rows = std::move(rows), spacing](int row) {
            const int position = rows[static_cast<size_t>(row)];
            return sectionEntryText(position, store.section(position).name, spacing);
        },
        selectFirst);
}

void fillGroupList(ListBox& list, const SectionStore& store, bool withDefault, bool selectFirst) {
    list.setEntries(
        groupRowCount(store, withDefault),
        [&store, withDefault](int row) { return groupRowText(store, row, withDefault); },
        selectFirst);
}

} // namespace pote
