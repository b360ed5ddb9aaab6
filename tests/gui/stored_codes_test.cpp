// An edited section keeps the stored codes of everything the edit left alone, through the
// window: typing, cut and paste and undo, saved to a file. Moved text keeps them too, wherever
// it is pasted, while a copy takes the encoder's codes.

#include "gui_fixture.h"

#include "app/ui/section_binding.h"
#include "core/cp932.h"
#include "core/document_file.h"
#include "editing/ui/edit_pane.h"
#include "support/test_files.h"

#include <QFile>
#include <QTest>

#include <gmock/gmock.h>

#include <functional>

namespace pote::test {
namespace {

// Numbered lines holding every NEC and IBM duplicate in the code other programs write, twenty
// to a line.
QByteArray writersText() {
    QByteArray text;
    int count = 0;
    for (unsigned lead = 0x81; lead <= 0xFC; ++lead) {
        for (unsigned trail = 0x40; trail <= 0xFC; ++trail) {
            if (!cp932::pairUnit(lead, trail) || cp932::isPreferredCode(lead, trail)) continue;
            if (count % 20 == 0)
                text += sjis("第") + QByteArray::number(count / 20 + 1) + sjis("行：");
            text += char(lead);
            text += char(trail);
            if (++count % 20 == 0) text += sjis("。\r\n");
        }
    }
    return text + sjis("。\r\n最後の行");
}

// The byte offset of pane position unit in text (CR LF line breaks).
qsizetype byteAt(const QByteArray& text, qsizetype unit) {
    qsizetype i = 0;
    for (qsizetype u = 0; u < unit; ++u)
        i += text[i] == '\r' ? 2 : cp932::charLengthAt(text, i);
    return i;
}

class StoredCodes : public WindowTest {
protected:
    // Opens a document whose first section holds text, the second a line of its own.
    void open(const QByteArray& text) {
        Document document;
        document.section(0).text = text;
        document.appendEmpty();
        document.section(1).text = sjis("二番目");
        m_file = path(QStringLiteral("重複符号.ptm"));
        ASSERT_TRUE(docfile::writeDocument(m_file, document).ok());
        prompter->answerFile(m_file);
        window->trigger(QStringLiteral("nx_load"));
        ASSERT_EQ(store().section(0).text, text);
    }
    qsizetype lineStart(int line) const {
        return paneText().indexOf(QStringLiteral("第%1行：").arg(line));
    }
    void caretAt(qsizetype position) {
        QTextCursor cursor = window->pane()->textCursor();
        cursor.setPosition(int(position));
        window->pane()->setTextCursor(cursor);
    }
    void select(qsizetype from, qsizetype to) {
        QTextCursor cursor = window->pane()->textCursor();
        cursor.setPosition(int(from));
        cursor.setPosition(int(to), QTextCursor::KeepAnchor);
        window->pane()->setTextCursor(cursor);
    }
    // Saves over the file and reads a section (the first) back from it.
    QByteArray saved(int position = 0) {
        window->trigger(QStringLiteral("nx_qsave"));
        const auto result = docfile::readDocument(m_file, [](const QByteArray&) { return true; });
        EXPECT_TRUE(result.ok());
        return result.ok() ? result->content.sections.at(std::size_t(position)).section.text
                           : QByteArray();
    }

