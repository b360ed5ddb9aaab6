#include "sections/ui/select_fm.h"

#include "core/section_store.h"
#include "sections/picker_geometry.h"
#include "sections/ui/dialog_style.h"
#include "sections/ui/list_box.h"
#include "sections/ui/section_list_fill.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>

namespace pote {

Tselect_fm::Tselect_fm(const SectionStore& store, SwitchTo switchTo, QWidget* parent)
    : QDialog(parent), m_store(store), m_switchTo(std::move(switchTo)) {
    setObjectName(QStringLiteral("select_fm"));
    setFont(dialogFont());
    setWindowTitle(QStringLiteral("セクション選択"));

    m_groupList = new ListBox(QStringLiteral("group_list"), this);
    m_groupList->setGeometry(8, 24, 273, 69);
    captionLabel(QStringLiteral("lb_group"), QStringLiteral("グループ(&G)"), m_groupList, {8, 8},
                 this);

    m_sectionList = new ListBox(QStringLiteral("section_list"), this);
    m_sectionList->viewport()->setMouseTracking(true);
    m_sectionList->viewport()->installEventFilter(this);
    m_sectionList->installEventFilter(this);
    captionLabel(QStringLiteral("lb_section"), QStringLiteral("セクション(S)"), m_sectionList,
                 {8, 96}, this);

    m_setButton =
        new QPushButton(dialogIcon(QStringLiteral("choose")), QStringLiteral("選択(&V)"), this);
    m_setButton->setObjectName(QStringLiteral("set_bt"));
    m_endButton = new QPushButton(QStringLiteral("キャンセル(&C)"), this);
    m_endButton->setObjectName(QStringLiteral("end_bt"));

    connect(m_groupList, &ListBox::userSelected, this, &Tselect_fm::group_listClick);
    connect(m_sectionList, &ListBox::rowDoubleClicked, this, &Tselect_fm::section_listDblClick);
    connect(m_setButton, &QPushButton::clicked, this, &Tselect_fm::set_btClick);
    connect(m_endButton, &QPushButton::clicked, this, &Tselect_fm::end_btClick);

    sizeFor(0);
}

bool Tselect_fm::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate) act();
    return QDialog::event(event);
}

void Tselect_fm::act() {
    setWindowTitle(QStringLiteral("セクション選択"));
    m_setButton->setText(QStringLiteral("選択(&V)"));
    if (m_placement) move(m_placement());
    int group = m_store.section(m_store.current).group;
    if (group < 0 || group > m_store.groupCount()) group = 0;
    fillGroupList(*m_groupList, m_store, true, false);
    m_groupList->selectRow(group);
    sizeFor(group);
    fillSections();
    // Arrow keys and Enter work on the sections straight away.
    m_sectionList->setFocus();
}

int Tselect_fm::selectedGroup() const {
    return m_groupList->selectedRow();
}

void Tselect_fm::group_listClick() {
    sizeFor(selectedGroup());
    fillSections();
}

void Tselect_fm::sizeFor(int group) {
    const int members = group < 0 ? 0 : static_cast<int>(m_store.membersOf(group).size());
    // The whole picker, its buttons above all, stays on the screen: on a small screen or at a
    // large scale factor the list shows fewer rows and scrolls.
    const QRect screenRoom = screen()->availableGeometry();
    const QSize frame = isVisible() ? frameGeometry().size() - size() : QSize(16, 48);
    const PickerLayout layout =
        pickerLayout(members, m_sectionList->itemHeight(), screenRoom.height() - frame.height());
    m_sectionList->setGeometry(layout.sectionList);
    m_setButton->setGeometry(layout.setButton);
    m_endButton->setGeometry(layout.endButton);
    setFixedSize(PickerLayout::kClientWidth, layout.clientHeight);
    move(keptOnScreen(pos(), size() + frame, screenRoom));
}

void Tselect_fm::fillSections() {
    fillSectionList(*m_sectionList, m_store, selectedGroup(), EntrySpacing::Picker, true);
}

void Tselect_fm::choose() {
    const int position = resolveEntry(m_store, selectedGroup(), m_sectionList->selectedRow());
    if (position >= 0 && position != m_store.current && m_switchTo) m_switchTo(position);
    accept();
}

void Tselect_fm::set_btClick() {
    choose();
}

void Tselect_fm::section_listDblClick() {
    choose();
}

void Tselect_fm::section_listMouseMove(const QPoint& at) {
    if (!m_singleClickMove) return;
    const QModelIndex index = m_sectionList->indexAt(at);
    m_sectionList->selectRow(index.isValid() ? index.row() : -1);
}

void Tselect_fm::section_listMouseDown(const QPoint& at) {
    if (!m_singleClickMove) return;
    section_listMouseMove(at);
    choose();
}

void Tselect_fm::end_btClick() {
    reject();
}

bool Tselect_fm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_sectionList->viewport()) {
        if (event->type() == QEvent::MouseMove) {
            section_listMouseMove(static_cast<QMouseEvent*>(event)->position().toPoint());
        } else if (event->type() == QEvent::MouseButtonPress && m_singleClickMove) {
            section_listMouseDown(static_cast<QMouseEvent*>(event)->position().toPoint());
            return true;
        }
    } else if (watched == m_sectionList && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            choose();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace pote
