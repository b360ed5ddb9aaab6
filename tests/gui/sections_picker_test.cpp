// The section picker: its lists, its size, where it opens and the ways of choosing.

#include "sections_fixture.h"

#include "core/mascot_reactions.h"
#include "editing/ui/edit_pane.h"
#include "sections/ui/select_fm.h"

#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

namespace pote::test {
namespace {

class Picker : public SectionsTest {
protected:
    Tselect_fm* open() {
        auto* button = qobject_cast<QPushButton*>(window->control(QStringLiteral("select_bitbt")));
        button->click();
        Tselect_fm* picker = dialog<Tselect_fm>();
        if (picker) QCoreApplication::processEvents(); // lets the lists lay out their rows
        return picker;
    }

    static QPoint centreOf(Tselect_fm* picker, int row) {
        return picker->sectionList()->rowRect(row).center();
    }

    static void mouse(Tselect_fm* picker, QEvent::Type type, QPoint at) {
        QWidget* viewport = picker->sectionList()->viewport();
        const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
        const bool down = type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick;
        QMouseEvent event(type, at, viewport->mapToGlobal(at), button,
                          down ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(viewport, &event);
    }

    static QRect geometryOf(Tselect_fm* picker, const char* name) {
        return picker->findChild<QWidget*>(QString::fromLatin1(name))->geometry();
    }
};

TEST_F(Picker, ThirtyUngroupedSectionsShowTwentyRowsAndAScrollBar) {
    fill(30);
    Tselect_fm* picker = open();
    ASSERT_NE(picker, nullptr);
    EXPECT_TRUE(picker->isVisible());
    EXPECT_EQ(picker->windowTitle(), QStringLiteral("セクション選択"));
    EXPECT_EQ(entries(picker->groupList()), QStringList{u"デフォルトセクション"_qs});
    EXPECT_EQ(picker->groupList()->selectedRow(), 0);
    ASSERT_EQ(picker->sectionList()->count(), 30);
    EXPECT_EQ(picker->sectionList()->entryText(0), QStringLiteral("No.001   s1"));
    EXPECT_EQ(picker->sectionList()->selectedRow(), 0);

    const int row = picker->sectionList()->itemHeight();
    EXPECT_GE(row, 13);
    const QRect list = geometryOf(picker, "section_list");
    EXPECT_EQ(list, QRect(8, 116, 273, 20 * row + 4));
    EXPECT_EQ(picker->sectionList()->viewport()->height(), 20 * row)
        << "whole rows, no part of a 21st";
    EXPECT_EQ(picker->sectionList()->verticalScrollBar()->maximum(), 10)
        << "twenty rows show, ten scroll";
    const QRect set = geometryOf(picker, "set_bt");
    EXPECT_EQ(set.y(), list.y() + list.height() + 6);
    EXPECT_EQ(picker->height(), set.y() + set.height() + 25 + 4);
    EXPECT_EQ(picker->width(), 289);
    EXPECT_EQ(geometryOf(picker, "end_bt").y(), picker->height() - 25 - 4);
}

TEST_F(Picker, AGroupOfOneAndAnEmptyGroupBothGetOneRow) {
    fill(4);
    store().addGroup("one");
    store().addGroup("none");
    store().section(2).group = 1;
    Tselect_fm* picker = open();
    const int row = picker->sectionList()->itemHeight();
    const int tallest = picker->height();

    picker->groupList()->setCurrentRow(1);
    EXPECT_EQ(entries(picker->sectionList()), QStringList{"No.003   s3"});
    EXPECT_EQ(geometryOf(picker, "section_list").height(), row + 4);
    const int shrunk = picker->height();
    EXPECT_EQ(tallest - shrunk, 2 * row) << "three rows became one";

    picker->groupList()->setCurrentRow(2);
    EXPECT_EQ(picker->sectionList()->count(), 0);
    EXPECT_EQ(picker->sectionList()->selectedRow(), -1);
    EXPECT_EQ(geometryOf(picker, "section_list").height(), row + 4);
    EXPECT_EQ(picker->height(), shrunk);

    picker->set_btClick();
    EXPECT_FALSE(picker->isVisible()) << "choosing in an empty group only closes";
    EXPECT_EQ(store().current, 0);
}

TEST_F(Picker, OpensOnTheGroupOfTheCurrentSection) {
    fill(6);
    store().addGroup("A");
    store().addGroup("B");
    for (int pos : {1, 3, 5})
        store().section(pos).group = 2;
    switchTo(3);
    Tselect_fm* picker = open();
    EXPECT_EQ(entries(picker->groupList()), (QStringList{u"デフォルトセクション"_qs, "A", "B"}));
    EXPECT_EQ(picker->groupList()->selectedRow(), 2);
    EXPECT_EQ(entries(picker->sectionList()),
              (QStringList{"No.002   s2", "No.004   s4", "No.006   s6"}));
}

TEST_F(Picker, TheChooseButtonMovesToTheSelectedSection) {
    fill(5);
    store().addGroup("A");
    store().section(1).group = 1;
    store().section(4).group = 1;
    typeInPane(QStringLiteral("追記"));
    Tselect_fm* picker = open();
    picker->groupList()->setCurrentRow(1);
    picker->sectionList()->setCurrentRow(1);
    picker->set_btClick();
    EXPECT_FALSE(picker->isVisible());
    EXPECT_EQ(store().current, 4);
    EXPECT_EQ(paneText(), QStringLiteral("t5"));
    EXPECT_EQ(numberShown(), QStringLiteral("No.5"));
    EXPECT_EQ(store().section(0).text, cp932::encode(u"追記t1"));
    EXPECT_EQ(window->mascotView()->currentReaction(), ReactionSectionSwitched);
}

TEST_F(Picker, ChoosingTheCurrentSectionClosesWithoutReloading) {
    fill(3);
    typeInPane(QStringLiteral("未保存"));
    Tselect_fm* picker = open();
    picker->sectionList()->setCurrentRow(0);
    picker->set_btClick();
    EXPECT_FALSE(picker->isVisible());
    EXPECT_EQ(paneText(), QStringLiteral("未保存t1"));
    EXPECT_TRUE(window->pane()->document()->isModified()) << "a reload would have reset the pane";
    EXPECT_EQ(store().section(0).text, "t1") << "nothing was committed";
}

TEST_F(Picker, DoubleClickAndEnterChoose) {
    fill(5);
    Tselect_fm* picker = open();
    // What a double click delivers: press, release, double click, release.
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease,
                              QEvent::MouseButtonDblClick, QEvent::MouseButtonRelease})
        mouse(picker, type, centreOf(picker, 2));
    EXPECT_EQ(store().current, 2);
    EXPECT_FALSE(picker->isVisible());

