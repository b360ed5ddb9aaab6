#pragma once
// The section picker `Tselect_fm` ("セクション選択"): a group, then a section of that group;
// choosing moves the editor there. Created once with the main window and shown again for each
// use; every activation rebuilds the lists from the store.

#include <QDialog>

#include <functional>

class QPushButton;

namespace pote {

class ListBox;
class SectionStore;

class Tselect_fm : public QDialog {
    Q_OBJECT
public:
    // switchTo moves the editor to a position other than the current one.
    using SwitchTo = std::function<void(int position)>;
    // Where the picker's top-left corner goes on each activation.
    using Placement = std::function<QPoint()>;

    Tselect_fm(const SectionStore& store, SwitchTo switchTo, QWidget* parent);

    void setPlacement(Placement placement) { m_placement = std::move(placement); }
    // SclickMove: hovering selects and a single press chooses.
    void setSingleClickMove(bool on) { m_singleClickMove = on; }
    bool singleClickMove() const { return m_singleClickMove; }

    // Handlers, public so that the window's tests can drive them as the controls do.
    void act();
    void group_listClick();
    void set_btClick();
    void section_listDblClick();
    void section_listMouseMove(const QPoint& at);
    void section_listMouseDown(const QPoint& at);
    void end_btClick();

    ListBox* groupList() const { return m_groupList; }
    ListBox* sectionList() const { return m_sectionList; }

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    int selectedGroup() const;
    void sizeFor(int group);
    void fillSections();
    void choose();

    const SectionStore& m_store;
    SwitchTo m_switchTo;
    Placement m_placement;
    bool m_singleClickMove = false;

    ListBox* m_groupList = nullptr;
    ListBox* m_sectionList = nullptr;
    QPushButton* m_setButton = nullptr;
    QPushButton* m_endButton = nullptr;
};

} // namespace pote