    QString m_file;
};

TEST_F(StoredCodes, TypingAtTheStartMiddleAndEndChangesOnlyTheTyping) {
    const QByteArray stored = writersText();
    open(stored);
    const qsizetype end = paneText().size();
    const qsizetype middle = lineStart(10) + 10;
    caretAt(end);
    typeInPane(QStringLiteral("終"));
    caretAt(middle);
    typeInPane(QStringLiteral("中"));
    caretAt(0);
    typeInPane(QStringLiteral("始"));

    QByteArray expected = stored;
    expected.insert(stored.size(), sjis("終"));
    expected.insert(byteAt(stored, middle), sjis("中"));
    expected.insert(0, sjis("始"));
    EXPECT_EQ(saved(), expected);
    EXPECT_NE(cp932::encodeFromPane(paneText()), expected) << "re-encoding would have changed it";
}

TEST_F(StoredCodes, ALineCutAndPastedElsewhereKeepsItsCodes) {
    const QByteArray stored = writersText();
    open(stored);
    const qsizetype from = lineStart(3);
    const qsizetype to = lineStart(4);
    const qsizetype target = lineStart(15);
    select(from, to);
    window->trigger(QStringLiteral("sp_cut"));
    caretAt(target - (to - from));
    window->trigger(QStringLiteral("pop_edpaste"));

    const qsizetype byteFrom = byteAt(stored, from);
    const QByteArray line = stored.mid(byteFrom, byteAt(stored, to) - byteFrom);
    QByteArray expected = stored;
    expected.insert(byteAt(stored, target), line);
    expected.remove(byteFrom, line.size());
    EXPECT_EQ(saved(), expected);
}

TEST_F(StoredCodes, AnUndoneEditSavesTheStoredBytes) {
    const QByteArray stored = writersText();
    open(stored);
    select(lineStart(7), lineStart(9));
    window->trigger(QStringLiteral("nx_ed_del"));
    window->trigger(QStringLiteral("nx_edit_undo"));
    ASSERT_TRUE(store().isModified());
    EXPECT_EQ(saved(), stored);
}

// "AB櫢⏎蕙" in the codes other programs write: 蕙 moved to just after "A".
const QByteArray kMoveStored("AB\xED\xD6\r\n\xEE\x7E");
const QByteArray kAfterTheCut("AB\xED\xD6\r\n");
const QByteArray kMoved("A\xEE\x7E"
                        "B\xED\xD6\r\n");

// The ways of cutting and pasting: the commands from the menu, the tool panel and the pop-up
// menu, and their keys, the platform's other keys among them.
using Action = std::function<void(Tmain_fm&)>;
struct ClipboardWay {
    const char* name;
    Action cut;
    Action paste;
};

Action command(const char* name) {
    return [name](Tmain_fm& w) { w.trigger(QString::fromLatin1(name)); };
}

Action key(Qt::Key k, Qt::KeyboardModifiers modifiers) {
    return [k, modifiers](Tmain_fm& w) {
        w.tool_state_refresh();
        QTest::keyClick(w.pane(), k, modifiers);
    };
}

const ClipboardWay kWays[] = {
    {"menu", command("nx_edcut"), command("nx_edpaste")},
    {"tool panel", command("sp_cut"), command("sp_paste")},
    {"pop-up menu", command("pop_edcut"), command("pop_edpaste")},
    {"Ctrl+X, Ctrl+V", key(Qt::Key_X, Qt::ControlModifier), key(Qt::Key_V, Qt::ControlModifier)},
    {"Shift+Del, Shift+Ins", key(Qt::Key_Delete, Qt::ShiftModifier),
     key(Qt::Key_Insert, Qt::ShiftModifier)},
};

class MovedCodes : public StoredCodes {
protected:
    void SetUp() override {
        StoredCodes::SetUp();
        // The keys reach the window's shortcuts only in an active window.
        window->resize(800, 600);
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        window->pane()->setFocus();
        ASSERT_EQ(cp932::decodeForPane(kMoveStored), QStringLiteral("AB櫢\n蕙"));
        ASSERT_NE(cp932::encodeFromPane(QStringLiteral("蕙")), "\xEE\x7E");
    }
    // Opens the text anew and cuts 蕙; savedBetween: the store then takes the text without it,
    // and only the bytes the cut carries know its code.
    void cutTheMovedCharacter(bool savedBetween, const Action& cut = command("nx_edcut")) {
        open(kMoveStored);
        select(4, 5);
        cut(*window);
        ASSERT_EQ(paneText(), QStringLiteral("AB櫢\n"));
        if (savedBetween) {
            ASSERT_EQ(saved(), kAfterTheCut);
        }
    }
    void pasteAt(qsizetype position, const Action& paste = command("nx_edpaste")) {
        caretAt(position);
        paste(*window);
    }
};

TEST_F(MovedCodes, CutAndPastedTheMovedCharacterKeepsItsCode) {
    for (const ClipboardWay& way : kWays) {
        for (const bool savedBetween : {false, true}) {
            SCOPED_TRACE(std::string(way.name) + (savedBetween ? ", saved between" : ""));
            cutTheMovedCharacter(savedBetween, way.cut);
            pasteAt(1, way.paste);
            ASSERT_EQ(paneText(), QStringLiteral("A蕙B櫢\n"));
            EXPECT_EQ(saved(), kMoved);
        }
    }
}

TEST_F(MovedCodes, CutInOneSectionAndPastedInAnotherKeepsItsCode) {
    cutTheMovedCharacter(false);
    window->binding().section_switch(0, 1);
    pasteAt(3);
    EXPECT_EQ(saved(1), sjis("二番目") + "\xEE\x7E");
    EXPECT_EQ(saved(0), kAfterTheCut);
}

TEST_F(MovedCodes, ACopyTakesTheEncodersCode) {
    const QByteArray encoders = cp932::encodeFromPane(QStringLiteral("蕙"));
    const QByteArray copied = "A" + encoders + kMoveStored.mid(1);
    {
        SCOPED_TRACE("copied and pasted");
        open(kMoveStored);
        select(4, 5);
        window->trigger(QStringLiteral("nx_edcopy"));
        pasteAt(1);
        EXPECT_EQ(saved(), copied);
    }
    {
        SCOPED_TRACE("cut, put back by an undo, then pasted");
        cutTheMovedCharacter(false);
        window->trigger(QStringLiteral("nx_edit_undo"));
        ASSERT_EQ(paneText(), QStringLiteral("AB櫢\n蕙"));
        pasteAt(1);
        EXPECT_EQ(saved(), copied);
    }
    for (const bool savedBetween : {false, true}) {
        SCOPED_TRACE(savedBetween ? "pasted twice, saved between cut and paste" : "pasted twice");
        cutTheMovedCharacter(savedBetween);
        pasteAt(1);
        pasteAt(0);
        // Nothing says which of the two is the moved one; the other is a copy.
        const QByteArray secondMoved = "\xEE\x7E" + ("A" + encoders) + kMoved.mid(3);
        EXPECT_THAT(saved(), testing::AnyOf(encoders + kMoved, secondMoved));
    }
}

TEST_F(MovedCodes, AnUndoneAndRedonePasteKeepsTheCode) {
    for (const bool savedBetween : {false, true}) {
        SCOPED_TRACE(savedBetween ? "saved between cut and paste" : "nothing saved between");
        cutTheMovedCharacter(savedBetween);
        pasteAt(1);
        window->trigger(QStringLiteral("nx_edit_undo"));
        EXPECT_EQ(saved(), kAfterTheCut) << "the paste undone";
        window->trigger(QStringLiteral("nx_edit_undo"));
        EXPECT_EQ(saved(), kMoved) << "and redone";
    }
}

} // namespace
} // namespace pote::test
