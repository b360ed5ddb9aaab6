#include "editing/print_pagination.h"

namespace pote {

namespace {

// Half-width letters, digits and signs: the characters of words that should not be split.
bool isWordUnit(QChar c) {
    return c.unicode() > u' ' && c.unicode() < 0x7F;
}

// Rows of one line [start, end) of text, appended to rows.
void breakLine(QStringView text, qsizetype start, qsizetype end, double width,
               const std::function<double(QChar)>& advance, std::vector<PrintRow>& rows) {
    if (start == end) {
        rows.push_back({start, 0});
        return;
    }
    qsizetype rowStart = start;
    double used = 0;
    for (qsizetype i = start; i < end; ++i) {
        const double w = advance(text[i]);
        if (used + w <= width || i == rowStart) {
            used += w;
            continue;
        }
        qsizetype breakAt = i;
        used = w;
        if (isWordUnit(text[i]) && isWordUnit(text[i - 1])) {
            const qsizetype space = text.sliced(rowStart, i - rowStart).lastIndexOf(u' ');
            if (space > 0) {
                // The word moves to the next row when it fits there.
                double carried = 0;
                for (qsizetype j = rowStart + space + 1; j <= i; ++j)
                    carried += advance(text[j]);
                if (carried <= width) {
                    breakAt = rowStart + space + 1;
                    used = carried;
                }
            }
        }
        rows.push_back({rowStart, breakAt - rowStart});
        rowStart = breakAt;
    }
    rows.push_back({rowStart, end - rowStart});
}

} // namespace

std::vector<PrintRow> breakIntoRows(QStringView text, double width,
                                    const std::function<double(QChar)>& advance) {
    std::vector<PrintRow> rows;
    qsizetype start = 0;
    for (;;) {
        qsizetype end = text.indexOf(u'\n', start);
        const bool last = end < 0;
        if (last) end = text.size();
        breakLine(text, start, end, width, advance, rows);
        if (last) break;
        start = end + 1;
    }
    return rows;
}

qsizetype pageCount(qsizetype rowCount, qsizetype rowsPerPage) {
    if (rowsPerPage < 1) rowsPerPage = 1;
    return rowCount <= 0 ? 1 : (rowCount + rowsPerPage - 1) / rowsPerPage;
}

} // namespace pote
