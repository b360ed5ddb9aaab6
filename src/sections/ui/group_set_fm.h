#pragma once
// The group settings dialog `Tgroup_set_fm` ("グループ設定"): create, rename and dissolve groups
// and put unassigned sections into them. Every change goes to the store at once and marks the
// document modified.

#include <QByteArray>
#include <QDialog>

#include <optional>

class QPushButton;

namespace pote {

class ListBox;
class PictureButton;
class Prompter;
class SectionStore;

class Tgroup_set_fm : public QDialog {
    Q_OBJECT
public:
    Tgroup_set_fm(SectionStore& store, Prompter& prompter, QWidget* parent);

    // Handlers, public so that the window's tests can drive them as the controls do.
    void act();
    void group_listClick();
    void section_listClick();
    void new_btClick();
    void name_ch_btClick();
    void delete_btClick();
    void set_bbtClick();
    void Button1Click();

    ListBox* sectionList() const { return m_sectionList; }
    ListBox* groupList() const { return m_groupList; }

protected:
    bool event(QEvent* event) override;

private:
    void fillSections();
    void fillGroups();
    void buttonState();
    // The name typed into the input box; nothing when cancelled or left empty (after the warning).
    std::optional<QByteArray> askName(const QString& caption, const QString& value);
    void changed();

    SectionStore& m_store;
    Prompter& m_prompter;

    ListBox* m_sectionList = nullptr;
    ListBox* m_groupList = nullptr;
    PictureButton* m_setButton = nullptr;
    QPushButton* m_newButton = nullptr;
    QPushButton* m_renameButton = nullptr;
    QPushButton* m_deleteButton = nullptr;
    QPushButton* m_closeButton = nullptr;
};

// The warning shown when a group name is left empty.
QString emptyGroupNameWarning();
// The notice shown when the group table is full.
QString groupTableFullNotice();

} // namespace pote
