#pragma once
// Where findings lie as a writer counts: line and byte column, as the status bar shows them.

#include <QByteArrayView>
#include <QtGlobal>

#include <vector>

namespace pote::revision {

struct LineColumn {
    qint64 line = 0;   // 0-based; CR LF, a lone CR and a lone LF each end a line
    qint64 column = 0; // 0-based byte column within the line
    bool operator==(const LineColumn&) const = default;
};

// For each offset (ascending) into text: its line and column, in one pass over the text.
std::vector<LineColumn> lineColumns(QByteArrayView text, const std::vector<quint32>& offsets);

} // namespace pote::revision
