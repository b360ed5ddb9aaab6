#include "editing/ui/section_hits_window.h"

#include "core/cp932.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTreeView>
#include <QVBoxLayout>

namespace pote {

namespace {

enum Column { SectionColumn, LineColumn, TextColumn, ColumnCount };
// Where the hit lies in the text column's string: start and length.
constexpr int kHitSpanRole = Qt::UserRole;

const QString kCut = QStringLiteral("…");

// The text column of a row and where the hit lies in it. Rows are made when shown: a list can
// hold a hundred thousand of them.
struct ShownContext {
    QString text;
    int hitStart = 0;
    int hitLength = 0;
};

ShownContext shownContext(const ListedHit& listed, qsizetype patternSize) {
    const HitContext& c = listed.context;
    const QByteArrayView bytes(c.text);
    ShownContext shown;
    const QString before = cp932::decode(bytes.first(c.hitAt));
    const qsizetype hitEnd = qMin(c.text.size(), c.hitAt + patternSize);
    const QString hit = cp932::decode(bytes.sliced(c.hitAt, hitEnd - c.hitAt));
    const QString after = cp932::decode(bytes.sliced(hitEnd));
    shown.text = (c.cutBefore ? kCut : QString()) + before;
    shown.hitStart = static_cast<int>(shown.text.size());
    shown.hitLength = static_cast<int>(hit.size());
    shown.text += hit + after + (c.cutAfter ? kCut : QString());
    // A tab would open a gap the width of the column's tab stops.
    shown.text.replace(u'\t', u' ');
    return shown;
}

} // namespace

class SectionHitsModel : public QAbstractTableModel {
public:
    using QAbstractTableModel::QAbstractTableModel;

    void reset(std::shared_ptr<const SectionSearchOutcome> outcome, QStringList labels) {
        beginResetModel();
        m_outcome = std::move(outcome);
        m_labels = std::move(labels);
        endResetModel();
    }
    const SectionSearchOutcome* outcome() const { return m_outcome.get(); }
    std::shared_ptr<const SectionSearchOutcome> sharedOutcome() const { return m_outcome; }

    int rowCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() || !m_outcome ? 0 : static_cast<int>(m_outcome->hits.size());
    }
    int columnCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : ColumnCount;
    }

    QVariant data(const QModelIndex& index, int role) const override {
        if (!index.isValid() || !m_outcome) return {};
        const ListedHit& listed = m_outcome->hits[static_cast<size_t>(index.row())];
        if (role == Qt::TextAlignmentRole && index.column() == LineColumn)
            return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
        if (role == kHitSpanRole && index.column() == TextColumn) {
            const ShownContext shown = shownContext(listed, m_outcome->pattern.size());
            return QPoint(shown.hitStart, shown.hitLength);
        }
        if (role != Qt::DisplayRole) return {};
        switch (index.column()) {
        case SectionColumn:
            return m_labels.value(listed.hit.section);
        case LineColumn:
            return QString::number(listed.hit.line + 1);
        case TextColumn:
            return shownContext(listed, m_outcome->pattern.size()).text;
        }
        return {};
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
        switch (section) {
        case SectionColumn:
            return QStringLiteral("セクション");
        case LineColumn:
            return QStringLiteral("行");
        case TextColumn:
            return QStringLiteral("見つかった所");
        }
        return {};
    }

private:
    std::shared_ptr<const SectionSearchOutcome> m_outcome;
    QStringList m_labels;
};

namespace {

// Draws the text column with the hit itself marked, as a find marks it in the pane.
class HitDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyleOptionViewItem opt = option;
        initStyleOption(&opt, index);
        const QString text = opt.text;
        const QPoint span = index.data(kHitSpanRole).toPoint();
        opt.text.clear();
        const QWidget* widget = opt.widget;
        QStyle* style = widget ? widget->style() : QApplication::style();
        style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, widget);

        const QRect area =
            style->subElementRect(QStyle::SE_ItemViewItemText, &opt, widget).adjusted(2, 0, -2, 0);
        const bool selected = opt.state & QStyle::State_Selected;
        const QColor ink = opt.palette.color(selected ? QPalette::HighlightedText : QPalette::Text);
        const QFontMetrics metrics(opt.font);
        painter->save();
        painter->setClipRect(area);
        painter->setFont(opt.font);
        int x = area.left();
        const auto part = [&](const QString& s, bool hit) {
            const int width = metrics.horizontalAdvance(s);
            const QRect box(x, area.top(), width, area.height());
            if (hit && !selected) painter->fillRect(box, QColor(255, 230, 120));
            QFont font = opt.font;
            font.setBold(hit);
            painter->setFont(font);
            painter->setPen(ink);
            painter->drawText(box, Qt::AlignVCenter | Qt::AlignLeft | Qt::TextSingleLine, s);
            x += hit ? QFontMetrics(font).horizontalAdvance(s) : width;
        };
        part(text.left(span.x()), false);
        part(text.mid(span.x(), span.y()), true);
        part(text.mid(span.x() + span.y()), false);
        painter->restore();
    }
};

} // namespace

