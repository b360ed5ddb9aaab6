// What happens inside the pane: the status read-out, the Tab key, the keys that take the undo
// snapshot, double-click line selection, web addresses under the pointer, displayed lines with
// word wrap.

#include "gui_fixture.h"

#include "app/ui/section_binding.h"
#include "core/cp932.h"
#include "editing/status_text.h"
#include "editing/ui/edit_pane.h"
#include "editing/ui/notice_bubble.h"
#include "editing/ui/pane_undo.h"

#include <QAbstractTextDocumentLayout>
#include <QAction>
#include <QClipboard>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextDocumentLayout>
#include <QPlainTextEdit>
#include <QTest>
#include <QTextBlock>
#include <QUrl>

#include <type_traits>

namespace pote::test {
namespace {

class Pane : public WindowTest {
protected:
    void load(const QString& text) {
        store().section(0).text = cp932::encodeFromPane(text);
        window->binding().section_load(0);
    }
    void setCaret(int position) {
        QTextCursor cursor = pane()->textCursor();
        cursor.setPosition(position);
        pane()->setTextCursor(cursor);
    }
    // The middle of the character at position, in viewport coordinates.
    QPoint pointAt(int position) {
        QTextCursor before = pane()->textCursor();
        before.setPosition(position);
        QTextCursor after = before;
        after.setPosition(position + 1);
        const QRect a = pane()->cursorRect(before);
        const QRect b = pane()->cursorRect(after);
        return QPoint((a.left() + b.left()) / 2, a.center().y());
    }
    void mouse(QEvent::Type type, const QPoint& at, Qt::MouseButton button = Qt::NoButton) {
        QWidget* viewport = pane()->viewport();
        const Qt::MouseButtons buttons =
            type == QEvent::MouseButtonRelease || type == QEvent::MouseMove
                ? Qt::MouseButtons()
                : Qt::MouseButtons(button);
        QMouseEvent event(type, at, viewport->mapToGlobal(at), button, buttons, Qt::NoModifier);
        QCoreApplication::sendEvent(viewport, &event);
    }
    void showWindow() {
        window->resize(800, 600);
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }
};

struct StatusCase {
    const char* name;
    QString typed;
    QString status;
};

class StatusReadout : public Pane, public testing::WithParamInterface<StatusCase> {};

TEST_P(StatusReadout, ShowsLineColumnInBytesAndTotal) {
    typeInPane(GetParam().typed);
    EXPECT_EQ(window->statusPanelText(0), GetParam().status);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, StatusReadout,
    testing::Values(StatusCase{"EmptyPane", QString(), QStringLiteral("  1行   1桁     (1行)")},
                    StatusCase{"ThreeLetters", QStringLiteral("abc"),
                               QStringLiteral("  1行   4桁     (2行)")},
                    StatusCase{"AfterALineBreak", QStringLiteral("abc\n"),
                               QStringLiteral("  2行   1桁     (2行)")},
                    StatusCase{"AfterOneDoubleByteCharacter", QStringLiteral("あ"),
                               QStringLiteral("  1行   3桁     (2行)")},
                    StatusCase{"SecondLineMixed", QStringLiteral("x\nあa"),
                               QStringLiteral("  2行   4桁     (3行)")}),
    [](const testing::TestParamInfo<StatusCase>& row) { return row.param.name; });

TEST_F(Pane, StatusFollowsTheSelectionsEndNotTheCaret) {
    load(QStringLiteral("ab\ncd"));
    QTextCursor cursor = pane()->textCursor();
    cursor.setPosition(5);
    cursor.setPosition(0, QTextCursor::KeepAnchor);
    pane()->setTextCursor(cursor);
    EXPECT_EQ(window->statusPanelText(0), QStringLiteral("  2行   3桁     (3行)"));
}

TEST_F(Pane, StatusFollowsEditsAboveTheCaret) {
    load(QStringLiteral("a\nb\nc"));
    setCaret(5);
    EXPECT_EQ(window->statusPanelText(0), QStringLiteral("  3行   2桁     (4行)"));
    QTextCursor above(pane()->textCursor().document());
    above.insertText(QStringLiteral("new\n"));
    window->status_update();
    EXPECT_EQ(window->statusPanelText(0), QStringLiteral("  4行   2桁     (5行)"));
    above.setPosition(9);
    above.insertText(QStringLiteral("あ"));
    window->status_update();
    EXPECT_EQ(window->statusPanelText(0), QStringLiteral("  4行   4桁     (5行)"))
        << "an edit in the caret's own line";
}

// The read-out worked out from the text alone, line by line.
QString expectedStatus(const QString& text, int position) {
    const qsizetype lineStart = text.lastIndexOf(u'\n', position - 1) + 1;
    const qint64 line = text.left(position).count(u'\n');
    const qint64 column = cp932::encode(text.mid(lineStart, position - lineStart)).size();
    const qint64 lines = text.count(u'\n') + 1 - (text.endsWith(u'\n') || text.isEmpty() ? 1 : 0);
    return caretStatusText(line, column, lines + 1);
}

TEST_F(Pane, StatusIsRightAcrossEveryLineBoundary) {
    // Lines of different lengths, an empty one, double-byte text, and a last line that ends
    // with a break.
    const QString text = QStringLiteral("abc\nあい\n\nx\nかきくけこ\n");
    load(text);
    const int end = static_cast<int>(text.size());
    for (int p = 0; p <= end; ++p) {
        setCaret(p);
        ASSERT_EQ(window->statusPanelText(0), expectedStatus(text, p)) << "set forward to " << p;
    }
    for (int p = end; p >= 0; --p) {
        setCaret(p);
        ASSERT_EQ(window->statusPanelText(0), expectedStatus(text, p)) << "set back to " << p;
    }
    setCaret(0);
    for (int p = 1; p <= end; ++p) {
        QTest::keyClick(pane(), Qt::Key_Right);
        ASSERT_EQ(pane()->textCursor().position(), p);
        ASSERT_EQ(window->statusPanelText(0), expectedStatus(text, p)) << "right arrow to " << p;
    }
    for (int p = end - 1; p >= 0; --p) {
        QTest::keyClick(pane(), Qt::Key_Left);
        ASSERT_EQ(window->statusPanelText(0), expectedStatus(text, p)) << "left arrow to " << p;
    }
    for (const Qt::Key key : {Qt::Key_Down, Qt::Key_Down, Qt::Key_Down, Qt::Key_Down, Qt::Key_Down,
                              Qt::Key_Up, Qt::Key_Up, Qt::Key_Up, Qt::Key_Up, Qt::Key_Up}) {
        QTest::keyClick(pane(), key);
        const int p = pane()->textCursor().position();
        ASSERT_EQ(window->statusPanelText(0), expectedStatus(text, p)) << "arrow to " << p;
    }
}

// The notice showing beside widget, if any.
NoticeBubble* shownNotice(QWidget* widget) {
    for (NoticeBubble* bubble : widget->findChildren<NoticeBubble*>())
        if (bubble->isVisible()) return bubble;
    return nullptr;
}

TEST_F(Pane, CharactersThatCannotBeStoredBecomeQuestionMarksWithANotice) {
    showWindow();
    typeInPane(QStringLiteral("ねこ〜"));
    EXPECT_EQ(shownNotice(pane()), nullptr) << "nothing lost: a twin keeps its counterpart";

    typeInPane(QStringLiteral("é"));
    EXPECT_EQ(paneText(), QStringLiteral("ねこ～?"));
    NoticeBubble* notice = shownNotice(pane());
    ASSERT_NE(notice, nullptr);
    EXPECT_EQ(notice->text(),
              QStringLiteral("「é」は、保存できない文字だから「?」にしておいたにゃ。"));
    notice->hide();

    // A paste is one edit: one notice naming each character once.
    QGuiApplication::clipboard()->setText(QStringLiteral("한é€é한"));
    window->trigger(QStringLiteral("nx_edpaste"));
    EXPECT_EQ(paneText(), QStringLiteral("ねこ～??????"));
    notice = shownNotice(pane());
    ASSERT_NE(notice, nullptr);
    EXPECT_EQ(notice->text(),
              QStringLiteral("「한」「é」「€」は、保存できない文字だから「?」にしておいたにゃ。"));
    EXPECT_FALSE(notice->isActiveWindow()) << "the notice takes no focus";
    EXPECT_TRUE(pane()->hasFocus());

    // In the name box too.
    auto* name = window->findChild<QLineEdit*>(QStringLiteral("sec_name_ed"));
    name->setFocus();
    typeName(QStringLiteral("€"));
    EXPECT_EQ(name->text(), QStringLiteral("?"));
    notice = shownNotice(name);
    ASSERT_NE(notice, nullptr);
    EXPECT_EQ(notice->text(),
              QStringLiteral("「€」は、保存できない文字だから「?」にしておいたにゃ。"));
}

struct TabCase {
    const char* name;
    QString before;
    QString after;
};

class TabKey : public Pane, public testing::WithParamInterface<TabCase> {};

TEST_P(TabKey, TypesSpacesToTheNextStop) {
    typeInPane(GetParam().before + QStringLiteral("\t"));
    EXPECT_EQ(paneText(), GetParam().after);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TabKey,
    testing::Values(
        TabCase{"Column0", QString(), QString(8, u' ')},
        TabCase{"Column5", QStringLiteral("abcde"), QStringLiteral("abcde   ")},
        TabCase{"Column8", QStringLiteral("abcdefgh"), QStringLiteral("abcdefgh        ")},
        TabCase{"DoubleByteCountsTwo", QStringLiteral("あいう"), QStringLiteral("あいう  ")},
        TabCase{"ColumnRestartsOnTheNextLine", QStringLiteral("abcdefghij\nab"),
                QStringLiteral("abcdefghij\nab      ")}),
    [](const testing::TestParamInfo<TabCase>& row) { return row.param.name; });

TEST_F(Pane, TabReplacesTheSelection) {
    load(QStringLiteral("abXYZ"));
    QTextCursor cursor = pane()->textCursor();
    cursor.setPosition(2);
    cursor.setPosition(5, QTextCursor::KeepAnchor);
    pane()->setTextCursor(cursor);
    typeInPane(QStringLiteral("\t"));
    EXPECT_EQ(paneText(), QStringLiteral("ab") + QString(3, u' '))
        << "column of the selection's end";
}

TEST_F(Pane, ArrowKeysAndShiftTakeNoSnapshot) {
    typeInPane(QStringLiteral("ab")); // the snapshot before 'b' holds "a"
    QTest::keyClick(pane(), Qt::Key_Left);
    window->trigger(QStringLiteral("nx_edit_undo"));
    EXPECT_EQ(paneText(), QStringLiteral("a")) << "the arrow kept the older snapshot";

    load(QString());
    window->undo().clear();
    typeInPane(QStringLiteral("ab"));
    QTest::keyClick(pane(), Qt::Key_Shift);
    window->trigger(QStringLiteral("nx_edit_undo"));
    EXPECT_EQ(paneText(), QStringLiteral("a"))
        << "Shift alone changes no text: the snapshot before 'b' stayed";
}

TEST_F(Pane, AnInputMethodCommitTakesASnapshotFirst) {
    typeInPane(QStringLiteral("a"));
    QInputMethodEvent composing(QStringLiteral("ねこ"), {});
    QCoreApplication::sendEvent(pane(), &composing);
    QInputMethodEvent commit;
    commit.setCommitString(QStringLiteral("猫"));
    QCoreApplication::sendEvent(pane(), &commit);
    EXPECT_EQ(paneText(), QStringLiteral("a猫"));
    window->trigger(QStringLiteral("nx_edit_undo"));
    EXPECT_EQ(paneText(), QStringLiteral("a"));
}

// The undo snapshot and the recovery copy stand on the pane's record of its edits, which a
// whole-text replacement wipes. No caller can hold the pane as an editor whose setPlainText or
// clear would replace the text without the pane knowing.
static_assert(!std::is_convertible_v<EditPane*, QPlainTextEdit*>);
static_assert(!std::is_convertible_v<EditPane*, QAbstractScrollArea*>);

TEST_F(Pane, ALoadKeepsTheSnapshotItWouldWipe) {
    typeInPane(QStringLiteral("ab")); // the snapshot is "a", in the pane's record of edits
    store().appendEmpty();
    store().section(1).text = "other";
    window->binding().section_commit(0);
    store().current = 1;
    window->binding().section_load(1);
    window->trigger(QStringLiteral("nx_edit_undo"));
    EXPECT_EQ(paneText(), QStringLiteral("a"));
}

TEST_F(Pane, ThePanesOwnUndoAndRedoKeysDoNothing) {
    typeInPane(QStringLiteral("ab"));
    window->undo().clear(); // the window's undo command is disabled, the key reaches the pane
    QTest::keyClick(pane(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(paneText(), QStringLiteral("ab"));
    QTest::keyClick(pane(), Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(paneText(), QStringLiteral("ab"));
}

TEST_F(Pane, CtrlZRunsTheProgramsUndo) {
    // The Ctrl key goes down first; were that a snapshot, Ctrl+Z would swap the pane with
    // itself.
    showWindow();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    pane()->setFocus();
    typeInPane(QStringLiteral("abc"));
    QTest::keyClick(pane(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(paneText(), QStringLiteral("ab"));
    QTest::keyClick(pane(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(paneText(), QStringLiteral("abc")) << "undo and redo alternate";
}

TEST_F(Pane, UndoBackToTheSnapshotStillCommitsTheEditedText) {
    typeInPane(QStringLiteral("ab")); // the last snapshot is "a", taken after the first edit
    window->trigger(QStringLiteral("nx_edit_undo"));
    ASSERT_EQ(paneText(), QStringLiteral("a"));
    window->binding().section_commit(0);
    EXPECT_EQ(store().section(0).text, QByteArray("a"))
        << "the pane differs from the loaded text; the commit must not fall back to the stored "
           "bytes";
}

TEST_F(Pane, DoubleClickSelectsTheWholeLineWithItsBreak) {
    showWindow();
    load(QStringLiteral("one\ntwo\nthree"));
    const QPoint onTwo = pointAt(5);
    mouse(QEvent::MouseButtonPress, onTwo, Qt::LeftButton);
    mouse(QEvent::MouseButtonRelease, onTwo, Qt::LeftButton);
    mouse(QEvent::MouseButtonDblClick, onTwo, Qt::LeftButton);
    mouse(QEvent::MouseButtonRelease, onTwo, Qt::LeftButton);
    EXPECT_EQ(pane()->textCursor().selectionStart(), 4);
    EXPECT_EQ(pane()->textCursor().selectionEnd(), 8) << "the line break is part of the selection";
    EXPECT_TRUE(pane()->hasFocus());

    const QPoint onThree = pointAt(10);
    mouse(QEvent::MouseButtonPress, onThree, Qt::LeftButton);
    mouse(QEvent::MouseButtonRelease, onThree, Qt::LeftButton);
    mouse(QEvent::MouseButtonDblClick, onThree, Qt::LeftButton);
    EXPECT_EQ(pane()->textCursor().selectedText(), QStringLiteral("three"))
        << "the last line runs to the end";
}

TEST_F(Pane, AddressUnderThePointerRunsToTheEndOfTheLine) {
    showWindow();
    const QString line = QStringLiteral("see http://a.example/x y http://b");
    load(line + QStringLiteral("\nnext line"));
    mouse(QEvent::MouseMove, pointAt(line.indexOf(u'x')));
    EXPECT_EQ(pane()->hoveredLink(), QStringLiteral("http://a.example/x y http://b"));
    EXPECT_EQ(pane()->viewport()->cursor().shape(), Qt::PointingHandCursor);
    mouse(QEvent::MouseMove, pointAt(line.lastIndexOf(u'b')));
    EXPECT_EQ(pane()->hoveredLink(), QStringLiteral("http://a.example/x y http://b"))
        << "the second address is part of the first";
    mouse(QEvent::MouseMove, pointAt(1));
    EXPECT_EQ(pane()->hoveredLink(), QString()) << "before the address";
    EXPECT_EQ(pane()->viewport()->cursor().shape(), Qt::IBeamCursor);
}

TEST_F(Pane, AddressNeverStartsInsideADoubleByteCharacter) {
    showWindow();
    // ド is 0x83 0x68: its second byte is 'h', followed by "ttp://".
    const QString line = QStringLiteral("ドttp://x");
    ASSERT_EQ(cp932::encode(line).mid(1, 7), QByteArray("http://"));
    load(line);
    mouse(QEvent::MouseMove, pointAt(4));
    EXPECT_EQ(pane()->hoveredLink(), QString());
}

class LinkCatcher : public QObject {
    Q_OBJECT
public:
    QList<QUrl> opened;
public slots:
    void open(const QUrl& url) { opened << url; }
};

TEST_F(Pane, LeftClickOnAnAddressOpensIt) {
    showWindow();
    LinkCatcher catcher;
    QDesktopServices::setUrlHandler(QStringLiteral("http"), &catcher, "open");
    load(QStringLiteral("go http://a.example/"));
    const QPoint onAddress = pointAt(8);
    mouse(QEvent::MouseMove, onAddress);
    mouse(QEvent::MouseButtonPress, onAddress, Qt::RightButton);
    mouse(QEvent::MouseButtonRelease, onAddress, Qt::RightButton);
    EXPECT_TRUE(catcher.opened.isEmpty()) << "only the left button opens";
    mouse(QEvent::MouseButtonPress, onAddress, Qt::LeftButton);
    mouse(QEvent::MouseButtonRelease, onAddress, Qt::LeftButton);
    QDesktopServices::unsetUrlHandler(QStringLiteral("http"));
    ASSERT_EQ(catcher.opened.size(), 1);
    EXPECT_EQ(catcher.opened.first(), QUrl(QStringLiteral("http://a.example/")));
}

// The displayed lines the toolkit itself lays out, block by block: what the counts must match.
qint64 laidOutLines(EditPane* pane) {
    auto* layout = qobject_cast<QPlainTextDocumentLayout*>(pane->document()->documentLayout());
    qint64 lines = 0;
    for (QTextBlock b = pane->document()->firstBlock(); b.isValid(); b = b.next()) {
        layout->ensureBlockLayout(b);
        lines += b.layout()->lineCount();
    }
    return lines;
}

TEST_F(Pane, WithWrapTheTotalCountsEveryDisplayedLineOnceCounted) {
    showWindow();
    QString text;
    for (int i = 0; i < 400; ++i)
        text += QString(i % 5 * 40 + 1, i % 2 ? u'猫' : u'x') + QStringLiteral(" word") + u'\n';
    text += QStringLiteral("end");
    load(text);
    pane()->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    ASSERT_TRUE(QTest::qWaitFor([this] { return pane()->lineCountsExact(); }, 20000));
    QTextCursor end = pane()->textCursor();
    end.movePosition(QTextCursor::End);
    pane()->setTextCursor(end);
    // Read before laying every block out below, which would set the counts itself.
    const EditPane::CaretPosition counted = pane()->caretPosition();
    const qint64 lines = laidOutLines(pane());
    ASSERT_GT(lines, 401) << "the text must wrap for this test";
    EXPECT_EQ(counted.totalLines, lines + 1);
    EXPECT_EQ(counted.line, lines - 1);

    const int narrowViewport = pane()->viewport()->width();
    window->resize(window->width() + 200, window->height());
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return pane()->viewport()->width() > narrowViewport; }, 5000));
    ASSERT_TRUE(QTest::qWaitFor([this] { return pane()->lineCountsExact(); }, 20000));
    const qint64 recounted = pane()->caretPosition().totalLines;
    const qint64 wider = laidOutLines(pane());
    EXPECT_LT(wider, lines);
    EXPECT_EQ(recounted, wider + 1) << "counted again after a resize";
}

TEST_F(Pane, WithWrapColumnsStartAtTheDisplayedLine) {
    showWindow();
    pane()->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    load(QString(300, u'あ'));
    const EditPane::DisplayedLine second = pane()->displayedLineAt(pane()->displayedLineAt(0).next);
    ASSERT_GT(second.start, 0);
    setCaret(second.start + 2);
    EXPECT_EQ(pane()->caretPosition().line, 1);
    EXPECT_EQ(pane()->caretPosition().column, 4);
}

TEST_F(Pane, WithWrapEditsAcrossBlocksAreCountedAgain) {
    showWindow();
    pane()->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    load(QStringLiteral("short\nshort\nshort"));
    pane()->finishLineCounting();
    QTextCursor cursor = pane()->textCursor();
    cursor.setPosition(0);
    cursor.setPosition(11, QTextCursor::KeepAnchor);
    cursor.insertText(QString(500, u'x') + QStringLiteral("\n") + QString(500, u'y'));
    pane()->finishLineCounting();
    const qint64 total = pane()->caretPosition().totalLines;
    EXPECT_EQ(total, laidOutLines(pane()) + 1);
}

} // namespace
} // namespace pote::test

#include "editing_pane_test.moc"
