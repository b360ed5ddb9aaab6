// Linked texts, text files and folders through the window's commands: the dialogs they ask,
// the files they write, the document they leave, plain-text mode and the overwrite question.

#include "gui_fixture.h"

#include "app/document_names.h"
#include "app/ui/document_commands.h"
#include "app/ui/section_binding.h"
#include "core/cp932.h"
#include "core/export_target.h"
#include "editing/status_text.h"
#include "editing/ui/edit_pane.h"
#include "editing/ui/pane_undo.h"
#include "support/test_files.h"
#include "textio/text_messages.h"
#include "textio/ui/rewrite_fm.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <ostream>

inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}

#include <unistd.h>

namespace pote::test {
namespace {

class TextImportExport : public WindowTest {
protected:
    // Replaces the document by sections of these names and texts (CP932 from UTF-8), shows
    // section 1, unmodified.
    void fill(const std::vector<std::pair<const char*, const char*>>& sections) {
        SectionStore& s = store();
        s.resetToNew();
        for (size_t i = 0; i < sections.size(); ++i) {
            const int pos = i == 0 ? 0 : s.appendEmpty();
            s.section(pos).name = sjis(sections[i].first);
            s.section(pos).text = sjis(sections[i].second);
        }
        s.current = 0;
        window->binding().section_load(0);
        s.setModified(false);
    }
    void fillNumbered(int n) {
        SectionStore& s = store();
        s.resetToNew();
        for (int pos = 0; pos < n; ++pos) {
            if (pos > 0) s.appendEmpty();
            s.section(pos).name = "s" + QByteArray::number(pos + 1);
            s.section(pos).text = "t" + QByteArray::number(pos + 1);
        }
        s.current = 0;
        window->binding().section_load(0);
        s.setModified(false);
    }
    void switchTo(int position) { window->binding().section_switch(store().current, position); }
    QString nameShown() const {
        return window->findChild<QLineEdit*>(QStringLiteral("sec_name_ed"))->text();
    }
    QByteArray name(int pos) { return store().section(pos).name; }
    QByteArray text(int pos) { return store().section(pos).text; }
    QString folder(const QString& name) {
        const QString f = path(name);
        QDir().mkpath(f);
        return f;
    }
    // Answers each overwrite question in turn, recording the file names asked about.
    void answerOverwrites(std::vector<OverwriteAnswer> answers) {
        window->setModalRunner([this, answers](QDialog& d) mutable {
            auto& dialog = dynamic_cast<Trewrite_fm&>(d);
            asked.append(dialog.st_filename->text());
            if (answers.empty()) {
                ADD_FAILURE() << "unexpected overwrite question";
                return int(QDialog::Rejected);
            }
            const OverwriteAnswer a = answers.front();
            answers.erase(answers.begin());
            switch (a) {
            case OverwriteAnswer::Yes:
                dialog.yes_bt->click();
                break;
            case OverwriteAnswer::No:
                dialog.no_bt->click();
                break;
            case OverwriteAnswer::All:
                dialog.all_bt->click();
                break;
            case OverwriteAnswer::Closed:
                dialog.reject();
                break;
            }
            return dialog.result();
        });
    }

