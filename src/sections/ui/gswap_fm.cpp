#include "sections/ui/gswap_fm.h"

#include "core/section_store.h"
#include "sections/ui/dialog_style.h"
#include "sections/ui/list_box.h"
#include "sections/ui/picture_button.h"
#include "sections/ui/section_list_fill.h"

#include <QEvent>
#include <QPushButton>

namespace pote {

Tgswap_fm::Tgswap_fm(const SectionStore& store, Swap swap, QWidget* parent)
    : QDialog(parent), m_store(store), m_swap(std::move(swap)) {
    setObjectName(QStringLiteral("gswap_fm"));
    setFont(dialogFont());
    setWindowTitle(QStringLiteral("セクションナンバーの交換"));
    resize(659, 391);

    m_groupList1 = new ListBox(QStringLiteral("group_list1"), this);
    m_groupList1->setGeometry(8, 32, 273, 81);
    m_sectionList1 = new ListBox(QStringLiteral("section_list1"), this);
    m_sectionList1->setGeometry(8, 147, 273, 170);
    m_groupList2 = new ListBox(QStringLiteral("group_list2"), this);
    m_groupList2->setGeometry(368, 36, 273, 81);
    m_sectionList2 = new ListBox(QStringLiteral("section_list2"), this);
    m_sectionList2->setGeometry(368, 151, 273, 170);
    captionLabel(QStringLiteral("lb_group1"), QStringLiteral("グループ(&G)"), m_groupList1, {8, 12},
                 this);
    captionLabel(QStringLiteral("lb_section1"), QStringLiteral("セクション(&S)"), m_sectionList1,
                 {8, 127}, this);
    captionLabel(QStringLiteral("lb_group2"), QStringLiteral("グループ(&R)"), m_groupList2,
                 {368, 16}, this);
    captionLabel(QStringLiteral("lb_section2"), QStringLiteral("セクション(&E)"), m_sectionList2,
                 {368, 131}, this);

    m_swapButton = new PictureButton(QStringLiteral("swap_bbt"), dialogIcon(QStringLiteral("swap")),
                                     QStringLiteral("交換(&M)"), this);
    m_swapButton->setGeometry(304, 180, 48, 54);

    m_closeButton = new QPushButton(QStringLiteral("閉じる(&C)"), this);
    m_closeButton->setObjectName(QStringLiteral("Button1"));
    m_closeButton->setGeometry(568, 332, 75, 25);

    connect(m_groupList1, &ListBox::userSelected, this, &Tgswap_fm::group_list1Click);
    connect(m_groupList2, &ListBox::userSelected, this, &Tgswap_fm::group_list2Click);
    connect(m_sectionList1, &ListBox::userSelected, this, &Tgswap_fm::section_list1Click);
    connect(m_sectionList2, &ListBox::userSelected, this, &Tgswap_fm::section_list2Click);
    connect(m_swapButton, &QPushButton::clicked, this, &Tgswap_fm::swap_bbtClick);
    connect(m_closeButton, &QPushButton::clicked, this, &Tgswap_fm::Button1Click);
    buttonState();
}

bool Tgswap_fm::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate) act();
    return QDialog::event(event);
}

void Tgswap_fm::act() {
    for (ListBox* list : {m_groupList1, m_groupList2})
        fillGroupList(*list, m_store, true, true);
    fillSections(1);
    fillSections(2);
    buttonState();
}

void Tgswap_fm::fillSections(int side) {
    fillSectionList(*sectionList(side), m_store, groupList(side)->selectedRow(),
                    EntrySpacing::Picker, true);
}

int Tgswap_fm::chosen(int side) const {
    return resolveEntry(m_store, groupList(side)->selectedRow(), sectionList(side)->selectedRow());
}

void Tgswap_fm::buttonState() {
    const int a = chosen(1);
    const int b = chosen(2);
    m_swapButton->setEnabled(a >= 0 && b >= 0 && a != b);
}

void Tgswap_fm::group_list1Click() {
    fillSections(1);
    buttonState();
}

void Tgswap_fm::group_list2Click() {
    fillSections(2);
    buttonState();
}

void Tgswap_fm::section_list1Click() {
    buttonState();
}

void Tgswap_fm::section_list2Click() {
    buttonState();
}

void Tgswap_fm::swap_bbtClick() {
    const int a = chosen(1);
    const int b = chosen(2);
    if (a >= 0 && b >= 0 && a != b && m_swap) m_swap(a, b);
    fillSections(1);
    fillSections(2);
    buttonState();
}

void Tgswap_fm::Button1Click() {
    accept();
}

} // namespace pote
