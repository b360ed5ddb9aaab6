// Appending and deleting sections from the window, and the section menu's states.

#include "sections_fixture.h"

#include "editing/ui/edit_pane.h"
#include "editing/ui/pane_undo.h"

#include <QAction>
#include <QFontMetrics>
#include <QImage>
#include <QMenu>

namespace pote::test {
namespace {

using SectionOperations = SectionsTest;

TEST_F(SectionOperations, TheFiveHundredthSectionIsTheLast) {
    fill(499);
    ASSERT_TRUE(enabled("sp_add"));
    window->trigger(QStringLiteral("sp_add"));
    EXPECT_EQ(store().count(), 500);
    EXPECT_EQ(store().current, 499);
    EXPECT_EQ(numberShown(), QStringLiteral("No.500"));
    EXPECT_EQ(nameShown(), QString());
    EXPECT_EQ(paneText(), QString());
    EXPECT_TRUE(store().isModified());
    EXPECT_FALSE(enabled("sp_add"));
    emit window->menu(QStringLiteral("nx_section"))->aboutToShow();
    EXPECT_FALSE(enabled("sect_add"));

    // Even when something reaches the command, append refuses by itself.
    window->action(QStringLiteral("sect_add"))->setEnabled(true);
    window->action(QStringLiteral("sect_add"))->trigger();
    EXPECT_EQ(store().count(), 500);
    EXPECT_EQ(store().current, 499);
}

TEST_F(SectionOperations, EveryNumberFitsItsBoxWhole) {
    fill(500);
    auto* view = window->findChild<QLabel*>(QStringLiteral("secno_view"));
    window->show();
    const QRect room = view->contentsRect().adjusted(qMax(0, view->indent()), 0, 0, 0);
    for (int position : {0, 30, 99, 387, 499}) {
        switchTo(position);
        const QString text = numberShown();
        const QFontMetrics metrics(view->font());
        const int width =
            qMax(metrics.horizontalAdvance(text), metrics.boundingRect(text).right() + 1);
        EXPECT_LE(width, room.width()) << text.toStdString();
    }
    // As drawn: the last columns of the box stay clear of the text's ink.
    ASSERT_EQ(numberShown(), QStringLiteral("No.500"));
    const QImage drawn = view->grab().toImage();
    const QColor paper = drawn.pixelColor(view->contentsRect().topLeft());
    int inkAtTheEdge = 0;
    for (int y = room.top(); y <= room.bottom(); ++y)
        for (int x = room.right() - 1; x <= room.right(); ++x)
            inkAtTheEdge += qAbs(qGray(drawn.pixel(x, y)) - qGray(paper.rgb())) > 64 ? 1 : 0;
    EXPECT_EQ(inkAtTheEdge, 0) << "No.500 runs into the box's edge";

    // The name edit makes room and still ends where the panel's design puts it.
    auto* name = window->findChild<QLineEdit*>(QStringLiteral("sec_name_ed"));
    EXPECT_LT(view->geometry().right(), name->geometry().left());
    EXPECT_EQ(name->geometry().right(), 136 + 289 - 1);
}

TEST_F(SectionOperations, AppendCommitsThePaneAndEndsPlainTextMode) {
    fill(1);
    store().enterPlainTextMode(path(QStringLiteral("メモ.txt")));
    typeInPane(QStringLiteral("書きかけ"));
    window->trigger(QStringLiteral("sect_add"));
    EXPECT_EQ(store().section(0).text, cp932::encode(u"書きかけt1"));
    EXPECT_FALSE(store().plainTextMode());
    EXPECT_TRUE(store().textPath().isEmpty());
    EXPECT_EQ(window->statusPanelText(1), QString());
    EXPECT_EQ(store().count(), 2);
    EXPECT_EQ(store().current, 1);
    EXPECT_EQ(store().section(1).group, 0);
    EXPECT_EQ(numberShown(), QStringLiteral("No.2"));
}

TEST_F(SectionOperations, DeletingTheCurrentMiddleSectionShowsTheNextAtTheSameNumber) {
    fill(5);
    store().addGroup("A");
    store().section(3).group = 1;
    switchTo(2);
    typeInPane(QStringLiteral("消える"));
    window->trigger(QStringLiteral("nx_sect_del_ins"));
    EXPECT_EQ(store().count(), 4);
    EXPECT_EQ(store().current, 2);
    EXPECT_EQ(numberShown(), QStringLiteral("No.3"));
    EXPECT_EQ(paneText(), QStringLiteral("t4"));
    EXPECT_EQ(nameShown(), QStringLiteral("s4"));
    EXPECT_EQ(store().section(2).group, 1) << "the group moves with its section";
    EXPECT_EQ(store().section(3).name, "s5");
    EXPECT_TRUE(store().isModified());
    EXPECT_FALSE(window->pane()->document()->isModified());
    for (int pos = 0; pos < 5; ++pos) {
        SCOPED_TRACE(pos);
        EXPECT_EQ(store().reserved(pos).r1, static_cast<quint32>(100 + pos))
            << "R values stay with positions";
        EXPECT_EQ(store().reserved(pos).r2, static_cast<quint32>(200 + pos));
        EXPECT_EQ(store().reserved(pos).r3, static_cast<quint32>(300 + pos));
    }
    EXPECT_TRUE(store().section(4).text.isNull())
        << "the position that fell out of use is released";
}

TEST_F(SectionOperations, DeletingTheLastMakesTheNewLastCurrent) {
    fill(5);
    switchTo(4);
    window->trigger(QStringLiteral("nx_sect_del_ins"));
    EXPECT_EQ(store().count(), 4);
    EXPECT_EQ(store().current, 3);
    EXPECT_EQ(numberShown(), QStringLiteral("No.4"));
    EXPECT_EQ(paneText(), QStringLiteral("t4"));
}

TEST_F(SectionOperations, DeletingDiscardsTheUndoSnapshot) {
    // The snapshot holds the deleted section's text; undone, it would land in the section
    // that moved up.
    fill(3);
    switchTo(1);
    typeInPane(QStringLiteral("消える"));
    ASSERT_TRUE(window->undo().available());
    window->trigger(QStringLiteral("nx_sect_del_ins"));
    EXPECT_FALSE(window->undo().available());
    EXPECT_FALSE(enabled("sp_undo"));
    // Even when something reaches the command, there is nothing to undo.
    window->action(QStringLiteral("sp_undo"))->setEnabled(true);
    window->action(QStringLiteral("sp_undo"))->trigger();
    EXPECT_EQ(paneText(), QStringLiteral("t3"));
    window->binding().section_commit(store().current);
    EXPECT_EQ(store().section(1).text, "t3");
}

TEST_F(SectionOperations, DeletingMovesTextBuffersWithoutCopying) {
    fill(20);
    std::vector<const char*> buffers;
    for (int pos = 0; pos < 20; ++pos) {
        store().section(pos).text = QByteArray(64 * 1024, static_cast<char>('a' + pos % 26));
        buffers.push_back(store().section(pos).text.constData());
    }
    window->binding().section_load(0);
    window->trigger(QStringLiteral("nx_sect_del_ins"));
    ASSERT_EQ(store().count(), 19);
    for (int pos = 0; pos < 19; ++pos)
        EXPECT_EQ(store().section(pos).text.constData(), buffers[static_cast<size_t>(pos) + 1])
            << pos;
}

TEST_F(SectionOperations, DeletingFromAFullDocumentAllowsAddingAgain) {
    fill(500);
    ASSERT_FALSE(enabled("sp_add"));
    window->trigger(QStringLiteral("nx_sect_del_ins"));
    EXPECT_EQ(store().count(), 499);
    EXPECT_TRUE(enabled("sp_add"));
}

struct MenuRow {
    const char* name;
    int sections;
    bool add, remove, swap;
};

class SectionMenu : public SectionsTest, public testing::WithParamInterface<MenuRow> {};

TEST_P(SectionMenu, FollowsTheSectionCount) {
    fill(GetParam().sections);
    emit window->menu(QStringLiteral("nx_section"))->aboutToShow();
    EXPECT_EQ(enabled("sect_add"), GetParam().add);
    EXPECT_EQ(enabled("nx_sect_dell"), GetParam().remove);
    EXPECT_EQ(enabled("nx_sect_del_ins"), GetParam().remove);
    EXPECT_EQ(enabled("nx_sect_swap"), GetParam().swap);
    EXPECT_TRUE(enabled("nx_group_set"));
}

INSTANTIATE_TEST_SUITE_P(Counts, SectionMenu,
                         testing::Values(MenuRow{"OneSection", 1, true, false, false},
                                         MenuRow{"TwoSections", 2, true, true, true},
                                         MenuRow{"FiveHundred", 500, false, true, true}),
                         [](const testing::TestParamInfo<MenuRow>& row) { return row.param.name; });

TEST_F(SectionOperations, TheLastSectionCannotBeDeleted) {
    fill(1);
    window->action(QStringLiteral("nx_sect_del_ins"))->setEnabled(true);
    window->action(QStringLiteral("nx_sect_del_ins"))->trigger();
    EXPECT_EQ(store().count(), 1);
    EXPECT_EQ(paneText(), QStringLiteral("t1"));
    EXPECT_FALSE(store().isModified());
}

} // namespace
} // namespace pote::test