    QStringList asked; // overwrite questions: the file line of each
};

// --- linked text -----------------------------------------------------------------------------

TEST_F(TextImportExport, ExportWritesTheFileAndImportMakesANewDocumentOfIt) {
    fill({{"a", "x\r\n"}, {"b", "y"}});
    store().setModified(true); // the export leaves the flag alone
    const QString file = path(QStringLiteral("連結.txm"));
    prompter->answerFile(file);
    window->trigger(QStringLiteral("sp_mt_save"));
    ASSERT_EQ(prompter->asked().size(), 1u);
    const FileDialogRequest& save = prompter->last().dialog;
    EXPECT_EQ(save.title, QStringLiteral("テキストファイル形式での保存（全セクションを連結）"));
    ASSERT_EQ(save.filters.size(), 2);
    EXPECT_EQ(save.filters[0].first, QStringLiteral("テキストファイル(*.txt)"));
    EXPECT_EQ(save.filters[1].second, QStringLiteral("*.txm"));
    EXPECT_EQ(save.fileName, QStringLiteral("新規"));
    EXPECT_EQ(readAll(file), QByteArray("*section a\r\nx\r\n*section b\r\ny\r\n"));
    EXPECT_TRUE(store().isModified());
    EXPECT_EQ(window->settings().WorkDir, m_dir.path());

    // A modified 10-section document with groups is replaced after the save question.
    fillNumbered(10);
    store().addGroup("g");
    store().section(3).group = 1;
    switchTo(4);
    typeInPane(QStringLiteral("消える"));
    prompter->clear();
    prompter->answer(Answer::No).answerFile(file);
    window->trigger(QStringLiteral("nx_txm_load"));
    ASSERT_EQ(prompter->asked().size(), 2u);
    EXPECT_EQ(prompter->asked()[0].text,
              QStringLiteral("編集内容が、変更されてるみたいにゃ。\r保存するにゃん？"));
    EXPECT_EQ(prompter->asked()[1].dialog.title, QStringLiteral("連結テキストファイルの読み込み"));
    EXPECT_TRUE(prompter->asked()[1].dialog.fileName.isEmpty());
    ASSERT_EQ(store().count(), 2);
    EXPECT_EQ(name(0), "a");
    EXPECT_EQ(text(0), "x\r\n");
    EXPECT_EQ(name(1), "b");
    EXPECT_EQ(text(1), "y\r\n") << "the last text gains the file's final line break";
    EXPECT_EQ(store().groupCount(), 0);
    EXPECT_EQ(store().current, 0);
    EXPECT_EQ(paneText(), QStringLiteral("x\n"));
    EXPECT_EQ(nameShown(), QStringLiteral("a"));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("ぽてまるエディター [連結]"));
    EXPECT_FALSE(store().isModified());
    EXPECT_TRUE(store().documentPath.isEmpty());
    EXPECT_FALSE(window->action(QStringLiteral("nx_qsave"))->isEnabled());
}

TEST_F(TextImportExport, NoTextExportReplacesTheDocumentsOwnFile) {
    // The document's file reached by its name, a symbolic link and a hard link; a folder export
    // would write a section named like the document over it.
    fill({{"原稿", "本文\r\n"}, {"二", "に"}});
    const QString out = folder(QStringLiteral("出力"));
    const QString document = out + QStringLiteral("/原稿.txt");
    writeAll(document, "the manuscript");
    store().documentPath = document;
    const QString symlink = path(QStringLiteral("リンク.txm"));
    const QString hardLink = path(QStringLiteral("ハード.txt"));
    ASSERT_TRUE(QFile::link(document, symlink));
    ASSERT_EQ(
        ::link(QFile::encodeName(document).constData(), QFile::encodeName(hardLink).constData()),
        0);
    const struct {
        const char* command;
        QString target;
    } rows[] = {
        {"sp_mt_save", document},
        {"sp_mt_save", symlink},
        {"nx_text_save", hardLink},
        {"nx_folder_save", out},
    };
    for (const auto& row : rows) {
        prompter->clear();
        if (QString::fromLatin1(row.command) == QLatin1String("nx_folder_save"))
            prompter->answerText(row.target).answer(Answer::Yes);
        else
            prompter->answerFile(row.target).answer(Answer::Yes);
        answerOverwrites({OverwriteAnswer::All});
        window->trigger(QString::fromLatin1(row.command));
        EXPECT_EQ(prompter->last().text, exportOverDocumentMessage()) << row.command;
        EXPECT_EQ(readAll(document), QByteArray("the manuscript")) << row.command;
    }
    EXPECT_FALSE(QFile::exists(out + QStringLiteral("/二.txt"))) << "refused before any file";
}

TEST_F(TextImportExport, ExportOfATextHoldingTheHeaderMarkAsksFirst) {
    fill({{"a", "x"}, {"b", "前*sectionの後"}, {"c", "z"}});
    prompter->answer(Answer::No);
    window->trigger(QStringLiteral("nx_txm_save"));
    ASSERT_EQ(prompter->asked().size(), 1u) << "No ends the command before the dialog";
    EXPECT_EQ(prompter->last().text, textmsg::headerInsideSections({2}));
    EXPECT_EQ(prompter->last().buttons, Answer::Yes | Answer::No);

    const QString file = path(QStringLiteral("mark.txt"));
    prompter->answer(Answer::Yes).answerFile(file);
    window->trigger(QStringLiteral("nx_txm_save"));
    EXPECT_TRUE(QFile::exists(file));
}

TEST_F(TextImportExport, ExportOfATextHoldingANulAsksFirst) {
    fill({{"a", "x"}, {"b", "y"}, {"c", "z"}, {"d", "*section"}});
    store().section(1).text = QByteArray("before\0after", 12);
    store().section(2).text = QByteArray("z\0\0", 3); // dropped at the end when written
    prompter->answer(Answer::Yes).answer(Answer::No);
    window->trigger(QStringLiteral("nx_txm_save"));
    ASSERT_EQ(prompter->asked().size(), 2u) << "No ends the command before the dialog";
    EXPECT_EQ(prompter->asked()[0].text, textmsg::headerInsideSections({4}));
    EXPECT_EQ(prompter->last().text, textmsg::nulInsideSections({2}));
    EXPECT_EQ(prompter->last().buttons, Answer::Yes | Answer::No);

    const QString file = path(QStringLiteral("nul.txm"));
    prompter->answer(Answer::Yes).answer(Answer::Yes).answerFile(file);
    window->trigger(QStringLiteral("nx_txm_save"));
    EXPECT_TRUE(QFile::exists(file));
}

TEST_F(TextImportExport, ARefusedLinkedTextLeavesTheDocumentAsItWas) {
    fillNumbered(3);
    const QString plain = path(QStringLiteral("普通.txt"));
    writeAll(plain, sjis("ただの文章\r\n"));
    QByteArray many;
    for (int i = 0; i < 501; ++i)
        many += "*section n" + QByteArray::number(i) + "\r\n";
    const QString tooMany = path(QStringLiteral("多すぎ.txm"));
    writeAll(tooMany, many);

    for (const auto& [file, message] : {std::pair{plain, textmsg::notLinkedText()},
                                        std::pair{tooMany, textmsg::tooManyLinkedSections(501)},
                                        std::pair{path(QStringLiteral("ない.txm")), QString()}}) {
        prompter->clear();
        prompter->answerFile(file).answer(Answer::Yes);
        window->trigger(QStringLiteral("sp_mt_load"));
        ASSERT_EQ(prompter->asked().size(), 2u);
        EXPECT_EQ(prompter->last().kind, MessageKind::Error);
        if (!message.isEmpty())
            EXPECT_EQ(prompter->last().text, message);
        else
            EXPECT_TRUE(prompter->last().text.startsWith(file)) << "names the missing file";
        EXPECT_EQ(store().count(), 3);
        EXPECT_EQ(name(0), "s1");
        EXPECT_EQ(window->windowTitle(), QStringLiteral("ぽてまるエディター [新規]"));
    }
}

TEST_F(TextImportExport, AUtf8LinkedTextIsConvertedOnYesAndTheLostCharactersCounted) {
    const QString file = path(QStringLiteral("utf8.txm"));
    writeAll(file, QByteArray("\xEF\xBB\xBF*section 名前\nあé€\n"));
    prompter->answerFile(file).answer(Answer::Yes).answer(Answer::Ok);
    window->trigger(QStringLiteral("nx_txm_load"));
    ASSERT_EQ(prompter->asked().size(), 3u);
    EXPECT_EQ(prompter->asked()[1].text, textmsg::utf8Question());
    EXPECT_EQ(prompter->asked()[2].text, textmsg::utf8Unmappable(2));
    EXPECT_EQ(name(0), sjis("名前"));
    EXPECT_EQ(text(0), sjis("あ??\r\n"));

    prompter->clear();
    prompter->answerFile(file).answer(Answer::No);
    window->trigger(QStringLiteral("nx_txm_load"));
    EXPECT_EQ(name(0), QByteArray("\xE5\x90\x8D\xE5\x89\x8D")) << "No reads the bytes as they are";
}

// --- text files -------------------------------------------------------------------------------

TEST_F(TextImportExport, ATextLoadedIntoANewDocumentBecomesItAndTheSaveQuestionWritesIt) {
    const QString file = path(QStringLiteral("abc.txt"));
    writeAll(file, "a\tb\nline");
    prompter->answerFile(file);
    window->trigger(QStringLiteral("sp_text_load"));
    EXPECT_EQ(prompter->last().dialog.title, QStringLiteral("テキストファイルの読み込み"));
    EXPECT_EQ(paneText(), QStringLiteral("a       b\nline\n")) << "tab width 8, CR LF lines";
    EXPECT_EQ(nameShown(), QStringLiteral("abc"));
    EXPECT_EQ(name(0), "abc");
    EXPECT_TRUE(store().plainTextMode());
    EXPECT_EQ(store().textPath(), file);
    EXPECT_FALSE(store().isModified());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("ぽてまるエディター [abc]"));
    EXPECT_EQ(window->statusPanelText(1), plainTextModeStatus());
    EXPECT_FALSE(window->action(QStringLiteral("select_bitbt"))->isEnabled());

