#include "editing/ui/character_count_dialog.h"

#include "core/digit_grouping.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace pote {

namespace {

QString value(const CharacterCount& c, CharacterCountDialog::Row row) {
    switch (row) {
    case CharacterCountDialog::Characters:
        return group_digits(c.characters);
    case CharacterCountDialog::NonSpace:
        return group_digits(c.nonSpace);
    case CharacterCountDialog::Lines:
        return group_digits(c.lines);
    case CharacterCountDialog::Bytes:
        return group_digits(c.bytes);
    case CharacterCountDialog::Pages:
        return group_digits(c.manuscriptPages) + QStringLiteral(" 枚");
    case CharacterCountDialog::RowCount:
        break;
    }
    return {};
}

QString rowName(CharacterCountDialog::Row row) {
    switch (row) {
    case CharacterCountDialog::Characters:
        return QStringLiteral("文字数");
    case CharacterCountDialog::NonSpace:
        return QStringLiteral("空白を除いた文字数");
    case CharacterCountDialog::Lines:
        return QStringLiteral("行数");
    case CharacterCountDialog::Bytes:
        return QStringLiteral("バイト数");
    case CharacterCountDialog::Pages:
        return QStringLiteral("400字詰め原稿用紙換算");
    case CharacterCountDialog::RowCount:
        break;
    }
    return {};
}

} // namespace

CharacterCountDialog::CharacterCountDialog(const CountsShown& counts, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("char_count_fm"));
    setAttribute(Qt::WA_WindowPropagation);
    setWindowTitle(QStringLiteral("文字数カウント"));

    auto* intro = new QLabel(QStringLiteral("数えてみたにゃん。"), this);
    intro->setObjectName(QStringLiteral("lb_intro"));

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(18);
    grid->setVerticalSpacing(6);
    const QString headers[ColumnCount] = {
        QStringLiteral("選択範囲"), QStringLiteral("このセクション"), QStringLiteral("文書全体")};
    const CharacterCount* sources[ColumnCount] = {counts.selection ? &*counts.selection : nullptr,
                                                  &counts.section, &counts.document};
    int gridColumn = 1;
    for (int column = 0; column < ColumnCount; ++column) {
        if (!sources[column]) continue;
        auto* header = new QLabel(headers[column], this);
        QFont bold = header->font();
        bold.setBold(true);
        header->setFont(bold);
        header->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        grid->addWidget(header, 0, gridColumn);
        for (int row = 0; row < RowCount; ++row) {
            auto* cellLabel = new QLabel(value(*sources[column], Row(row)), this);
            cellLabel->setObjectName(QStringLiteral("count_%1_%2").arg(row).arg(column));
            cellLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            cellLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
            grid->addWidget(cellLabel, row + 1, gridColumn);
            m_cells[row][column] = cellLabel;
        }
        ++gridColumn;
    }
    for (int row = 0; row < RowCount; ++row)
        grid->addWidget(new QLabel(rowName(Row(row)), this), row + 1, 0);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("ok_bt"));
    ok->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(intro);
    layout->addSpacing(4);
    layout->addLayout(grid);
    layout->addSpacing(8);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

QString CharacterCountDialog::cell(Row row, Column column) const {
    const QLabel* label = m_cells[row][column];
    return label ? label->text() : QString();
}

} // namespace pote