    picker = open();
    picker->sectionList()->setCurrentRow(3);
    QTest::keyClick(picker->sectionList(), Qt::Key_Return);
    EXPECT_EQ(store().current, 3);
    EXPECT_FALSE(picker->isVisible());
}

TEST_F(Picker, WithoutSingleClickModeAClickOnlySelects) {
    fill(5);
    Tselect_fm* picker = open();
    ASSERT_FALSE(picker->singleClickMove());
    mouse(picker, QEvent::MouseMove, centreOf(picker, 3));
    EXPECT_EQ(picker->sectionList()->selectedRow(), 0) << "hovering does nothing";
    QTest::mouseClick(picker->sectionList()->viewport(), Qt::LeftButton, {}, centreOf(picker, 3));
    EXPECT_EQ(picker->sectionList()->selectedRow(), 3);
    EXPECT_TRUE(picker->isVisible());
    EXPECT_EQ(store().current, 0);
}

TEST_F(Picker, InSingleClickModeHoverSelectsAndAPressChooses) {
    fill(5);
    Tselect_fm* picker = open();
    picker->setSingleClickMove(true);
    mouse(picker, QEvent::MouseMove, centreOf(picker, 3));
    EXPECT_EQ(picker->sectionList()->selectedRow(), 3);
    const QWidget* viewport = picker->sectionList()->viewport();
    mouse(picker, QEvent::MouseMove, QPoint(10, viewport->height() + 3));
    EXPECT_EQ(picker->sectionList()->selectedRow(), -1)
        << "below the last entry nothing is selected";
    EXPECT_TRUE(picker->isVisible());

    mouse(picker, QEvent::MouseButtonPress, centreOf(picker, 1));
    EXPECT_FALSE(picker->isVisible());
    EXPECT_EQ(store().current, 1);
    picker->setSingleClickMove(false);
}

TEST_F(Picker, HangsJustBelowTheChooseButton) {
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    Tselect_fm* picker = open();
    const QWidget* button = window->control(QStringLiteral("select_bitbt"));
    const QPoint buttonBottomLeft = button->mapToGlobal(QPoint(0, button->height()));
    const QWidget* panel = window->control(QStringLiteral("select_panel"));
    // Within the window frame's thickness of the button's bottom and the panel's left edge.
    const int frameWidth = window->frameGeometry().width() - window->width();
    const int frameHeight = window->frameGeometry().height() - window->height();
    EXPECT_NEAR(picker->frameGeometry().left(), panel->mapToGlobal(QPoint(0, 0)).x(), frameWidth);
    EXPECT_NEAR(picker->frameGeometry().top(), buttonBottomLeft.y(), frameHeight + 1);
    picker->end_btClick();
    EXPECT_FALSE(picker->isVisible());
}

TEST_F(Picker, EveryOpeningShowsTheStoreAsItIsNow) {
    fill(2);
    Tselect_fm* picker = open();
    picker->end_btClick();
    typeName(QStringLiteral("新しい名前"));
    store().addGroup(cp932::encode(u"章"));
    picker = open();
    EXPECT_EQ(entries(picker->sectionList()),
              (QStringList{u"No.001   新しい名前s1"_qs, "No.002   s2"}));
    EXPECT_EQ(entries(picker->groupList()), (QStringList{u"デフォルトセクション"_qs, u"章"_qs}));
    picker->end_btClick();
}

TEST_F(Picker, IsOffInPlainTextMode) {
    store().enterPlainTextMode({});
    window->tool_state_refresh();
    EXPECT_FALSE(window->control(QStringLiteral("select_bitbt"))->isEnabled());
}

} // namespace
} // namespace pote::test
