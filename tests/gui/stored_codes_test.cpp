// An edited section keeps the stored codes of everything the edit left alone, through the
// window: typing, cut and paste and undo, saved to a file.

#include "gui_fixture.h"

#include "core/cp932.h"
#include "core/document_file.h"
#include "editing/ui/edit_pane.h"
#include "support/test_files.h"

#include <QFile>

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
        SectionStore document;
        document.section(0).text = text;
        document.appendEmpty();
        document.section(1).text = sjis("二番目");
        m_file = path(QStringLiteral("重複符号.ptm"));
        ASSERT_TRUE(docfile::writeDocument(m_file, document).ok);
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
    // Saves over the file and reads the first section back from it.
    QByteArray saved() {
        window->trigger(QStringLiteral("nx_qsave"));
        const auto result = docfile::readDocument(m_file, [](const QByteArray&) { return true; });
        EXPECT_EQ(result.status, docfile::ReadResult::Status::Ok);
        return result.status == docfile::ReadResult::Status::Ok
                   ? result.content.sections.at(0).section.text
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

} // namespace
} // namespace pote::test
