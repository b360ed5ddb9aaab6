// The group settings dialog: new, rename, dissolve and register, and groups kept in the file.

#include "sections_fixture.h"

#include "app/ui/document_commands.h"
#include "sections/ui/group_set_fm.h"
#include "sections/ui/select_fm.h"

#include <QPushButton>

namespace pote::test {
namespace {

const QString kPrompt = QStringLiteral("グループ名を入力するにゃん");

class GroupSettings : public SectionsTest {
protected:
    Tgroup_set_fm* open() {
        window->trigger(QStringLiteral("nx_group_set"));
        return dialog<Tgroup_set_fm>();
    }

    static bool on(Tgroup_set_fm* d, const char* button) {
        return d->findChild<QAbstractButton*>(QString::fromLatin1(button))->isEnabled();
    }

    // Creates groups through the dialog's "新規作成" button.
    void create(Tgroup_set_fm* d, std::initializer_list<const char16_t*> names) {
        for (const char16_t* name : names) {
            prompter->answerText(QString::fromUtf16(name));
            d->new_btClick();
        }
    }

    void registerSection(Tgroup_set_fm* d, int unassignedRow, int groupRow) {
        d->sectionList()->setCurrentRow(unassignedRow);
        d->groupList()->setCurrentRow(groupRow);
        d->set_bbtClick();
    }
};

TEST_F(GroupSettings, ANewDocumentListsEverySectionAndOffersOnlyNewAndClose) {
    fill(3);
    Tgroup_set_fm* d = open();
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->windowTitle(), QStringLiteral("グループ設定"));
    EXPECT_EQ(entries(d->sectionList()),
              (QStringList{"No.001    s1", "No.002    s2", "No.003    s3"}));
    EXPECT_EQ(d->groupList()->count(), 0);
    EXPECT_TRUE(on(d, "new_bt"));
    EXPECT_TRUE(on(d, "Button1"));
    EXPECT_FALSE(on(d, "name_ch_bt"));
    EXPECT_FALSE(on(d, "delete_bt"));
    EXPECT_FALSE(on(d, "set_bbt"));
    d->sectionList()->setCurrentRow(1);
    EXPECT_FALSE(on(d, "set_bbt")) << "a section alone is not enough";
}

TEST_F(GroupSettings, NewGroupAsksForItsName) {
    fill(2);
    Tgroup_set_fm* d = open();
    prompter->answerText(QStringLiteral("本編"));
    d->new_btClick();
    ASSERT_EQ(prompter->asked().size(), 1u);
    EXPECT_EQ(prompter->last().type, Asked::Type::Input);
    EXPECT_EQ(prompter->last().caption, QStringLiteral("新規グループを作成"));
    EXPECT_EQ(prompter->last().text, kPrompt);
    EXPECT_EQ(prompter->last().value, QString());
    ASSERT_EQ(store().groupCount(), 1);
    EXPECT_EQ(store().groupName(1), cp932::encode(u"本編"));
    EXPECT_EQ(entries(d->groupList()), QStringList{u"本編"_qs});
    EXPECT_TRUE(store().isModified());
}

struct EmptyNameRow {
    const char* name;
    bool rename;
    std::optional<QString> typed;
};

class EmptyOrCancelled : public GroupSettings, public testing::WithParamInterface<EmptyNameRow> {};

TEST_P(EmptyOrCancelled, LeavesTheGroupsAsTheyWere) {
    fill(2);
    store().addGroup(cp932::encode(u"元の名前"));
    Tgroup_set_fm* d = open();
    if (GetParam().rename) d->groupList()->setCurrentRow(0);
    prompter->answerText(GetParam().typed);
    if (GetParam().typed) prompter->answer(Answer::Yes);
    GetParam().rename ? d->name_ch_btClick() : d->new_btClick();

    EXPECT_EQ(store().groupCount(), 1);
    EXPECT_EQ(store().groupName(1), cp932::encode(u"元の名前"));
    EXPECT_FALSE(store().isModified());
    if (GetParam().typed) {
        ASSERT_EQ(prompter->asked().size(), 2u);
        EXPECT_EQ(prompter->last().type, Asked::Type::Message);
        EXPECT_EQ(prompter->last().kind, MessageKind::Warning);
        EXPECT_EQ(prompter->last().buttons, Answers(Answer::Yes));
        EXPECT_EQ(prompter->last().text, QStringLiteral("グループ名が入力されてないにゃん"));
    } else {
        EXPECT_EQ(prompter->asked().size(), 1u);
    }
    EXPECT_TRUE(prompter->allAnswered());
}

INSTANTIATE_TEST_SUITE_P(Cases, EmptyOrCancelled,
                         testing::Values(EmptyNameRow{"NewEmpty", false, QString()},
                                         EmptyNameRow{"NewCancelled", false, std::nullopt},
                                         EmptyNameRow{"RenameEmpty", true, QString()},
                                         EmptyNameRow{"RenameCancelled", true, std::nullopt}),
                         [](const testing::TestParamInfo<EmptyNameRow>& row) {
                             return row.param.name;
                         });

TEST_F(GroupSettings, RenameOffersTheCurrentName) {
    fill(1);
    store().addGroup("A");
    store().addGroup(cp932::encode(u"旧"));
    Tgroup_set_fm* d = open();
    d->groupList()->setCurrentRow(1);
    EXPECT_TRUE(on(d, "name_ch_bt"));
    prompter->answerText(QStringLiteral("新"));
    d->name_ch_btClick();
    EXPECT_EQ(prompter->last().caption, QStringLiteral("グループの名前変更"));
    EXPECT_EQ(prompter->last().text, kPrompt);
    EXPECT_EQ(prompter->last().value, QStringLiteral("旧"));
    EXPECT_EQ(store().groupName(2), cp932::encode(u"新"));
    EXPECT_EQ(entries(d->groupList()), (QStringList{"A", u"新"_qs}));
    EXPECT_TRUE(store().isModified());
}

TEST_F(GroupSettings, RegisteringMovesASectionIntoTheGroupAndThePickerFollows) {
    fill(4);
    Tgroup_set_fm* d = open();
    create(d, {u"A", u"B"});
    d->sectionList()->setCurrentRow(2);
    d->groupList()->setCurrentRow(1);
    EXPECT_TRUE(on(d, "set_bbt"));
    d->set_bbtClick();
    EXPECT_EQ(store().section(2).group, 2);
    EXPECT_EQ(entries(d->sectionList()),
              (QStringList{"No.001    s1", "No.002    s2", "No.004    s4"}));
    EXPECT_EQ(d->sectionList()->selectedRow(), -1);
    EXPECT_EQ(d->groupList()->selectedRow(), 1) << "the group stays selected for the next one";
    EXPECT_FALSE(on(d, "set_bbt"));
    d->Button1Click();

    auto* picker = window->findChild<Tselect_fm*>();
    picker->act();
    picker->groupList()->setCurrentRow(2);
    EXPECT_EQ(entries(picker->sectionList()), QStringList{"No.003   s3"});
}

TEST_F(GroupSettings, DissolvingAGroupFreesItsSectionsAndRenumbersTheLaterOnes) {
    fill(5);
    Tgroup_set_fm* d = open();
    create(d, {u"A", u"B"});
    registerSection(d, 0, 0); // s1 -> A
    registerSection(d, 1, 1); // s3 -> B
    registerSection(d, 0, 0); // s2 -> A
    ASSERT_EQ(entries(d->sectionList()), (QStringList{"No.004    s4", "No.005    s5"}));

    d->groupList()->setCurrentRow(0);
    d->delete_btClick();
    EXPECT_EQ(store().groupCount(), 1);
    EXPECT_EQ(store().groupName(1), "B");
    EXPECT_EQ(store().section(2).group, 1) << "B's section follows B's new number";
    EXPECT_EQ(store().section(0).group, 0);
    EXPECT_EQ(entries(d->sectionList()),
              (QStringList{"No.001    s1", "No.002    s2", "No.004    s4", "No.005    s5"}));
    EXPECT_EQ(entries(d->groupList()), QStringList{"B"});
    EXPECT_EQ(d->groupList()->selectedRow(), -1);
    EXPECT_EQ(d->sectionList()->selectedRow(), -1);
    EXPECT_FALSE(on(d, "delete_bt"));
}

TEST_F(GroupSettings, GroupsOfTheSameNameStayApart) {
    fill(2);
    Tgroup_set_fm* d = open();
    create(d, {u"同じ", u"同じ"});
    registerSection(d, 1, 1); // s2 -> the second
    d->groupList()->setCurrentRow(0);
    d->delete_btClick();
    EXPECT_EQ(store().groupCount(), 1);
    EXPECT_EQ(store().section(1).group, 1);
    EXPECT_EQ(store().section(0).group, 0);
}

TEST_F(GroupSettings, AFullGroupTableRefusesBeforeAskingForAName) {
    fill(1);
    for (int g = 0; g < SectionStore::kMaxGroups; ++g)
        store().addGroup("g" + QByteArray::number(g + 1));
    Tgroup_set_fm* d = open();
    prompter->answer(Answer::Yes);
    d->new_btClick();
    ASSERT_EQ(prompter->asked().size(), 1u);
    EXPECT_EQ(prompter->last().type, Asked::Type::Message);
    EXPECT_EQ(prompter->last().kind, MessageKind::Warning);
    EXPECT_EQ(prompter->last().text, groupTableFullNotice());
    EXPECT_TRUE(prompter->last().text.contains(QStringLiteral("にゃ")));
    EXPECT_EQ(store().groupCount(), SectionStore::kMaxGroups);
    EXPECT_FALSE(store().isModified());
}

TEST_F(GroupSettings, GroupsAreWrittenAndReadBack) {
    fill(4);
    Tgroup_set_fm* d = open();
    create(d, {u"本編", u"資料"});
    registerSection(d, 3, 1); // s4 -> 資料
    registerSection(d, 1, 0); // s2 -> 本編
    d->Button1Click();

    const QString file = path(QStringLiteral("グループ入り.ptm"));
    ASSERT_TRUE(window->controllers().documents().document_write(file));
    window->controllers().documents().document_reset();
    ASSERT_EQ(store().groupCount(), 0);
    ASSERT_TRUE(window->controllers().documents().document_read(file));

    ASSERT_EQ(store().groupCount(), 2);
    EXPECT_EQ(store().groupName(1), cp932::encode(u"本編"));
    EXPECT_EQ(store().groupName(2), cp932::encode(u"資料"));
    const std::vector<int> groups = {0, 1, 0, 2};
    for (int pos = 0; pos < 4; ++pos)
        EXPECT_EQ(store().section(pos).group, groups[static_cast<size_t>(pos)]) << pos;

    d = open();
    EXPECT_EQ(entries(d->sectionList()), (QStringList{"No.001    s1", "No.003    s3"}));
    EXPECT_EQ(entries(d->groupList()), (QStringList{u"本編"_qs, u"資料"_qs}));
}

} // namespace
} // namespace pote::test
