// The editing commands through the window: the undo snapshot, the clipboard, delete, the
// enabling of the items that depend on the selection, blank-line cut and shift right.

#include "gui_fixture.h"

#include "app/ui/section_binding.h"
#include "core/cp932.h"
#include "core/mascot_reactions.h"
#include "editing/ui/edit_pane.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QMimeData>
#include <QTest>

namespace pote::test {
namespace {

class Editing : public WindowTest {
protected:
    void load(const QString& text) {
        store().section(store().current).text = cp932::encodeFromPane(text);
        window->binding().section_load(store().current);
    }
};

TEST_F(Editing, UndoTwiceGivesBackTheTextBeforeTheFirstUndo) {
    typeInPane(QStringLiteral("abc"));
    window->trigger(QStringLiteral("nx_edit_undo"));
    EXPECT_EQ(paneText(), QStringLiteral("ab"));
    window->trigger(QStringLiteral("sp_undo"));
    EXPECT_EQ(paneText(), QStringLiteral("abc"));
    window->trigger(QStringLiteral("pop_edit_undo"));
    EXPECT_EQ(paneText(), QStringLiteral("ab"));
    EXPECT_TRUE(enabled("sp_undo")) << "the snapshot stays available";
}

TEST_F(Editing, UndoRestoresTheSelectionToo) {
    load(QStringLiteral("hello"));
    select(1, 3);
    window->trigger(QStringLiteral("nx_ed_del"));
    EXPECT_EQ(paneText(), QStringLiteral("hlo"));
    window->trigger(QStringLiteral("nx_edit_undo"));
    EXPECT_EQ(paneText(), QStringLiteral("hello"));
    EXPECT_EQ(pane()->textCursor().selectedText(), QStringLiteral("el"));
}

TEST_F(Editing, UndoMarksTheDocumentModified) {
    typeInPane(QStringLiteral("ab"));
    store().setModified(false);
    window->trigger(QStringLiteral("nx_edit_undo"));
    EXPECT_TRUE(store().isModified());
}

TEST_F(Editing, MovingToAnotherSectionDiscardsTheSnapshot) {
    store().appendEmpty();
    typeInPane(QStringLiteral("abc"));
    ASSERT_TRUE(enabled("sp_undo"));
    window->binding().section_switch(0, 1);
    EXPECT_FALSE(enabled("sp_undo"));
    window->tool_state_refresh();
    EXPECT_FALSE(enabled("nx_edit_undo"));
    EXPECT_FALSE(enabled("pop_edit_undo"));
}

TEST_F(Editing, ANewDocumentDiscardsTheSnapshot) {
    typeInPane(QStringLiteral("abc"));
    prompter->answer(Answer::No);
    window->trigger(QStringLiteral("nx_new_paper"));
    EXPECT_FALSE(enabled("sp_undo"));
}

TEST_F(Editing, ASnapshotKeptAcrossALoadStillUndoes) {
    // Commands that load a section discard the snapshot first; a load that does not still
    // leaves a snapshot that undoes.
    store().appendEmpty();
    store().section(1).text = cp932::encode(u"次のセクション");
    typeInPane(QStringLiteral("abc"));
    store().current = 1;
    window->binding().section_load(1);
    window->trigger(QStringLiteral("nx_edit_undo"));
    EXPECT_EQ(paneText(), QStringLiteral("ab"));
    window->trigger(QStringLiteral("nx_edit_undo"));
    EXPECT_EQ(paneText(), QStringLiteral("次のセクション"));
}

TEST_F(Editing, PopupDeleteTakesNoSnapshotEditMenuDeleteDoes) {
    load(QStringLiteral("abcdef"));
    typeInPane(QStringLiteral("X")); // snapshot "abcdef"
    select(1, 3);
    window->trigger(QStringLiteral("pop_eddel"));
    EXPECT_EQ(paneText(), QStringLiteral("Xcdef"));
    window->trigger(QStringLiteral("nx_edit_undo"));
    EXPECT_EQ(paneText(), QStringLiteral("abcdef"))
        << "back to the last snapshot before the delete";

    load(QStringLiteral("abcdef"));
    typeInPane(QStringLiteral("X"));
    select(1, 3);
    window->trigger(QStringLiteral("nx_ed_del"));
    EXPECT_EQ(paneText(), QStringLiteral("Xcdef"));
    window->trigger(QStringLiteral("nx_edit_undo"));
    EXPECT_EQ(paneText(), QStringLiteral("Xabcdef")) << "the Edit menu's delete is undone exactly";
}

TEST_F(Editing, CopyCutAndPaste) {
    load(QStringLiteral("ねこ and dog"));
    select(0, 2);
    window->trigger(QStringLiteral("nx_edcopy"));
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("ねこ"));
    EXPECT_EQ(paneText(), QStringLiteral("ねこ and dog"));
    select(2, 6);
    window->trigger(QStringLiteral("sp_cut"));
    EXPECT_EQ(paneText(), QStringLiteral("ねこ dog"));
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral(" and"));
    window->trigger(QStringLiteral("nx_edit_undo"));
    EXPECT_EQ(paneText(), QStringLiteral("ねこ and dog")) << "cut takes a snapshot";
    select(0, 2);
    window->trigger(QStringLiteral("pop_edpaste"));
    EXPECT_EQ(paneText(), QStringLiteral(" and and dog")) << "paste replaces the selection";
}

