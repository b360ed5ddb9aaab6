// "EPUBに書き出す" in the window: where it sits and when it is offered, a book with the pane's
// latest edits, the warning about characters left out, stopping a long book, a target that
// cannot be written, and closing the window while a book is written.

#include "gui_fixture.h"

#include "app/ui/epub_commands.h"
#include "app/ui/section_binding.h"
#include "core/export_target.h"
#include "core/file_io.h"
#include "core/mascot_reactions.h"
#include "editing/ui/edit_pane.h"
#include "epub/epub_messages.h"
#include "epub/ui/epub_export_dialog.h"
#include "settings/settings_values.h"
#include "support/test_files.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QMenu>
#include <QTest>
#include <QTextCursor>

#include <zip.h>

namespace pote::test {
namespace {

class EpubExport : public WindowTest {
protected:
    void SetUp() override {
        restart({}, [this](StartOptions& options, ScriptedPrompter&) {
            auto hooked = std::make_unique<HookedPrompter>();
            hooked->onMessage = [this](const QString&) {
                stopOfferedAtMessage.push_back(enabled(QStringLiteral("nx_backup_stop")));
            };
            prompter = hooked.get();
            options.prompter = std::move(hooked);
            // The export dialog: looked at, filled as the test says, and confirmed.
            options.modalRunner = [this](QDialog& d) {
                auto* dialog = qobject_cast<EpubExportDialog*>(&d);
                if (!dialog) return int(QDialog::Rejected);
                shown.push_back(dialog->choices());
                if (fillDialog) fillDialog(*dialog);
                return int(fillDialog && cancelDialog ? QDialog::Rejected : QDialog::Accepted);
            };
        });
    }

    // What each export dialog showed when it opened.
    std::vector<EpubChoices> shown;
    std::function<void(EpubExportDialog&)> fillDialog;
    bool cancelDialog = false;
    static void setText(EpubExportDialog& d, const char* edit, const QString& text) {
        d.findChild<QLineEdit*>(QLatin1String(edit))->setText(text);
    }

    void fill(const std::vector<std::pair<QByteArray, QByteArray>>& sections) {
        SectionStore& s = store();
        s.resetToNew();
        for (size_t i = 0; i < sections.size(); ++i) {
            const int pos = i == 0 ? 0 : s.appendEmpty();
            s.section(pos).name = sections[i].first;
            s.section(pos).text = sections[i].second;
        }
        s.current = 0;
        window->binding().section_load(0);
        s.setModified(false);
        window->tool_state_refresh();
    }

    EpubCommands& commands() { return window->controllers().epub(); }

    // Chooses the file, starts the book and waits until its last message is answered.
    void exportTo(const QString& file) {
        prompter->answerFile(file).answer(Answer::Yes);
        window->trigger(QStringLiteral("nx_epub_save"));
        waitUntilDone();
    }
    void waitUntilDone() {
        ASSERT_TRUE(QTest::qWaitFor([this] { return !commands().running(); }, 120000));
    }

    // Whether "中止" was offered when each box appeared.
    std::vector<bool> stopOfferedAtMessage;

    static QStringList entryNames(const QString& file) {
        QStringList names;
        int error = 0;
        zip_t* zip = zip_open(QFile::encodeName(file).constData(), ZIP_RDONLY, &error);
        if (!zip) return names;
        for (zip_int64_t i = 0; i < zip_get_num_entries(zip, 0); ++i)
            names << QString::fromUtf8(zip_get_name(zip, static_cast<zip_uint64_t>(i), 0));
        zip_close(zip);
        return names;
    }