    typeInPane(QStringLiteral("追記"));
    ASSERT_TRUE(store().isModified());
    prompter->clear();
    prompter->answer(Answer::Yes);
    window->trigger(QStringLiteral("nx_new_paper"));
    ASSERT_EQ(prompter->asked().size(), 1u) << "no document save dialog in plain-text mode";
    EXPECT_EQ(readAll(file), sjis("追記a       b\r\nline\r\n"));
    EXPECT_FALSE(store().plainTextMode());
}

TEST_F(TextImportExport, ATextLoadedIntoOneOfSeveralSectionsOnlyReplacesThatSection) {
    restart({}, [](StartOptions& options, ScriptedPrompter&) {
        writeAll(options.settingsPath, "[General]\nTABWidth=4\n");
    });
    fillNumbered(5);
    switchTo(2);
    store().reserved(2).r2 = 7;
    store().setModified(false);
    const QString file = path(QStringLiteral("第三章.txt"));
    writeAll(file, "a\tb\r\n");
    prompter->answerFile(file);
    window->trigger(QStringLiteral("nx_text_load"));
    EXPECT_EQ(paneText(), QStringLiteral("a   b\n")) << "tab width 4";
    EXPECT_EQ(name(2), sjis("第三章"));
    EXPECT_EQ(store().reserved(2).r2, 0u);
    EXPECT_TRUE(store().isModified());
    EXPECT_FALSE(store().plainTextMode());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("ぽてまるエディター [新規]"));
    EXPECT_EQ(store().textPath(), file);
    EXPECT_EQ(window->settings().WorkDir, m_dir.path());

    // The section saves back to its file without a dialog; the other sections still wait to be
    // saved, so the document stays modified.
    typeInPane(QStringLiteral("新"));
    prompter->clear();
    window->trigger(QStringLiteral("nx_text_save"));
    EXPECT_TRUE(prompter->asked().empty());
    EXPECT_EQ(readAll(file), sjis("新a   b\r\n"));
    EXPECT_TRUE(store().isModified());

    // Another section never goes to that file unasked.
    switchTo(3);
    prompter->answerFile(std::nullopt);
    window->trigger(QStringLiteral("nx_text_save"));
    ASSERT_EQ(prompter->asked().size(), 1u);
    EXPECT_EQ(prompter->last().dialog.fileName, QStringLiteral("s4"));
    EXPECT_EQ(readAll(file), sjis("新a   b\r\n"));
}

