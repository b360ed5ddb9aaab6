// 縦書きプレビュー through the window: it opens at the caret's page, the keys turn pages right to
// left with "p / N" following, it follows the text when reopened and at once after a ruby is
// inserted, its options are kept in the settings, and its PDF export reports a failure through
// the cat and leaves the old file alone.

#include "gui_fixture.h"

#include "app/ui/section_binding.h"
#include "app/ui/vertical_commands.h"
#include "core/cp932.h"
#include "core/export_target.h"
#include "editing/ui/edit_pane.h"
#include "support/test_files.h"
#include "vertical/ui/font_file.h"
#include "vertical/ui/spread_view.h"

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>

namespace pote::test {
namespace {

// n paragraphs of 20 kanji: one full line each, 20 to a manuscript page.
QByteArray lines(int n, QChar ch = u'猫') {
    QByteArray text;
    for (int i = 0; i < n; ++i)
        text += cp932::encode(QString(20, ch)) + "\r\n";
    return text;
}

class VerticalPreviewTest : public WindowTest {
protected:
    // Three sections of 1, 3 and 2 pages; the second is shown with the caret on line 45 (its
    // third page).
    void loadDocument() {
        store().section(0).text = lines(5);
        store().section(store().appendEmpty()).text = lines(50, u'犬');
        store().section(store().appendEmpty()).text = lines(30, u'鳥');
        store().current = 1;
        window->binding().section_load(1);
        QTextCursor cursor = pane()->textCursor();
        cursor.setPosition(pane()->document()->findBlockByNumber(45).position() + 3);
        pane()->setTextCursor(cursor);
    }
    // Clicks "PDFに書き出す" and waits until the pages, drawn in the background, are reported.
    void exportPdf(vertical::VerticalPreview* preview) {
        preview->findChild<QPushButton*>(QStringLiteral("vp_pdf"))->click();
        ASSERT_TRUE(QTest::qWaitFor(
            [this] { return !window->controllers().vertical().exportRunning(); }, 120000));
    }

