#pragma once
// The two line transformations of the pane's pop-up menu, on CP932 bytes with CR LF line
// breaks. Both run in one pass over their input.

#include <QByteArray>
#include <QByteArrayView>

namespace pote {

// Drops the empty lines and the lines of half-width spaces that follow each line break; the
// indentation of the next line that has text stays. Blank lines at the end are dropped, and
// those at the start shrink to the one line break that begins them. Full-width spaces and
// TABs count as text.
QByteArray blank_line_cut(QByteArrayView text);

// Puts four half-width spaces at the start of every line of lines: at its start and after
// each LF. lines runs from the start of the first line to the end of the last one (without
// that line's break, so a text ending in a line break gets spaces on its empty last line too).
QByteArray shift_right(QByteArrayView lines);

} // namespace pote
