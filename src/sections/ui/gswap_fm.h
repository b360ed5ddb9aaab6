#pragma once
// The swap dialog `Tgswap_fm` ("セクションナンバーの交換"): a section on the left, one on the
// right, each chosen by group, and "交換" exchanges their names and texts.

#include <QDialog>

#include <functional>

class QPushButton;

namespace pote {

class ListBox;
class PictureButton;
class SectionStore;

class Tgswap_fm : public QDialog {
    Q_OBJECT
public:
    // Exchanges the sections at two different positions.
    using Swap = std::function<void(int a, int b)>;

    Tgswap_fm(const SectionStore& store, Swap swap, QWidget* parent);

    // Handlers, public so that the window's tests can drive them as the controls do.
    void act();
    void group_list1Click();
    void group_list2Click();
    void section_list1Click();
    void section_list2Click();
    void swap_bbtClick();
    void Button1Click();

    ListBox* groupList(int side) const { return side == 1 ? m_groupList1 : m_groupList2; }
    ListBox* sectionList(int side) const { return side == 1 ? m_sectionList1 : m_sectionList2; }

protected:
    bool event(QEvent* event) override;

private:
    // The position the selected entry of one side stands for, or -1.
    int chosen(int side) const;
    void fillSections(int side);
    void buttonState();

    const SectionStore& m_store;
    Swap m_swap;

    ListBox* m_groupList1 = nullptr;
    ListBox* m_sectionList1 = nullptr;
    ListBox* m_groupList2 = nullptr;
    ListBox* m_sectionList2 = nullptr;
    PictureButton* m_swapButton = nullptr;
    QPushButton* m_closeButton = nullptr;
};

} // namespace pote