    vertical::VerticalPreview* open() {
        window->trigger(QStringLiteral("nx_vertical_preview"));
        return window->controllers().vertical().preview();
    }
    // As the window system delivers it, to the preview's window with its page in focus.
    void key(vertical::VerticalPreview* preview, Qt::Key k) {
        preview->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(preview->window()));
        preview->spread()->setFocus();
        QTest::keyClick(preview->window()->windowHandle(), k);
    }
};

// A spread is pages 1|2, 3|4, ...: the preview opens at the spread of the caret's page (4) and
// each turn shows a whole new spread; "p / N" names its first page.
TEST_F(VerticalPreviewTest, OpensAtTheCaretsPageAndTheKeysTurnPagesRightToLeft) {
    loadDocument();
    vertical::VerticalPreview* preview = open();
    ASSERT_NE(preview, nullptr);
    EXPECT_TRUE(preview->isVisible());
    EXPECT_EQ(preview->statusText(), QStringLiteral("3 / 6"));
    struct Step {
        Qt::Key key;
        const char* status;
    };
    for (const Step& step : {Step{Qt::Key_Left, "5 / 6"}, Step{Qt::Key_PageDown, "5 / 6"},
                             Step{Qt::Key_Right, "3 / 6"}, Step{Qt::Key_PageUp, "1 / 6"},
                             Step{Qt::Key_Right, "1 / 6"}, Step{Qt::Key_End, "5 / 6"},
                             Step{Qt::Key_Home, "1 / 6"}, Step{Qt::Key_PageDown, "3 / 6"}}) {
        key(preview, step.key);
        EXPECT_EQ(preview->statusText(), QString::fromUtf8(step.status)) << step.key;
        EXPECT_EQ(preview->findChild<QLabel*>(QStringLiteral("vp_status"))->text(),
                  preview->statusText());
    }
    // Two pages side by side, the one read first on the right.
    const auto* spread = preview->spread();
    EXPECT_GT(spread->rightPageRect().left(), spread->leftPageRect().right());
}

TEST_F(VerticalPreviewTest, FollowsTheTextWhenReopenedAndTheCaretToo) {
    loadDocument();
    vertical::VerticalPreview* preview = open();
    preview->close();
    // The pane gets a page more, and the caret goes to its top.
    QTextCursor cursor = pane()->textCursor();
    cursor.setPosition(0);
    cursor.insertText(cp932::decodeForPane(lines(20, u'蛙')));
    cursor.setPosition(0);
    pane()->setTextCursor(cursor);
    preview = open();
    EXPECT_EQ(preview->statusText(), QStringLiteral("1 / 7")) << "page 2, on the spread's left";
    const auto left = preview->pages().next(preview->place());
    ASSERT_TRUE(left);
    EXPECT_EQ(preview->pages().pageAt(*left).lines[0].cells[0].ch[0], u'蛙');
}

TEST_F(VerticalPreviewTest, AFaceInTheSettingsThatCannotBeHadIsToldOnceAndGivesWay) {
    loadDocument();
    for (const QString& face : {QStringLiteral("存在しない書体"), QStringLiteral("DejaVu Sans")}) {
        window->settings().vertical.face = face;
        prompter->clear();
        prompter->answer(Answer::Yes);
        vertical::VerticalPreview* preview = open();
        ASSERT_NE(preview, nullptr);
        ASSERT_EQ(prompter->asked().size(), 1u) << face.toStdString();
        EXPECT_TRUE(prompter->last().text.contains(face)) << prompter->last().text.toStdString();
        EXPECT_EQ(window->settings().vertical.face, vertical::defaultVerticalFace());
        EXPECT_FALSE(preview->findChild<QComboBox*>(QStringLiteral("vp_face"))->findText(face) >=
                     0);
        // Opened again, nothing more is said.
        open();
        EXPECT_EQ(prompter->asked().size(), 1u);
        window->controllers().vertical().preview()->close();
        delete window->controllers().vertical().preview();
    }
}

TEST_F(VerticalPreviewTest, OptionsChangeThePagesAndAreKeptInTheSettings) {
    loadDocument();
    // A format the settings file holds that is none (a grid too small, an unknown name): the
    // preview takes manuscript paper.
    for (const QString& stored : {QStringLiteral("9x20"), QStringLiteral("b5")}) {
        window->settings().vertical.format = stored;
        EXPECT_EQ(open()->format(), vertical::PageFormat::genkou()) << stored.toStdString();
        delete window->controllers().vertical().preview();
    }
    vertical::VerticalPreview* preview = open();
    auto* format = preview->findChild<QComboBox*>(QStringLiteral("vp_format"));
    format->setCurrentIndex(format->findData(QStringLiteral("a4-40x30")));
    EXPECT_EQ(window->settings().vertical.format, QStringLiteral("a4-40x30"));
    // The spread's first line (the second section's 21st) is now on page 2, 30 to a page.
    EXPECT_EQ(preview->statusText(), QStringLiteral("1 / 4")) << "the spread of the same line";
    auto* scope = preview->findChild<QComboBox*>(QStringLiteral("vp_scope"));
    scope->setCurrentIndex(1);
    EXPECT_FALSE(window->settings().vertical.allSections);
    EXPECT_EQ(preview->statusText(), QStringLiteral("1 / 2")) << "the spread of page 2";
    preview->setZoom(200);
    EXPECT_EQ(window->settings().vertical.zoom, 200);
    EXPECT_EQ(preview->findChild<QComboBox*>(QStringLiteral("vp_zoom"))->currentText(),
              QStringLiteral("200%"));
}

TEST_F(VerticalPreviewTest, ARubyOverTheSelectionGoesInAsOneUndoableEditAndShowsAtOnce) {
    store().section(0).text = cp932::encode(QStringLiteral("薔薇が咲く"));
    window->binding().section_load(0);
    vertical::VerticalPreview* preview = open();
    select(0, 2);
    prompter->answerText(QStringLiteral("ばら"));
    window->trigger(QStringLiteral("pop_ruby_ins"));
    EXPECT_EQ(paneText(), QStringLiteral("｜薔薇《ばら》が咲く"));
    const vertical::Page page = preview->pages().pageAt(preview->place());
    ASSERT_EQ(page.ruby.size(), 1);
    EXPECT_EQ(page.ruby[0].reading, QStringLiteral("ばら"));
    window->trigger(QStringLiteral("nx_edit_undo"));
    EXPECT_EQ(paneText(), QStringLiteral("薔薇が咲く"));
}

TEST_F(VerticalPreviewTest, WithoutASelectionTheInsertMenuAsksForTheBaseToo) {
    select(0, 0);
    prompter->answerText(QStringLiteral("猫")).answerText(QStringLiteral("ねこ"));
    ASSERT_TRUE(enabled(QStringLiteral("nx_ruby_ins")));
    window->trigger(QStringLiteral("nx_ruby_ins"));
    EXPECT_EQ(paneText(), QStringLiteral("｜猫《ねこ》"));
    EXPECT_TRUE(prompter->allAnswered());
}

TEST_F(VerticalPreviewTest, ARubyThatWouldNotReadBackIsRefusedAndTheTextStays) {
    store().section(0).text = cp932::encode(QStringLiteral("猫\r\n犬"));
    window->binding().section_load(0);
    select(0, 3);
    prompter->answer(Answer::Yes);
    window->trigger(QStringLiteral("pop_ruby_ins"));
    EXPECT_EQ(prompter->last().text, QStringLiteral("ルビは一行の中の文字にだけ振れるにゃ。"));
    select(0, 1);
    prompter->answerText(QStringLiteral("ね》こ")).answer(Answer::Yes);
    window->trigger(QStringLiteral("pop_ruby_ins"));
    EXPECT_TRUE(prompter->last().text.startsWith(QStringLiteral("そのルビは振れないにゃ。")));
    prompter->answerText(std::nullopt); // cancelled
    window->trigger(QStringLiteral("pop_ruby_ins"));
    EXPECT_EQ(paneText(), QStringLiteral("猫\n犬"));
}

TEST_F(VerticalPreviewTest, PdfFromThePreviewAndAFailureThatKeepsTheOldFile) {
    loadDocument();
    vertical::VerticalPreview* preview = open();
    const QString out = path(QStringLiteral("原稿.pdf"));
    prompter->answerFile(out);
    exportPdf(preview);
    QProcess info;
    info.start(QStringLiteral("pdfinfo"), {out});
    ASSERT_TRUE(info.waitForFinished(60000));
    EXPECT_TRUE(QString::fromUtf8(info.readAllStandardOutput())
                    .contains(QRegularExpression(QStringLiteral("Pages:\\s+6\\n"))));
    // Done is said in the status bar, and stays there when the window comes back to the front.
    const QString done = QStringLiteral("「原稿.pdf」に書き出したにゃ（6ページ）");
    EXPECT_EQ(window->statusPanelText(0), done);
    window->status_update();
    EXPECT_EQ(window->statusPanelText(0), done);
    // A target whose folder is a file: the cat says so, naming it, and nothing changes.
    writeAll(path(QStringLiteral("メモ")), "memo");
    const QString blocked = path(QStringLiteral("メモ/原稿.pdf"));
    prompter->answerFile(blocked).answer(Answer::Ok);
    exportPdf(preview);
    EXPECT_EQ(prompter->last().kind, MessageKind::Error);
    EXPECT_TRUE(prompter->last().text.contains(blocked)) << prompter->last().text.toStdString();
    EXPECT_EQ(readAll(path(QStringLiteral("メモ"))), QByteArray("memo"));
    EXPECT_NE(window->statusPanelText(0), done);

    // A section holding a NUL: written, its blank cell named by the cat afterwards.
    store().section(0).text = "a" + QByteArray(1, '\0') + "b\r\n";
    prompter->answerFile(path(QStringLiteral("空白.pdf"))).answer(Answer::Ok);
    exportPdf(preview);
    EXPECT_EQ(prompter->last().kind, MessageKind::Warning);
    EXPECT_TRUE(prompter->last().text.contains(QStringLiteral("セクション 1 のテキストに NUL")))
        << prompter->last().text.toStdString();

    // The open document's own file, named through a link: refused, and the document stays.
    const QString document = path(QStringLiteral("原稿.ptm"));
    writeAll(document, "the manuscript");
    store().documentPath = document;
    ASSERT_TRUE(QFile::link(document, path(QStringLiteral("リンク.pdf"))));
    prompter->answerFile(path(QStringLiteral("リンク.pdf"))).answer(Answer::Yes);
    exportPdf(preview);
    EXPECT_EQ(prompter->last().text, exportOverDocumentMessage());
    EXPECT_EQ(readAll(document), QByteArray("the manuscript"));
}

} // namespace
} // namespace pote::test
