// Exchanging two section numbers through the swap dialog.

#include "sections_fixture.h"

#include "editing/ui/edit_pane.h"
#include "sections/ui/gswap_fm.h"

#include <QPointer>
#include <QPushButton>

namespace pote::test {
namespace {

class SwapDialog : public SectionsTest {
protected:
    // Seven sections; 2 in group A, 7 in group B.
    void SetUp() override {
        SectionsTest::SetUp();
        fill(7);
        store().addGroup("A");
        store().addGroup("B");
        store().section(1).group = 1;
        store().section(6).group = 2;
        window->tool_state_refresh();
    }

    Tgswap_fm* open() {
        window->trigger(QStringLiteral("nx_sect_swap"));
        return dialog<Tgswap_fm>();
    }

    // Picks group entry `group` and section entry `row` on one side, as clicks would.
    static void pick(Tgswap_fm* d, int side, int group, int row) {
        d->groupList(side)->setCurrentRow(group);
        d->sectionList(side)->setCurrentRow(row);
    }

    static bool swapEnabled(Tgswap_fm* d) {
        return d->findChild<QPushButton*>(QStringLiteral("swap_bbt"))->isEnabled();
    }
};

TEST_F(SwapDialog, OpensOnTheDefaultGroupWithTheSwapOffForTheSameSection) {
    Tgswap_fm* d = open();
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->windowTitle(), QStringLiteral("セクションナンバーの交換"));
    for (int side : {1, 2}) {
        EXPECT_EQ(entries(d->groupList(side)), (QStringList{u"デフォルトセクション"_qs, "A", "B"}));
        EXPECT_EQ(d->groupList(side)->selectedRow(), 0);
        EXPECT_EQ(entries(d->sectionList(side)),
                  (QStringList{"No.001   s1", "No.003   s3", "No.004   s4", "No.005   s5",
                               "No.006   s6"}));
        EXPECT_EQ(d->sectionList(side)->selectedRow(), 0);
    }
    EXPECT_FALSE(swapEnabled(d)) << "both sides stand on section 1";
    d->sectionList(2)->setCurrentRow(1);
    EXPECT_TRUE(swapEnabled(d));
    d->sectionList(1)->setCurrentRow(1);
    EXPECT_FALSE(swapEnabled(d));
}

TEST_F(SwapDialog, SwappingAcrossGroupsLeavesGroupsWithTheNumbersAndThePaneAlone) {
    QTextCursor caret = window->pane()->textCursor();
    caret.setPosition(1);
    window->pane()->setTextCursor(caret);
    Tgswap_fm* d = open();
    pick(d, 1, 1, 0); // section 2 in A
    pick(d, 2, 2, 0); // section 7 in B
    ASSERT_TRUE(swapEnabled(d));
    d->swap_bbtClick();

    EXPECT_EQ(store().section(1).name, "s7");
    EXPECT_EQ(store().section(1).text, "t7");
    EXPECT_EQ(store().section(1).group, 1);
    EXPECT_EQ(store().section(6).name, "s2");
    EXPECT_EQ(store().section(6).group, 2);
    EXPECT_EQ(store().reserved(1).r1, 101u);
    EXPECT_EQ(store().reserved(6).r3, 306u);
    EXPECT_TRUE(store().isModified());
    EXPECT_EQ(paneText(), QStringLiteral("t1"));
    EXPECT_EQ(window->pane()->textCursor().position(), 1) << "the pane was not reloaded";

    // Both lists show the exchanged names at the same places, first entries selected.
    EXPECT_EQ(entries(d->sectionList(1)), QStringList{"No.002   s7"});
    EXPECT_EQ(entries(d->sectionList(2)), QStringList{"No.007   s2"});
    EXPECT_EQ(d->groupList(1)->selectedRow(), 1);
    EXPECT_EQ(d->groupList(2)->selectedRow(), 2);
    EXPECT_EQ(d->sectionList(1)->selectedRow(), 0);
    EXPECT_EQ(d->sectionList(2)->selectedRow(), 0);
}

TEST_F(SwapDialog, SwappingTheCurrentSectionCommitsAndReloadsThePane) {
    switchTo(3);
    typeInPane(QStringLiteral("新しい"));
    Tgswap_fm* d = open();
    pick(d, 1, 0, 2); // section 4
    pick(d, 2, 0, 0); // section 1
    d->swap_bbtClick();
    EXPECT_EQ(store().section(0).text, cp932::encode(u"新しいt4"))
        << "the pane was committed first";
    EXPECT_EQ(store().section(3).text, "t1");
    EXPECT_EQ(store().current, 3);
    EXPECT_EQ(paneText(), QStringLiteral("t1"));
    EXPECT_EQ(nameShown(), QStringLiteral("s1"));
    EXPECT_EQ(numberShown(), QStringLiteral("No.4"));
    EXPECT_EQ(entries(d->sectionList(1)).at(2), QStringLiteral("No.004   s1"));
}

TEST_F(SwapDialog, AnEmptyGroupLeavesTheSwapOff) {
    store().addGroup(cp932::encode(u"空"));
    Tgswap_fm* d = open();
    d->groupList(2)->setCurrentRow(3);
    EXPECT_EQ(d->sectionList(2)->count(), 0);
    EXPECT_FALSE(swapEnabled(d));
    d->swap_bbtClick();
    EXPECT_FALSE(store().isModified());
}

TEST_F(SwapDialog, CloseButtonClosesAndTheDialogGoesAway) {
    Tgswap_fm* d = open();
    QPointer<Tgswap_fm> watch(d);
    d->findChild<QPushButton*>(QStringLiteral("Button1"))->click();
    EXPECT_FALSE(d->isVisible());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(watch.isNull());
}

} // namespace
} // namespace pote::test