    static QByteArray entryBytes(const QString& file, const char* name) {
        int error = 0;
        zip_t* zip = zip_open(QFile::encodeName(file).constData(), ZIP_RDONLY, &error);
        if (!zip) return {};
        zip_stat_t st;
        QByteArray bytes;
        if (zip_stat(zip, name, 0, &st) == 0) {
            bytes.resize(qsizetype(st.size));
            zip_file_t* f = zip_fopen(zip, name, 0);
            zip_fread(f, bytes.data(), st.size);
            zip_fclose(f);
        }
        zip_close(zip);
        return bytes;
    }
};

TEST_F(EpubExport, SitsBesideTheSectionExportsAndWaitsForADocument) {
    const QList<QAction*> items = window->menu(QStringLiteral("nx_file"))->actions();
    qsizetype at = -1;
    for (qsizetype i = 0; i < items.size(); ++i)
        if (items[i]->objectName() == QStringLiteral("nx_epub_save")) at = i;
    ASSERT_GT(at, 0);
    EXPECT_EQ(items[at - 1]->menu(), window->menu(QStringLiteral("nx_section_save")));
    EXPECT_TRUE(enabled(QStringLiteral("nx_epub_save")));
    store().enterPlainTextMode(path(QStringLiteral("メモ.txt")));
    window->tool_state_refresh();
    EXPECT_FALSE(enabled(QStringLiteral("nx_epub_save"))) << "a text file is no document";
}

TEST_F(EpubExport, WritesTheDocumentWithThePanesLatestEdits) {
    fill({{sjis("第一話"), sjis("｜猫《ねこ》が")}, {sjis("第二話"), sjis("二")}});
    pane()->moveCursor(QTextCursor::End);
    typeInPane(QStringLiteral("鳴いた"));
    const QString book = path(QStringLiteral("窓辺の猫.epub"));
    exportTo(book);

    const Asked& dialog = prompter->asked().front();
    EXPECT_EQ(dialog.type, Asked::Type::SaveFile);
    EXPECT_EQ(dialog.dialog.defaultSuffix, QStringLiteral("epub"));
    EXPECT_EQ(prompter->last().text, epubmsg::finished(QDir::toNativeSeparators(book)));
    EXPECT_EQ(window->statusPanelText(0),
              QStringLiteral("「窓辺の猫.epub」に書き出したにゃ（2セクション）"));
    EXPECT_EQ(stopOfferedAtMessage, std::vector<bool>{false}) << "the report comes after the work";
    EXPECT_EQ(window->settings().WorkDir, m_dir.path());
    EXPECT_EQ(entryNames(book).size(), 9) << "with a drawn cover and its page";
    EXPECT_TRUE(entryBytes(book, "EPUB/text/p00001.xhtml")
                    .contains("<h1>第一話</h1>\n<p><ruby>猫<rp>（</rp><rt>ねこ</rt><rp>）</rp></"
                              "ruby>が鳴いた</p>"));
    // The document itself is as it was: a book is no save.
    EXPECT_EQ(store().section(0).text, sjis("｜猫《ねこ》が鳴いた"));
    EXPECT_FALSE(commands().busy());
    EXPECT_TRUE(enabled(QStringLiteral("nx_epub_save")));
}

TEST_F(EpubExport, TellsWhereCharactersWereLeftOut) {
    fill({{sjis("一"), sjis("よし\r\n") + QByteArray("\x80\x00", 2) + sjis("だめ\r\n")}});
    exportTo(path(QStringLiteral("本.epub")));
    EXPECT_EQ(prompter->last().kind, MessageKind::Warning);
    EXPECT_EQ(prompter->last().text, epubmsg::droppedCharacters({{0, 2}}, 1));
    EXPECT_TRUE(prompter->last().text.contains(QStringLiteral("セクション1の2行目")));
}

TEST_F(EpubExport, StoppedOrFailedBooksLeaveTheOldFile) {
    const QString book = path(QStringLiteral("本.epub"));
    writeAll(book, "old book");
    std::vector<std::pair<QByteArray, QByteArray>> big(
        200,
        {sjis("章"), sjis("　吾輩《わがはい》は猫である。名前はまだ無い。\r\n").repeated(4000)});
    fill(big);

    prompter->answerFile(book).answer(Answer::Yes);
    window->trigger(QStringLiteral("nx_epub_save"));
    ASSERT_TRUE(commands().busy());
    // While it runs, only "中止" is offered, and the status bar shows how far it got.
    EXPECT_FALSE(enabled(QStringLiteral("nx_epub_save")));
    EXPECT_FALSE(enabled(QStringLiteral("nx_save")));
    EXPECT_TRUE(enabled(QStringLiteral("nx_backup_stop")));
    EXPECT_TRUE(window->statusPanelText(0).startsWith(QStringLiteral("EPUBを書き出し中")));
    window->trigger(QStringLiteral("nx_backup_stop"));
    waitUntilDone();
    EXPECT_EQ(prompter->last().text, epubmsg::stopped());
    EXPECT_EQ(readAll(book), QByteArray("old book"));
    EXPECT_EQ(QDir(m_dir.path()).entryList({QStringLiteral("*.epub*")}, QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("本.epub")});
    EXPECT_FALSE(enabled(QStringLiteral("nx_backup_stop")));
    // Written again, the book is whole: the stop was for the book that is over.
    fill({{sjis("一"), sjis("本文")}});
    exportTo(book);
    EXPECT_EQ(prompter->last().text, epubmsg::finished(QDir::toNativeSeparators(book)));
    EXPECT_TRUE(entryNames(book).contains(QStringLiteral("mimetype")));

    // The document's own file: refused before anything is written.
    const QString document = path(QStringLiteral("原稿.ptm"));
    writeAll(document, "the manuscript");
    store().documentPath = document;
    prompter->answerFile(document).answer(Answer::Yes);
    window->trigger(QStringLiteral("nx_epub_save"));
    EXPECT_FALSE(commands().busy());
    EXPECT_EQ(prompter->last().text, exportOverDocumentMessage());
    EXPECT_EQ(readAll(document), QByteArray("the manuscript"));

    // A folder where the book should go: the file error, with the cat's reaction.
    fill({{sjis("一"), sjis("本文")}});
    const QString folder = path(QStringLiteral("フォルダ.epub"));
    QDir().mkpath(folder);
    prompter->answerFile(folder).answer(Answer::Ok);
    window->trigger(QStringLiteral("nx_epub_save"));
    waitUntilDone();
    EXPECT_EQ(prompter->last().kind, MessageKind::Error);
    EXPECT_EQ(prompter->last().text,
              QDir::toNativeSeparators(folder) + QStringLiteral("\r\n") + notAFileToWriteMessage());
    EXPECT_EQ(window->mascotView()->currentReaction(), ReactionError);
}

TEST_F(EpubExport, ClosingTheWindowStopsTheBookFirst) {
    const QString book = path(QStringLiteral("本.epub"));
    std::vector<std::pair<QByteArray, QByteArray>> big(
        200, {sjis("章"), sjis("　吾輩は猫である。\r\n").repeated(8000)});
    fill(big);
    prompter->answerFile(book);
    window->show();
    window->trigger(QStringLiteral("nx_epub_save"));
    ASSERT_TRUE(commands().busy());
    EXPECT_FALSE(window->close()) << "the book is stopped first";
    ASSERT_TRUE(QTest::qWaitFor([this] { return !window->isVisible(); }, 120000));
    EXPECT_FALSE(QFileInfo::exists(book));
    EXPECT_TRUE(prompter->allAnswered());
}

TEST_F(EpubExport, TheDialogRemembersTheWriterAndTheDocumentsBook) {
    fill({{sjis("第一話"), sjis("本文")}});
    const QString document = path(QStringLiteral("原稿.ptm"));
    writeAll(document, "ptm");
    store().documentPath = document;
    store().displayName = QStringLiteral("原稿");

    // First export: the document's name as title, a new identifier, a drawn cover.
    fillDialog = [](EpubExportDialog& d) {
        setText(d, "title_ed", QStringLiteral("窓辺の猫"));
        setText(d, "author_ed", QStringLiteral("北条美咲"));
        setText(d, "author_sort_ed", QStringLiteral("ほうじょうみさき"));
    };
    const QString book = path(QStringLiteral("本.epub"));
    exportTo(book);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].title, QStringLiteral("原稿"));
    EXPECT_TRUE(shown[0].identifier.startsWith(QStringLiteral("urn:uuid:")));
    const QByteArray opf = entryBytes(book, "EPUB/package.opf");
    EXPECT_TRUE(opf.contains("<dc:title>窓辺の猫</dc:title>"));
    EXPECT_TRUE(
        opf.contains("<meta refines=\"#creator\" property=\"file-as\">ほうじょうみさき</meta>"));
    EXPECT_TRUE(opf.contains(shown[0].identifier.toUtf8()));
    EXPECT_TRUE(entryNames(book).contains(QStringLiteral("EPUB/images/cover.png")));

