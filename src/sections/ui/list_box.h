#pragma once
// The list boxes of the section dialogs: one selected row at most, rows of one fixed height
// (so that the picker can size itself to whole rows) and the dialogs' Japanese UI font.
//
// Rows are not items: a list holds a row count and a function that gives a row's text, called
// only for the rows being drawn or searched. Refilling a list of 500 sections on every
// activation therefore costs little more than finding the rows.

#include <QListView>

#include <functional>

namespace pote {

class EntryModel;

class ListBox : public QListView {
    Q_OBJECT
public:
    using EntryText = std::function<QString(int row)>;

    explicit ListBox(const QString& objectName, QWidget* parent);

    int itemHeight() const { return m_itemHeight; }
    // Replaces the rows. With selectFirst the first row (if any) is selected, otherwise none.
    // Filling never counts as the user's selection: userSelected is not emitted.
    void setEntries(int count, EntryText text, bool selectFirst);
    void setEntries(const QStringList& entries, bool selectFirst);
    int count() const;
    QString entryText(int row) const;
    // The selected row, or -1.
    int selectedRow() const;
    // Selects that row (or nothing for -1) quietly, as a fill does.
    void selectRow(int row);
    // Selects that row as the user's click would, announcing it.
    void setCurrentRow(int row);
    QRect rowRect(int row) const;

signals:
    // The user changed the selection (mouse or keyboard).
    void userSelected();
    void rowDoubleClicked();

private:
    void select(int row);

    EntryModel* m_model;
    int m_itemHeight;
    bool m_quiet = false;
};

} // namespace pote
