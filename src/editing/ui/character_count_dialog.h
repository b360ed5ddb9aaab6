#pragma once
// The character count window: characters, characters without spaces, lines, bytes and
// manuscript pages of the selection (when there is one), the current section and the whole
// document, side by side.

#include "editing/character_count.h"

#include <QDialog>

#include <optional>

class QLabel;

namespace pote {

struct CountsShown {
    std::optional<CharacterCount> selection;
    CharacterCount section;
    CharacterCount document;
};

class CharacterCountDialog : public QDialog {
    Q_OBJECT
public:
    enum Row { Characters, NonSpace, Lines, Bytes, Pages, RowCount };
    enum Column { Selection, Section, Document, ColumnCount };

    CharacterCountDialog(const CountsShown& counts, QWidget* parent);

    // What a cell shows; empty for the selection's column when nothing is selected.
    QString cell(Row row, Column column) const;

private:
    QLabel* m_cells[RowCount][ColumnCount] = {};
};

} // namespace pote
