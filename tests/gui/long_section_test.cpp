// A section too long to show at once: the pane shows its start, the rest arrives while the
// program is idle, and nothing that reads, edits, saves or leaves the section can tell, apart
// from the time it takes.

#include "gui_fixture.h"

#include "app/ui/section_binding.h"
#include "core/cp932.h"
#include "core/document_file.h"
#include "editing/ui/edit_pane.h"
#include "editing/ui/find_dialog.h"
#include "editing/ui/pane_loader.h"
#include "support/test_files.h"

#include <QAction>
#include <QCheckBox>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTextDocument>

namespace pote::test {
namespace {

// Lines of Japanese and ASCII with codes that re-encode to other bytes (NEC and IBM duplicates),
// stray bytes and lone CRs: a commit of re-encoded text could not give these back. (No tab: a
// commit expands tabs, loaded in slices or not.)
QByteArray longSection(qsizetype bytes, char mark) {
    const QByteArray line = QByteArray("\x93\xFA\x96\x7B\x8C\xEA ") + mark +
                            QByteArray(" \xED\x40\xFA\x5C\x87\x90\x81\xCA abc def \xFF\x80\r\n") +
                            QByteArray("\x82\xB1\x82\xEA\r") + QByteArray(60, 'x') + "\r\n";
    QByteArray out;
    out.reserve(bytes + line.size());
    while (out.size() < bytes)
        out += line;
    return out + "end of " + mark;
}

class LongSection : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        window->resize(800, 600);
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }
    void loadLong(int pos, char mark = 'A') {
        while (store().count() <= pos)
            store().appendEmpty();
        store().section(pos).text = longSection(3 * PaneLoader::kWholeUpTo, mark);
        store().current = pos;
        window->binding().section_load(pos);
        store().setModified(false);
    }
    void waitForLoad() {
        ASSERT_TRUE(QTest::qWaitFor([this] { return !pane()->loading(); }, 60000));
    }
    QString expectedText(int pos) { return cp932::decodeForPane(store().section(pos).text); }
    Result<docfile::DocumentRead> saveAndReadBack(const QString& name) {
        const QString file = path(name);
        prompter->answerFile(file);
        window->trigger(QStringLiteral("nx_save"));
        return docfile::readDocument(file, [](const QByteArray&) { return true; });
    }
};

TEST_F(LongSection, ShowsItsStartFirstAndTheRestWhileIdleWithoutAnEditOrAnUndo) {
    loadLong(0);
    ASSERT_TRUE(pane()->loading()) << "a section this long arrives in slices";
    EXPECT_EQ(pane()->selectionEnd(), 0);
    EXPECT_FALSE(window->binding().paneEdited());

    // Ticks of the event loop go on while it loads: it is never stalled for the whole text.
    int ticks = 0;
    QTimer tick;
    tick.setInterval(0);
    QObject::connect(&tick, &QTimer::timeout, [&] { ++ticks; });
    tick.start();
    waitForLoad();
    EXPECT_GT(ticks, 3);

    EXPECT_EQ(pane()->toPlainText(), expectedText(0));
    EXPECT_EQ(pane()->selectionStart(), 0);
    EXPECT_EQ(pane()->selectionEnd(), 0) << "the caret stays at the start";
    EXPECT_FALSE(store().isModified());
    EXPECT_FALSE(window->binding().paneEdited());
    EXPECT_FALSE(pane()->document()->isUndoAvailable()) << "no slice is undoable";
    window->tool_state_refresh();
    EXPECT_FALSE(window->action(QStringLiteral("nx_edit_undo"))->isEnabled());

    // Ctrl+End and the scroll bar reach the real end.
    pane()->setFocus();
    QTest::keyClick(pane(), Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(pane()->selectionEnd(), pane()->document()->characterCount() - 1);
    QScrollBar* bar = pane()->verticalScrollBar();
    EXPECT_EQ(bar->value(), bar->maximum());
    EXPECT_GT(bar->maximum(), pane()->document()->blockCount() - 100);
}

TEST_F(LongSection, AKeyDuringTheLoadFinishesItFirstAndUndoGivesTheWholeTextBack) {
    loadLong(0);
    ASSERT_TRUE(pane()->loading());
    pane()->setFocus();
    QTest::keyClick(pane(), Qt::Key_Z);
    EXPECT_FALSE(pane()->loading());
    const QString loaded = expectedText(0);
    EXPECT_EQ(pane()->toPlainText(), u'z' + loaded);
    EXPECT_TRUE(store().isModified());

    window->trigger(QStringLiteral("nx_edit_undo"));
    EXPECT_EQ(pane()->toPlainText(), loaded) << "the snapshot before the key is the whole text";
    window->trigger(QStringLiteral("nx_edit_undo"));
    EXPECT_EQ(pane()->toPlainText(), u'z' + loaded);
}

TEST_F(LongSection, SavingDuringTheLoadWritesTheStoredBytes) {
    loadLong(0);
    const QByteArray stored = store().section(0).text;
    ASSERT_TRUE(pane()->loading());
    const Result<docfile::DocumentRead> during = saveAndReadBack(QStringLiteral("読み込み中.ptm"));
    ASSERT_TRUE(during.ok());
    EXPECT_TRUE(during->content.sections.at(0).section.text == stored)
        << "an unedited pane gives back its bytes, duplicate codes and stray bytes included";
    EXPECT_TRUE(pane()->loading()) << "saving an unedited pane needs none of its text";

    waitForLoad();
    const Result<docfile::DocumentRead> after = saveAndReadBack(QStringLiteral("読み込み後.ptm"));
    ASSERT_TRUE(after.ok());
    EXPECT_TRUE(after->content.sections.at(0).section.text == stored);
    EXPECT_FALSE(store().isModified());
}

TEST_F(LongSection, SwitchingDuringTheLoadLeavesBothSectionsAsTheyWere) {
    loadLong(1, 'B');
    loadLong(0, 'A');
    const QByteArray first = store().section(0).text;
    const QByteArray second = store().section(1).text;
    ASSERT_TRUE(pane()->loading());
    window->binding().section_switch(0, 1);
    EXPECT_TRUE(store().section(0).text == first);
    waitForLoad();
    EXPECT_EQ(pane()->toPlainText(), expectedText(1)) << "nothing of the first load arrives late";
    EXPECT_FALSE(store().isModified());
    window->binding().section_switch(1, 0);
    waitForLoad();
    EXPECT_TRUE(store().section(1).text == second);
    EXPECT_EQ(pane()->toPlainText(), expectedText(0));
}

TEST_F(LongSection, FindDuringTheLoadSearchesTheWholeText) {
    loadLong(0, 'Q');
    ASSERT_TRUE(pane()->loading());
    window->trigger(QStringLiteral("Find1"));
    auto* find = window->findChild<FindDialog*>();
    ASSERT_NE(find, nullptr);
    find->setFindText(QStringLiteral("end of Q"));
    find->findChild<QPushButton*>(QStringLiteral("find_next_bt"))->click();
    const QString whole = expectedText(0);
    EXPECT_EQ(pane()->selectionStart(), whole.size() - 8) << "the hit lies in the last slice";
    EXPECT_EQ(pane()->selectionEnd(), whole.size());
    EXPECT_FALSE(store().isModified());
}

} // namespace
} // namespace pote::test
