#include "sections/ui/group_set_fm.h"

#include "core/cp932.h"
#include "core/prompter.h"
#include "core/section_store.h"
#include "sections/ui/dialog_style.h"
#include "sections/ui/list_box.h"
#include "sections/ui/picture_button.h"
#include "sections/ui/section_list_fill.h"

#include <QEvent>
#include <QPushButton>

namespace pote {

QString emptyGroupNameWarning() {
    return QStringLiteral("グループ名が入力されてないにゃん");
}

QString groupTableFullNotice() {
    return QStringLiteral("グループは500個までしか作れないにゃ。\r\n"
                          "使ってないグループを解除してから作ってほしいにゃん。");
}

namespace {

QPushButton* button(const QString& name, const QString& text, const QRect& at, QWidget* parent) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(name);
    b->setGeometry(at);
    return b;
}

const QString kPrompt = QStringLiteral("グループ名を入力するにゃん");

} // namespace

Tgroup_set_fm::Tgroup_set_fm(SectionStore& store, Prompter& prompter, QWidget* parent)
    : QDialog(parent), m_store(store), m_prompter(prompter) {
    setObjectName(QStringLiteral("group_set_fm"));
    setFont(dialogFont());
    setWindowTitle(QStringLiteral("グループ設定"));
    setFixedSize(543, 339);

    m_sectionList = new ListBox(QStringLiteral("section_list"), this);
    m_sectionList->setGeometry(16, 32, 217, 197);
    m_groupList = new ListBox(QStringLiteral("group_list"), this);
    m_groupList->setGeometry(312, 32, 217, 193);
    captionLabel(QStringLiteral("lb_section"), QStringLiteral("未登録セクション(&S)"),
                 m_sectionList, {16, 12}, this);
    captionLabel(QStringLiteral("lb_group"), QStringLiteral("グループ(&G)"), m_groupList, {312, 12},
                 this);

    m_setButton =
        new PictureButton(QStringLiteral("set_bbt"), dialogIcon(QStringLiteral("register")),
                          QStringLiteral("登録(&V)"), this);
    m_setButton->setGeometry(248, 52, 48, 54);

    m_newButton =
        button(QStringLiteral("new_bt"), QStringLiteral("新規作成(&N)"), {312, 236, 105, 25}, this);
    m_renameButton = button(QStringLiteral("name_ch_bt"), QStringLiteral("名前変更(&R)"),
                            {424, 236, 105, 25}, this);
    m_deleteButton = button(QStringLiteral("delete_bt"), QStringLiteral("グループ解除(&F)"),
                            {312, 268, 105, 25}, this);
    m_closeButton =
        button(QStringLiteral("Button1"), QStringLiteral("閉じる(&C)"), {460, 308, 75, 25}, this);

    connect(m_groupList, &ListBox::userSelected, this, &Tgroup_set_fm::group_listClick);
    connect(m_sectionList, &ListBox::userSelected, this, &Tgroup_set_fm::section_listClick);
    connect(m_setButton, &QPushButton::clicked, this, &Tgroup_set_fm::set_bbtClick);
    connect(m_newButton, &QPushButton::clicked, this, &Tgroup_set_fm::new_btClick);
    connect(m_renameButton, &QPushButton::clicked, this, &Tgroup_set_fm::name_ch_btClick);
    connect(m_deleteButton, &QPushButton::clicked, this, &Tgroup_set_fm::delete_btClick);
    connect(m_closeButton, &QPushButton::clicked, this, &Tgroup_set_fm::Button1Click);
    buttonState();
}

bool Tgroup_set_fm::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate) act();
    return QDialog::event(event);
}

void Tgroup_set_fm::act() {
    fillSections();
    fillGroups();
    buttonState();
}

void Tgroup_set_fm::fillSections() {
    fillSectionList(*m_sectionList, m_store, 0, EntrySpacing::Unassigned, false);
}

void Tgroup_set_fm::fillGroups() {
    fillGroupList(*m_groupList, m_store, false, false);
}

void Tgroup_set_fm::buttonState() {
    const bool group = m_groupList->selectedRow() >= 0;
    const bool section = m_sectionList->selectedRow() >= 0;
    m_renameButton->setEnabled(group);
    m_deleteButton->setEnabled(group);
    m_setButton->setEnabled(group && section);
}

void Tgroup_set_fm::group_listClick() {
    buttonState();
}

void Tgroup_set_fm::section_listClick() {
    buttonState();
}

void Tgroup_set_fm::changed() {
    m_store.setModified(true);
}

std::optional<QByteArray> Tgroup_set_fm::askName(const QString& caption, const QString& value) {
    const std::optional<QString> name = m_prompter.inputText(caption, kPrompt, value);
    if (!name) return std::nullopt;
    if (name->isEmpty()) {
        m_prompter.message(MessageKind::Warning, Answer::Yes, emptyGroupNameWarning());
        return std::nullopt;
    }
    return cp932::encode(*name);
}

void Tgroup_set_fm::new_btClick() {
    if (m_store.groupCount() >= SectionStore::kMaxGroups) {
        m_prompter.message(MessageKind::Warning, Answer::Yes, groupTableFullNotice());
        return;
    }
    const std::optional<QByteArray> name = askName(QStringLiteral("新規グループを作成"), QString());
    if (!name) return;
    m_store.addGroup(*name);
    fillGroups();
    changed();
    buttonState();
}

void Tgroup_set_fm::name_ch_btClick() {
    const int group = m_groupList->selectedRow() + 1;
    if (group < 1 || group > m_store.groupCount()) return;
    const std::optional<QByteArray> name =
        askName(QStringLiteral("グループの名前変更"), cp932::decode(m_store.groupName(group)));
    if (!name) return;
    m_store.setGroupName(group, *name);
    fillGroups();
    changed();
    buttonState();
}

void Tgroup_set_fm::delete_btClick() {
    const int group = m_groupList->selectedRow() + 1;
    if (!m_store.dissolveGroup(group)) return;
    fillSections();
    fillGroups();
    changed();
    buttonState();
}

void Tgroup_set_fm::set_bbtClick() {
    const int group = m_groupList->selectedRow() + 1;
    const int position = resolveEntry(m_store, 0, m_sectionList->selectedRow());
    if (group < 1 || group > m_store.groupCount() || position < 0) return;
    m_store.section(position).group = group;
    changed();
    fillSections();
    buttonState();
}

void Tgroup_set_fm::Button1Click() {
    accept();
}

} // namespace pote
