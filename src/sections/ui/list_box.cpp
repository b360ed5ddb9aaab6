#include "sections/ui/list_box.h"

#include "sections/ui/dialog_style.h"

#include <QAbstractListModel>
#include <QStyledItemDelegate>

namespace pote {

class EntryModel : public QAbstractListModel {
public:
    using QAbstractListModel::QAbstractListModel;

    void reset(int count, ListBox::EntryText text) {
        beginResetModel();
        m_count = count;
        m_text = std::move(text);
        endResetModel();
    }

    QString text(int row) const {
        return row >= 0 && row < m_count && m_text ? m_text(row) : QString();
    }

    int rowCount(const QModelIndex& parent) const override {
        return parent.isValid() ? 0 : m_count;
    }

    QVariant data(const QModelIndex& index, int role) const override {
        if (role != Qt::DisplayRole || !index.isValid()) return {};
        return text(index.row());
    }

private:
    int m_count = 0;
    ListBox::EntryText m_text;
};

namespace {

class FixedRowDelegate : public QStyledItemDelegate {
public:
    FixedRowDelegate(int height, QObject* parent) : QStyledItemDelegate(parent), m_height(height) {}

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        size.setHeight(m_height);
        return size;
    }

private:
    int m_height;
};

} // namespace

ListBox::ListBox(const QString& objectName, QWidget* parent)
    : QListView(parent), m_model(new EntryModel(this)), m_itemHeight(0) {
    setObjectName(objectName);
    setFont(dialogFont());
    m_itemHeight = listItemHeight(font());
    setModel(m_model);
    setItemDelegate(new FixedRowDelegate(m_itemHeight, this));
    setUniformItemSizes(true);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    // Rows are sized to fit whole; a horizontal bar would take a row's height away.
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // A 2 px frame, as the list heights (rows × row height + 4) assume.
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(2);
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        if (!m_quiet) emit userSelected();
    });
    connect(this, &QListView::doubleClicked, this, [this] { emit rowDoubleClicked(); });
}

void ListBox::setEntries(int rows, EntryText text, bool selectFirst) {
    m_quiet = true;
    m_model->reset(rows, std::move(text));
    select(selectFirst && rows > 0 ? 0 : -1);
    m_quiet = false;
}

void ListBox::setEntries(const QStringList& entries, bool selectFirst) {
    setEntries(
        static_cast<int>(entries.size()), [entries](int row) { return entries.at(row); },
        selectFirst);
}

int ListBox::count() const {
    return m_model->rowCount(QModelIndex());
}

QString ListBox::entryText(int row) const {
    return m_model->text(row);
}

int ListBox::selectedRow() const {
    const QModelIndexList rows = selectionModel()->selectedIndexes();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void ListBox::select(int row) {
    if (row >= 0 && row < count()) {
        const QModelIndex index = m_model->index(row);
        selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
        scrollTo(index);
    } else {
        selectionModel()->clearSelection();
        selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
    }
}

void ListBox::selectRow(int row) {
    const bool quiet = m_quiet;
    m_quiet = true;
    select(row);
    m_quiet = quiet;
}

void ListBox::setCurrentRow(int row) {
    select(row);
}

QRect ListBox::rowRect(int row) const {
    return visualRect(m_model->index(row));
}

} // namespace pote
