#pragma once
// Breaking the pane's text into printed rows and pages. Measuring is left to the caller (the
// printer's font metrics), so the breaking itself needs no painter.

#include <QStringView>

#include <functional>
#include <vector>

namespace pote {

// One printed row: a piece of one line of the text (units of the text, line break excluded).
struct PrintRow {
    qsizetype start = 0;
    qsizetype length = 0;
    friend bool operator==(const PrintRow&, const PrintRow&) = default;
};

// Breaks text ('\n' between lines) into rows no wider than width, advance(c) being the width
// of one character. A line that is too wide breaks after its last space when the break would
// otherwise fall inside a word of half-width letters, else at the last character that fits;
// a row always takes at least one character. An empty line is one empty row; an empty text is
// one empty row.
std::vector<PrintRow> breakIntoRows(QStringView text, double width,
                                    const std::function<double(QChar)>& advance);

// Pages for rowCount rows at rowsPerPage rows a page: at least one page, even for no rows.
qsizetype pageCount(qsizetype rowCount, qsizetype rowsPerPage);

} // namespace pote
