#pragma once
// What the section lists of the picker, the swap dialog and the group dialog show, and which
// section an entry stands for. The lists are rebuilt from the store on every activation; an
// entry's meaning is recomputed from its row, so nothing is kept between fills.

#include <QString>

namespace pote {

class SectionStore;

// The blanks between number and name: three in the picker and the swap dialog, four in the
// group dialog's list of unassigned sections.
enum class EntrySpacing { Picker = 3, Unassigned = 4 };

// "No." + the number (position + 1) with at least three digits + the blanks + the name.
QString sectionEntryText(int position, const QByteArray& name, EntrySpacing spacing);

// Group entry 0 of the picker and the swap dialog; it stands for the sections in no group.
QString defaultGroupEntry();
// Rows of a group list. withDefault: "デフォルトセクション" first, so that row g stands for
// group g; without it, row k stands for group k + 1.
int groupRowCount(const SectionStore& store, bool withDefault);
QString groupRowText(const SectionStore& store, int row, bool withDefault);

// The position of the section that entry `row` of a section list of the group stands for: the
// row-th section, in ascending position, whose group is `group`. -1 when there is no such
// entry (no row, no group, or past the last member).
int resolveEntry(const SectionStore& store, int group, int row);

} // namespace pote