TEST_F(TextImportExport, LoadingATextOverUnsavedWorkAsksFirstAndCancelKeepsIt) {
    const QString first = path(QStringLiteral("一.txt"));
    writeAll(first, sjis("いち\r\n"));
    const QString second = path(QStringLiteral("二.txt"));
    writeAll(second, sjis("に\r\n"));

    typeInPane(QStringLiteral("my notes"));
    prompter->answer(Answer::Cancel);
    window->trigger(QStringLiteral("nx_text_load"));
    ASSERT_EQ(prompter->asked().size(), 1u) << "no file dialog after Cancel";
    EXPECT_EQ(prompter->last().text, saveQuestionText());
    EXPECT_EQ(prompter->last().buttons, Answer::Yes | Answer::No | Answer::Cancel);
    EXPECT_EQ(paneText(), QStringLiteral("my notes"));
    EXPECT_TRUE(store().isModified());
    EXPECT_TRUE(window->undo().available()) << "Cancel keeps the undo too";

    prompter->clear();
    prompter->answer(Answer::No).answerFile(first);
    window->trigger(QStringLiteral("sp_text_load"));
    EXPECT_EQ(paneText(), QStringLiteral("いち\n"));
    EXPECT_TRUE(store().plainTextMode());

    // Work typed into the text document: Yes writes its file before the next one comes in.
    typeInPane(QStringLiteral("追記"));
    prompter->clear();
    prompter->answer(Answer::Yes).answerFile(second);
    window->trigger(QStringLiteral("nx_text_load"));
    ASSERT_EQ(prompter->asked().size(), 2u);
    EXPECT_EQ(readAll(first), sjis("追記いち\r\n"));
    EXPECT_EQ(paneText(), QStringLiteral("に\n"));
    EXPECT_EQ(store().textPath(), second);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("ぽてまるエディター [二]"));
    EXPECT_FALSE(store().isModified());

    // Notes kept as a document file by Yes stay in it; the text opens as a document of its own.
    window->controllers().documents().document_reset();
    typeInPane(QStringLiteral("メモ"));
    const QString document = path(QStringLiteral("メモ.ptm"));
    prompter->clear();
    prompter->answer(Answer::Yes).answerFile(document).answerFile(first);
    window->trigger(QStringLiteral("nx_text_load"));
    EXPECT_TRUE(store().plainTextMode());
    EXPECT_TRUE(store().documentPath.isEmpty());
    EXPECT_EQ(paneText(), QStringLiteral("追記いち\n"));
    ASSERT_TRUE(window->controllers().documents().document_read(document));
    EXPECT_EQ(paneText(), QStringLiteral("メモ"));
}