SectionHitsWindow::SectionHitsWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("section_hits_fm"));
    setAttribute(Qt::WA_WindowPropagation);
    setWindowTitle(QStringLiteral("すべてのセクションを検索"));
    resize(680, 380);

    m_note = new QLabel(this);
    m_note->setObjectName(QStringLiteral("lb_note"));
    m_model = new SectionHitsModel(this);
    m_list = new QTreeView(this);
    m_list->setObjectName(QStringLiteral("hit_list"));
    m_list->setRootIsDecorated(false);
    m_list->setUniformRowHeights(true);
    m_list->setAllColumnsShowFocus(true);
    m_list->setModel(m_model);
    m_list->setItemDelegateForColumn(TextColumn, new HitDelegate(m_list));
    m_list->header()->setStretchLastSection(true);
    m_list->setColumnWidth(SectionColumn, 190);
    m_list->setColumnWidth(LineColumn, 56);

    m_stop = new QPushButton(QStringLiteral("中止(&S)"), this);
    m_stop->setObjectName(QStringLiteral("stop_bt"));
    m_stop->setEnabled(false);
    auto* close = new QPushButton(QStringLiteral("閉じる(&C)"), this);
    close->setObjectName(QStringLiteral("close_bt"));

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_stop);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_note);
    layout->addWidget(m_list, 1);
    layout->addLayout(buttons);

    connect(m_list, &QTreeView::activated, this,
            [this](const QModelIndex& index) { chooseRow(index.row()); });
    connect(m_stop, &QPushButton::clicked, this, &SectionHitsWindow::stopRequested);
    connect(close, &QPushButton::clicked, this, &QWidget::close);
}

SectionHitsWindow::~SectionHitsWindow() = default;

void SectionHitsWindow::searching(const QString& note) {
    m_model->reset(nullptr, {});
    m_stop->setEnabled(true);
    setNote(note);
}

void SectionHitsWindow::showProgress(const QString& note) {
    setNote(note);
}

void SectionHitsWindow::showOutcome(std::shared_ptr<const SectionSearchOutcome> outcome,
                                    QStringList sectionLabels, const QString& note) {
    m_model->reset(std::move(outcome), std::move(sectionLabels));
    m_stop->setEnabled(false);
    setNote(note);
    if (m_model->rowCount() > 0) {
        m_list->setCurrentIndex(m_model->index(0, 0));
        m_list->setFocus();
    }
}

void SectionHitsWindow::closeEvent(QCloseEvent* event) {
    // Nobody would see what a running search finds.
    if (m_stop->isEnabled()) emit stopRequested();
    QWidget::closeEvent(event);
}

void SectionHitsWindow::setNote(const QString& note) {
    m_note->setText(note);
}

QString SectionHitsWindow::note() const {
    return m_note->text();
}

int SectionHitsWindow::rowCount() const {
    return m_model->rowCount();
}

QString SectionHitsWindow::rowText(int row, int column) const {
    return m_model->data(m_model->index(row, column), Qt::DisplayRole).toString();
}

const ListedHit* SectionHitsWindow::hitAt(int row) const {
    const SectionSearchOutcome* outcome = m_model->outcome();
    if (!outcome || row < 0 || row >= static_cast<int>(outcome->hits.size())) return nullptr;
    return &outcome->hits[static_cast<size_t>(row)];
}

std::shared_ptr<const SectionSearchOutcome> SectionHitsWindow::outcome() const {
    return m_model->sharedOutcome();
}

void SectionHitsWindow::chooseRow(int row) {
    if (hitAt(row)) emit hitChosen(row);
}

} // namespace pote