TEST_F(Editing, CopiedLinesCarryPlainLineBreaks) {
    load(QStringLiteral("one\ntwo"));
    window->trigger(QStringLiteral("N12"));
    window->trigger(QStringLiteral("nx_edcopy"));
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("one\ntwo"));
    EXPECT_FALSE(QGuiApplication::clipboard()->mimeData()->hasHtml());
}

TEST_F(Editing, PasteExpandsTabsFromThePastedTextsOwnColumns) {
    load(QStringLiteral("xyz"));
    QGuiApplication::clipboard()->setText(QStringLiteral("a\tb\r\n\tあ\tc"));
    window->trigger(QStringLiteral("nx_edpaste"));
    EXPECT_EQ(paneText(), QStringLiteral("a       b\n        あ      cxyz"));
    window->trigger(QStringLiteral("nx_edit_undo"));
    EXPECT_EQ(paneText(), QStringLiteral("xyz"));
}

TEST_F(Editing, PasteTurnsWhatCp932CannotHoldIntoItsCounterpart) {
    QGuiApplication::clipboard()->setText(QString::fromUtf16(u"〜−😺"));
    window->trigger(QStringLiteral("nx_edpaste"));
    EXPECT_EQ(paneText(), QString::fromUtf16(u"～－?"));
}

TEST_F(Editing, SelectionDrivesTheEnabling) {
    QGuiApplication::clipboard()->setText(QStringLiteral("x"));
    load(QStringLiteral("some text"));
    for (const char* name :
         {"sp_cut", "sp_copy", "nx_edcut", "nx_edcopy", "nx_ed_del", "nx_linecut", "pop_edcut",
          "pop_edcopy", "pop_eddel", "pop_linecut", "pop_right_move"})
        EXPECT_FALSE(enabled(name)) << name << " without a selection";
    EXPECT_TRUE(enabled("Insert1"));
    EXPECT_TRUE(enabled("pop_ins"));
    select(0, 4);
    for (const char* name :
         {"sp_cut", "sp_copy", "nx_edcut", "nx_edcopy", "nx_ed_del", "nx_linecut", "pop_edcut",
          "pop_edcopy", "pop_eddel", "pop_linecut", "pop_right_move"})
        EXPECT_TRUE(enabled(name)) << name << " with a selection";
    EXPECT_FALSE(enabled("Insert1"));
    EXPECT_FALSE(enabled("pop_ins"));
    EXPECT_TRUE(enabled("N12"));
    EXPECT_TRUE(enabled("SelectAll1"));
}