TEST_F(TextImportExport, ATextReadFromUtf8GoesBackOverItsFileOnlyWhenTheUserSaysSo) {
    const QByteArray utf8 = QByteArray("\xEF\xBB\xBF") + QStringLiteral("あいう\n").toUtf8();
    const QString file = path(QStringLiteral("utf8.txt"));
    writeAll(file, utf8);
    prompter->answerFile(file).answer(Answer::Yes);
    window->trigger(QStringLiteral("nx_text_load"));
    ASSERT_EQ(paneText(), QStringLiteral("あいう\n"));
    ASSERT_TRUE(store().plainTextMode());

    typeInPane(QStringLiteral("新"));
    prompter->clear();
    prompter->answer(Answer::Cancel);
    window->trigger(QStringLiteral("nx_text_save"));
    ASSERT_EQ(prompter->asked().size(), 1u);
    EXPECT_EQ(prompter->last().text, textmsg::utf8OverwriteQuestion(QStringLiteral("utf8.txt")));
    EXPECT_EQ(prompter->last().buttons, Answer::Yes | Answer::No | Answer::Cancel);
    EXPECT_EQ(readAll(file), utf8) << "Cancel writes nothing";
    EXPECT_TRUE(store().isModified());

    // No: another file, which is the document from now on and saves without a word.
    const QString other = path(QStringLiteral("sjis.txt"));
    prompter->clear();
    prompter->answer(Answer::No).answerFile(other);
    window->trigger(QStringLiteral("sp_text_save"));
    EXPECT_EQ(prompter->last().dialog.title, QStringLiteral("テキストファイル形式での保存"));
    EXPECT_EQ(readAll(other), sjis("新あいう\r\n"));
    EXPECT_EQ(readAll(file), utf8);
    EXPECT_EQ(store().textPath(), other);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("ぽてまるエディター [sjis]"));
    EXPECT_FALSE(store().isModified());
    typeInPane(QStringLiteral("再"));
    prompter->clear();
    window->trigger(QStringLiteral("nx_text_save"));
    EXPECT_TRUE(prompter->asked().empty()) << "a file the program wrote is CP932 already";
    EXPECT_EQ(readAll(other), sjis("新再あいう\r\n"));

    // The save question asks as well; Yes over it makes the file CP932, and then no more asking.
    prompter->answerFile(file).answer(Answer::Yes);
    window->trigger(QStringLiteral("nx_text_load"));
    typeInPane(QStringLiteral("上"));
    prompter->clear();
    prompter->answer(Answer::Yes).answer(Answer::Yes);
    window->trigger(QStringLiteral("nx_new_paper"));
    ASSERT_EQ(prompter->asked().size(), 2u);
    EXPECT_EQ(prompter->asked()[1].text,
              textmsg::utf8OverwriteQuestion(QStringLiteral("utf8.txt")));
    EXPECT_EQ(readAll(file), sjis("上あいう\r\n"));
    EXPECT_FALSE(store().plainTextMode()) << "the new document came";
}

TEST_F(TextImportExport, TheSavedTextKeepsEveryByteOfTheLoadedFile) {
    // NEC and IBM duplicates, a half-width kana and an LF-only line: the section keeps the
    // file's characters byte for byte; only the line breaks become CR LF.
    const QByteArray original = QByteArray("\xED\x40\xFA\x5C\x87\x90\xFA\x40\xB1\r\n") + "end\n";
    const QString file = path(QStringLiteral("重複.txt"));
    writeAll(file, original);
    fillNumbered(2);
    prompter->answerFile(file);
    window->trigger(QStringLiteral("nx_text_load"));
    prompter->clear();
    window->trigger(QStringLiteral("sp_text_save"));
    EXPECT_TRUE(prompter->asked().empty()) << "back to the file it came from";
    EXPECT_EQ(readAll(file), QByteArray("\xED\x40\xFA\x5C\x87\x90\xFA\x40\xB1\r\nend\r\n"));
}