    // Again: the same identifier and the author remembered.
    fillDialog = {};
    exportTo(book);
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[1].identifier, shown[0].identifier);
    EXPECT_EQ(shown[1].author, QStringLiteral("北条美咲"));
    EXPECT_EQ(shown[1].authorSort, QStringLiteral("ほうじょうみさき"));

    // A copy of the document is another book, unless the writer takes the original's.
    const QString copy = path(QStringLiteral("写し.ptm"));
    writeAll(copy, "ptm");
    store().documentPath = copy;
    fillDialog = [](EpubExportDialog& d) {
        auto* others = d.findChild<QComboBox*>(QStringLiteral("other_books_list"));
        ASSERT_NE(others, nullptr);
        ASSERT_EQ(others->count(), 2);
        others->setCurrentIndex(1);
        emit others->activated(1);
    };
    exportTo(book);
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_NE(shown[2].identifier, shown[0].identifier);
    EXPECT_EQ(rememberedIdentifier(window->settings().epub.books, copy), shown[0].identifier);

    // Cancelled: nothing asked further, nothing written.
    cancelDialog = true;
    fillDialog = [](EpubExportDialog&) {};
    const qsizetype asked = prompter->asked().size();
    window->trigger(QStringLiteral("nx_epub_save"));
    EXPECT_EQ(prompter->asked().size(), asked);
}

TEST_F(EpubExport, AChosenCoverIsTheBooksAndAFileThatIsNoImageIsRefused) {
    fill({{sjis("一"), sjis("本文")}});
    const QString image = path(QStringLiteral("表紙.png"));
    writeAll(image, QByteArray("\x89PNG\r\n\x1A\n", 8) + QByteArray(64, 'x'));
    fillDialog = [&](EpubExportDialog& d) { setText(d, "cover_ed", image); };
    const QString book = path(QStringLiteral("本.epub"));
    exportTo(book);
    EXPECT_EQ(entryBytes(book, "EPUB/images/cover.png"), readAll(image));

    const QString text = path(QStringLiteral("表紙.txt"));
    writeAll(text, "not an image");
    fillDialog = [&](EpubExportDialog& d) { setText(d, "cover_ed", text); };
    prompter->answer(Answer::Ok);
    window->trigger(QStringLiteral("nx_epub_save"));
    EXPECT_FALSE(commands().busy());
    EXPECT_EQ(prompter->last().text,
              QDir::toNativeSeparators(text) + QStringLiteral("\r\n") + epubmsg::notACoverImage());
    EXPECT_EQ(entryBytes(book, "EPUB/images/cover.png"), readAll(image)) << "the old book stays";
}

} // namespace
} // namespace pote::test
