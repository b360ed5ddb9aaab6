#pragma once
// What the cat says about searching every section and about the character count.

#include <QString>

namespace pote {

// While the search runs.
QString searchingNote(int sectionsDone, int sections, qint64 hits);
// When it has ended: found hits (listed of them when the list was cut short), or stopped.
QString searchedNote(qint64 hits, bool truncated, bool cancelled);
// A hit chosen from the list is no longer in its section.
QString hitGoneNote();
// A hit chosen from the list lies in a section that no longer exists.
QString sectionGoneNote();

} // namespace pote