TEST_F(TextImportExport, OnlyTheToolButtonRemembersTheFileItSavedTo) {
    fill({{"章", "本文"}});
    store().documentPath = path(QStringLiteral("doc.ptm")); // no plain-text mode
    const QString first = path(QStringLiteral("一.txt"));
    prompter->answerFile(first);
    window->trigger(QStringLiteral("nx_text_save"));
    EXPECT_EQ(prompter->last().dialog.title, QStringLiteral("テキストファイル形式での保存"));
    EXPECT_EQ(prompter->last().dialog.fileName, QStringLiteral("章"));
    EXPECT_EQ(readAll(first), sjis("本文"));
    EXPECT_TRUE(store().textPath().isEmpty());

    const QString second = path(QStringLiteral("二.txt"));
    prompter->answerFile(second);
    window->trigger(QStringLiteral("sp_text_save"));
    EXPECT_EQ(store().textPath(), second);
    prompter->clear();
    typeInPane(QStringLiteral("改"));
    window->trigger(QStringLiteral("sp_text_save"));
    EXPECT_TRUE(prompter->asked().empty());
    EXPECT_EQ(readAll(second), sjis("改本文"));
}

TEST_F(TextImportExport, AddingATextAppendsASectionOnlyWhenTheFileCanBeRead) {
    fillNumbered(2);
    const QString sub = folder(QStringLiteral("下"));
    const QString file = sub + QStringLiteral("/追加.txt");
    writeAll(file, sjis("足す\r\n"));
    QDir().mkpath(sub + QStringLiteral("/フォルダ.txt"));
    window->settings().WorkDir = m_dir.path();

    prompter->answerFile(sub + QStringLiteral("/フォルダ.txt")).answer(Answer::Ok);
    window->trigger(QStringLiteral("nx_text_add_load"));
    EXPECT_EQ(prompter->last().kind, MessageKind::Error);
    EXPECT_EQ(store().count(), 2) << "no empty section is left behind";

    prompter->answerFile(file);
    window->trigger(QStringLiteral("nx_text_add_load"));
    ASSERT_EQ(store().count(), 3);
    EXPECT_EQ(store().current, 2);
    EXPECT_EQ(name(2), sjis("追加"));
    EXPECT_EQ(paneText(), QStringLiteral("足す\n"));
    EXPECT_TRUE(store().isModified());
    EXPECT_EQ(window->settings().WorkDir, m_dir.path()) << "the work folder does not follow";

    fillNumbered(500);
    window->tool_state_refresh();
    EXPECT_FALSE(window->action(QStringLiteral("nx_text_add_load"))->isEnabled());
}

// --- folders ----------------------------------------------------------------------------------

TEST_F(TextImportExport, SavingToAFolderAsksBeforeEachExistingFileUntilAllIsAnswered) {
    fill({{"一", "いち\r\n"}, {"", "無名"}, {"二", "に"}, {"一", "同名"}, {"../../evil", "外"}});
    const QString out = folder(QStringLiteral("出力"));

    // The fourth section has the first one's name: its file was just written.
    prompter->answerText(out);
    answerOverwrites({OverwriteAnswer::No});
    window->trigger(QStringLiteral("nx_folder_save"));
    EXPECT_EQ(prompter->last().type, Asked::Type::Folder);
    EXPECT_EQ(prompter->last().text, QStringLiteral("ディレクトリの選択"));
    EXPECT_EQ(prompter->last().buttons, Answers(Answer::Yes)) << "a new folder may be named";
    EXPECT_EQ(asked, QStringList{QStringLiteral("ファイル名：一.txt")});
    EXPECT_EQ(readAll(out + QStringLiteral("/一.txt")), sjis("いち\r\n\r\n"));
    EXPECT_EQ(readAll(out + QStringLiteral("/新規2.txt")), sjis("無名\r\n"));
    EXPECT_EQ(readAll(out + QStringLiteral("/二.txt")), sjis("に\r\n"));
    EXPECT_EQ(readAll(out + QStringLiteral("/..／..／evil.txt")), sjis("外\r\n"));
    EXPECT_EQ(QDir(out).entryList(QDir::Files | QDir::Hidden).size(), 4)
        << "nothing written outside";
    EXPECT_EQ(window->settings().WorkDir, out);
    EXPECT_FALSE(store().isModified());

    // Every file exists now: yes, no, then all writes the rest without asking; a dialog shut by
    // its title bar leaves its file alone.
    store().section(0).text = sjis("新一");
    store().section(1).text = sjis("新無名");
    store().section(2).text = sjis("新二");
    store().section(4).text = sjis("新外");
    asked.clear();
    prompter->answerText(out + QStringLiteral("/"));
    answerOverwrites({OverwriteAnswer::Yes, OverwriteAnswer::No, OverwriteAnswer::All});
    window->trigger(QStringLiteral("nx_folder_save"));
    EXPECT_EQ(asked.size(), 3);
    EXPECT_EQ(readAll(out + QStringLiteral("/一.txt")), sjis("同名\r\n")) << "all reached it";
    EXPECT_EQ(readAll(out + QStringLiteral("/新規2.txt")), sjis("無名\r\n"));
    EXPECT_EQ(readAll(out + QStringLiteral("/二.txt")), sjis("新二\r\n"));
    EXPECT_EQ(readAll(out + QStringLiteral("/..／..／evil.txt")), sjis("新外\r\n"));

    asked.clear();
    prompter->answerText(out);
    answerOverwrites({OverwriteAnswer::Closed, OverwriteAnswer::Yes, OverwriteAnswer::No,
                      OverwriteAnswer::No, OverwriteAnswer::No});
    window->trigger(QStringLiteral("nx_folder_save"));
    EXPECT_EQ(asked.size(), 5) << "all holds for one command only";
    EXPECT_EQ(readAll(out + QStringLiteral("/一.txt")), sjis("同名\r\n"));
    EXPECT_EQ(readAll(out + QStringLiteral("/新規2.txt")), sjis("新無名\r\n"));
}