TEST_F(Editing, PasteFollowsTheClipboard) {
    QGuiApplication::clipboard()->clear();
    EXPECT_FALSE(enabled("sp_paste"));
    QGuiApplication::clipboard()->setText(QStringLiteral("x"));
    EXPECT_TRUE(enabled("sp_paste"));
    EXPECT_TRUE(enabled("nx_edpaste"));
    EXPECT_TRUE(enabled("pop_edpaste"));
}

TEST_F(Editing, CaretMovesWakeAnIdleCatOnly) {
    load(QStringLiteral("abc"));
    window->mascotView()->mascot_react(ReactionIdle);
    select(1, 1);
    EXPECT_EQ(window->mascotView()->currentReaction(), ReactionCaretMoved);
    window->mascotView()->mascot_react(ReactionExercise);
    select(2, 2);
    EXPECT_EQ(window->mascotView()->currentReaction(), ReactionExercise)
        << "a running reaction is not interrupted";
}

TEST_F(Editing, BlankLineCutOfTheSelection) {
    load(QStringLiteral("keep\n\na\n\n  \n  b\n\nend"));
    select(5, 15); // from the empty line to "  b\n"
    window->trigger(QStringLiteral("pop_linecut"));
    EXPECT_EQ(paneText(), QStringLiteral("keep\n\na\n  b\n\nend")) << "only the selection changes";
    window->trigger(QStringLiteral("nx_edit_undo"));
    EXPECT_EQ(paneText(), QStringLiteral("keep\n\na\n\n  \n  b\n\nend"));
}

TEST_F(Editing, ShiftRightIncludesALineTheSelectionEndsAt) {
    load(QStringLiteral("a\nb\nc"));
    select(0, 2); // ends at the start of "b"
    window->trigger(QStringLiteral("pop_right_move"));
    EXPECT_EQ(paneText(), QStringLiteral("    a\n    b\nc"));
    EXPECT_EQ(pane()->textCursor().position(), 0) << "the caret goes to the start of the text";
    EXPECT_FALSE(pane()->textCursor().hasSelection());
    window->trigger(QStringLiteral("nx_edit_undo"));
    EXPECT_EQ(paneText(), QStringLiteral("a\nb\nc"));
}

TEST_F(Editing, ShiftRightOfTheLastEmptyLine) {
    load(QStringLiteral("a\n"));
    window->trigger(QStringLiteral("N12"));
    window->trigger(QStringLiteral("pop_right_move"));
    EXPECT_EQ(paneText(), QStringLiteral("    a\n    "));
}

TEST_F(Editing, ShiftRightWithWrapIndentsEveryDisplayedLine) {
    window->resize(800, 600);
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    pane()->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    const QString paragraph(200, u'猫');
    load(paragraph + QStringLiteral("\nlast"));
    select(0, 1);
    const EditPane::DisplayedLine second = pane()->displayedLineAt(pane()->displayedLineAt(0).next);
    ASSERT_GT(second.start, 0) << "the paragraph must wrap";
    select(0, second.start); // the first two displayed lines
    window->trigger(QStringLiteral("pop_right_move"));
    const QString text = paneText();
    EXPECT_TRUE(text.startsWith(QStringLiteral("    猫")));
    EXPECT_EQ(text.count(QStringLiteral("    ")), 2);
    EXPECT_EQ(text.size(), paragraph.size() + 5 + 8);
    EXPECT_TRUE(text.endsWith(QStringLiteral("\nlast")));
}

TEST_F(Editing, KeyboardPasteGoesThroughTheCommand) {
    window->resize(800, 600);
    window->show();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    pane()->setFocus();
    QGuiApplication::clipboard()->setText(QStringLiteral("\tx"));
    window->tool_state_refresh();
    QTest::keyClick(pane(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(paneText(), QStringLiteral("        x"));
}

} // namespace
} // namespace pote::test