TEST_F(TextImportExport, TheOverwriteQuestionLooksAsDesigned) {
    Trewrite_fm dialog(QStringLiteral("章.txt"));
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("上書き確認"));
    EXPECT_EQ(dialog.size(), QSize(337, 217));
    EXPECT_EQ(dialog.findChild<QLabel*>(QStringLiteral("Label1"))->text(),
              QStringLiteral("このファイルは既にあるみたいだにゃん！"));
    EXPECT_EQ(dialog.findChild<QLabel*>(QStringLiteral("Label2"))->text(),
              QStringLiteral("上書きしていいかにゃ？？"));
    EXPECT_EQ(dialog.st_filename->text(), QStringLiteral("ファイル名：章.txt"));
    EXPECT_EQ(dialog.yes_bt->text(), QStringLiteral("はい(&Y)"));
    EXPECT_EQ(dialog.no_bt->text(), QStringLiteral("いいえ(&N)"));
    EXPECT_EQ(dialog.all_bt->text(), QStringLiteral("全部上書き(&A)"));
    EXPECT_EQ(dialog.all_bt->geometry(), QRect(120, 176, 105, 25));
    EXPECT_EQ(dialog.answer(), OverwriteAnswer::Closed);

    // The letter alone answers, as in every other question box; with Ctrl it is no answer.
    const std::pair<Qt::Key, OverwriteAnswer> keys[] = {{Qt::Key_N, OverwriteAnswer::No},
                                                        {Qt::Key_Y, OverwriteAnswer::Yes},
                                                        {Qt::Key_A, OverwriteAnswer::All}};
    for (const auto& [key, answer] : keys) {
        Trewrite_fm keyed(QStringLiteral("章.txt"));
        QTest::keyClick(&keyed, key, Qt::ControlModifier);
        EXPECT_EQ(keyed.answer(), OverwriteAnswer::Closed);
        QTest::keyClick(&keyed, key);
        EXPECT_EQ(keyed.answer(), answer) << key;
    }
}

TEST_F(TextImportExport, AFolderSaveThatFailsNamesTheFileAndKeepsWhatWasWritten) {
    fill({{"a", "1"}, {"b", "2"}, {"c", "3"}});
    const QString out = folder(QStringLiteral("半端"));
    QDir().mkpath(out + QStringLiteral("/b.txt")); // a folder where the file should go
    prompter->answerText(out).answer(Answer::Yes);
    answerOverwrites({OverwriteAnswer::Yes});
    window->trigger(QStringLiteral("nx_folder_save"));
    EXPECT_EQ(prompter->last().kind, MessageKind::Error);
    EXPECT_TRUE(prompter->last().text.startsWith(QStringLiteral("「b.txt」が書けなかったにゃ。")))
        << prompter->last().text.toStdString();
    EXPECT_EQ(readAll(out + QStringLiteral("/a.txt")), "1\r\n");
    EXPECT_FALSE(QFile::exists(out + QStringLiteral("/c.txt"))) << "the save stopped there";
}

TEST_F(TextImportExport, AddingAFolderAppendsItsTextsInNameOrderAndReportsWhatItPassedBy) {
    fillNumbered(2);
    switchTo(1);
    typeInPane(QStringLiteral("確定"));
    const QString in = folder(QStringLiteral("入力"));
    writeAll(in + QStringLiteral("/第10章.txt"), sjis("十\r\n"));
    writeAll(in + QStringLiteral("/第2章.txt"), "two\nlines");
    writeAll(in + QStringLiteral("/A.TXT"), "\tcaps");
    writeAll(in + QStringLiteral("/other.doc"), "no");
    QDir().mkpath(in + QStringLiteral("/sub.txt"));
    prompter->answerText(in).answer(Answer::Ok);
    window->trigger(QStringLiteral("nx_folder_add_load"));
    EXPECT_EQ(prompter->last().kind, MessageKind::Warning);
    EXPECT_EQ(prompter->last().text, textmsg::skippedFolderEntries({QStringLiteral("sub.txt")}));
    ASSERT_EQ(store().count(), 5);
    EXPECT_EQ(text(1), sjis("確定t2")) << "the pane was committed first";
    EXPECT_EQ(name(2), "A");
    EXPECT_EQ(text(2), "\tcaps\r\n") << "tabs wait for the pane";
    EXPECT_EQ(name(3), sjis("第2章"));
    EXPECT_EQ(text(3), "two\r\nlines\r\n");
    EXPECT_EQ(name(4), sjis("第10章"));
    EXPECT_EQ(store().current, 4);
    EXPECT_EQ(paneText(), QStringLiteral("十\n"));
    EXPECT_TRUE(store().isModified());

    // The same folder written back and added again gives the same texts.
    const QString out = folder(QStringLiteral("往復"));
    prompter->answerText(out);
    window->trigger(QStringLiteral("nx_folder_save"));
    prompter->answerText(out);
    window->trigger(QStringLiteral("nx_folder_load"));
    ASSERT_EQ(store().count(), 10);
    EXPECT_EQ(name(9), sjis("第10章"));
    EXPECT_EQ(text(8), "two\r\nlines\r\n\r\n");
}

TEST_F(TextImportExport, AFolderThatWouldTakeTheDocumentBeyond500IsRefused) {
    const QString in = folder(QStringLiteral("三つ"));
    for (const char* n : {"a", "b", "c"})
        writeAll(in + u'/' + QString::fromLatin1(n) + QStringLiteral(".txt"), n);
    fillNumbered(498);
    prompter->answerText(in).answer(Answer::Yes);
    window->trigger(QStringLiteral("nx_folder_load"));
    EXPECT_EQ(prompter->last().text,
              QStringLiteral("テキストが多すぎて、読めないにゃ！！\r\n発見したテキスト数＝3"));
    EXPECT_EQ(prompter->last().kind, MessageKind::Error);
    EXPECT_EQ(store().count(), 498);

    fillNumbered(497);
    prompter->answerText(in);
    window->trigger(QStringLiteral("nx_folder_load"));
    EXPECT_EQ(store().count(), 500);

    const QString empty = folder(QStringLiteral("空"));
    prompter->answerText(empty).answer(Answer::Yes);
    window->trigger(QStringLiteral("nx_folder_load"));
    EXPECT_EQ(prompter->last().text, QStringLiteral("テキストファイルが発見できなかったよ。"));
    EXPECT_EQ(prompter->last().kind, MessageKind::Information);
    EXPECT_EQ(prompter->last().buttons, Answers(Answer::Yes));
}

TEST_F(TextImportExport, AddingAFolderEndsPlainTextMode) {
    const QString file = path(QStringLiteral("単独.txt"));
    writeAll(file, "solo");
    prompter->answerFile(file);
    window->trigger(QStringLiteral("nx_text_load"));
    ASSERT_TRUE(store().plainTextMode());
    const QString in = folder(QStringLiteral("追加分"));
    writeAll(in + QStringLiteral("/x.txt"), "x");
    prompter->answerText(in);
    window->trigger(QStringLiteral("nx_folder_load"));
    EXPECT_FALSE(store().plainTextMode());
    EXPECT_TRUE(store().textPath().isEmpty());
    EXPECT_TRUE(store().isModified());
    EXPECT_TRUE(window->statusPanelText(1).isEmpty());
}

} // namespace
} // namespace pote::test
