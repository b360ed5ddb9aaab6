// The insert commands through the window: every entry of the Insert menu and its pop-up twin
// puts its text at the caret as one undoable edit; the choosers, the work folder, the
// selection rules, the settings that enable entries and the fixed-text file.

#include "gui_fixture.h"

#include "app/ui/section_binding.h"
#include "core/cp932.h"
#include "editing/ui/edit_pane.h"
#include "support/test_files.h"

#include <QAction>
#include <QDir>
#include <QMenu>
#include <QRegularExpression>

namespace pote::test {
namespace {

class Inserting : public WindowTest {
public:
    Settings& settings() { return window->settings(); }

protected:
    // The pane holds "ab" with the caret between the two letters.
    void loadWithCaretInside() {
        store().section(store().current).text = "ab";
        window->binding().section_load(store().current);
        select(1, 1);
    }
    // A folder of the test with files of these sizes (and a hidden file and a sub-folder that
    // no list shows).
    QString folderWith(const QString& name, const std::vector<std::pair<QString, qint64>>& files) {
        const QString folder = path(name);
        EXPECT_TRUE(QDir().mkpath(folder + QStringLiteral("/sub")));
        writeAll(folder + QStringLiteral("/.hidden"), "x");
        for (const auto& [file, size] : files)
            writeAll(folder + u'/' + file, QByteArray(size, 'x'));
        return folder;
    }
};

QString spaces(int n) {
    return QString(n, u' ');
}

// The two lines of a file list as the pane shows it.
QString listing(const QString& first, const QString& second) {
    return u'\n' + first + u'\n' + second + QStringLiteral("\n\n");
}

struct InsertRow {
    const char* name;
    QString menuItem;
    QString popupItem;
    // Scripts the choosers and sets the settings the entry needs.
    std::function<void(Inserting&, ScriptedPrompter&)> prepare;
    QString inserted; // exactly, or a pattern when matchPattern is set
    bool matchPattern = false;
};

TEST_F(Inserting, EveryEntryOfTheMenuAndItsPopupTwinInsertsAtTheCaretAndUndoes) {
    const QString named = path(QStringLiteral("名前.txt"));
    writeAll(named, "abc");
    const QString kbyte = path(QStringLiteral("k.bin"));
    writeAll(kbyte, QByteArray(1023, 'x'));
    const QString mbyte = path(QStringLiteral("m.bin"));
    writeAll(mbyte, QByteArray(1048576, 'x'));
    const QString bytes = path(QStringLiteral("b.bin"));
    writeAll(bytes, QByteArray(1234567, 'x'));
    const QString listed =
        folderWith(QStringLiteral("一覧"),
                   {{QStringLiteral("日本語.txt"), 1234567}, {QStringLiteral("b.txt"), 3}});
    const QString fixed = path(QStringLiteral("定型.txt"));
    writeAll(fixed, sjis("拝啓\r\n敬具"));

    const auto file = [](const QString& chosen) {
        return [chosen](Inserting&, ScriptedPrompter& script) { script.answerFile(chosen); };
    };
    const auto folder = [listed](Inserting&, ScriptedPrompter& script) {
        script.answerText(listed);
    };
    const std::vector<InsertRow> rows = {
        {"Separator", "nx_breakline_ins", "pop_break_line_ins",
         [](Inserting& t, ScriptedPrompter&) {
             t.settings().BreakLineWidth = 60;
             t.settings().BreakLineString = QStringLiteral("＝");
         },
         u'\n' + QString(30, u'＝') + u'\n'},
        {"Date", "nx_date_ins", "pop_date_ins", {}, QStringLiteral("\\d{4}/\\d{2}/\\d{2}"), true},
        {"Time", "nx_time_ins", "pop_time_ins", {}, QStringLiteral("\\d{1,2}:\\d{2}:\\d{2}"), true},
        {"FileName", "nx_fnameonly_ins", "pop_fnameonly_ins", file(named),
         QStringLiteral("名前.txt")},
        {"FullPath", "nx_fnamefull_ins", "pop_fnamefull_ins", file(named), named},
        {"SizeInBytes", "byte1", "byte2", file(bytes), QStringLiteral("1,234,567byte")},
        {"SizeInKbytes", "Kbyte1", "Kbyte2", file(kbyte), QStringLiteral("0Kbyte")},
        {"SizeInMbytes", "MbyteM1", "MbyteM2", file(mbyte), QStringLiteral("1.0Mbyte")},
        // Sorted by name; widths count bytes, so the double-byte name is 10 columns wide.
        {"ListOfNames", "nx_flist0", "pop_flist0", folder,
         listing(QStringLiteral("b.txt") + spaces(8), QStringLiteral("日本語.txt") + spaces(3))},
        {"ListInBytes", "nx_flist1", "pop_flist1", folder,
         listing(QStringLiteral("b.txt") + spaces(15) + QStringLiteral("3byte"),
                 QStringLiteral("日本語.txt") + spaces(2) + QStringLiteral("1,234,567byte"))},
        {"ListInKbytes", "nx_flist2", "pop_flist2", folder,
         listing(QStringLiteral("b.txt") + spaces(11) + QStringLiteral("0Kbyte"),
                 QStringLiteral("日本語.txt") + spaces(2) + QStringLiteral("1,205Kbyte"))},
        {"ListInMbytes", "nx_flist3", "pop_flist3", folder,
         listing(QStringLiteral("b.txt") + spaces(7) + QStringLiteral("0.0Mbyte"),
                 QStringLiteral("日本語.txt") + spaces(2) + QStringLiteral("1.2Mbyte"))},
        {"Mail", "nx_mail_ins", "pop_mail_ins",
         [](Inserting& t, ScriptedPrompter&) {
             t.settings().MailAdress = QStringLiteral("tama@example.jp");
         },
         QStringLiteral("tama@example.jp")},
        {"HomePage", "nx_hp_ins", "pop_hp_ins",
         [](Inserting& t, ScriptedPrompter&) {
             t.settings().HomePage = QStringLiteral("https://example.jp/～tama/");
         },
         QStringLiteral("https://example.jp/～tama/")},
        {"FixedText", "nx_def_text1_ins", "pop_def_text1_ins",
         [fixed](Inserting& t, ScriptedPrompter&) { t.settings().DefText1 = fixed; },
         QStringLiteral("拝啓\n敬具\n")},
    };
    for (const InsertRow& row : rows) {
        for (const QString& item : {row.menuItem, row.popupItem}) {
            SCOPED_TRACE(std::string(row.name) + " via " + item.toStdString());
            prompter->clear();
            loadWithCaretInside();
            if (row.prepare) row.prepare(*this, *prompter);
            window->tool_state_refresh();
            ASSERT_TRUE(enabled(item));
            window->trigger(item);
            EXPECT_TRUE(prompter->allAnswered());
            const QString text = paneText();
            ASSERT_TRUE(text.startsWith(u'a') && text.endsWith(u'b')) << text.toStdString();
            const QString inserted = text.mid(1, text.size() - 2);
            if (row.matchPattern)
                EXPECT_TRUE(QRegularExpression(QRegularExpression::anchoredPattern(row.inserted))
                                .match(inserted)
                                .hasMatch())
                    << inserted.toStdString();
            else
                EXPECT_EQ(inserted, row.inserted);
            EXPECT_EQ(pane()->textCursor().position(), 1 + inserted.size()) << "the caret follows";
            window->trigger(QStringLiteral("nx_edit_undo"));
            EXPECT_EQ(paneText(), QStringLiteral("ab"));
        }
    }
}

TEST_F(Inserting, TheSeparatorButtonAndTheListsCaptionsAndChoosersStartInTheWorkFolder) {
    loadWithCaretInside();
    settings().BreakLineString = QStringLiteral("1234567");
    window->trigger(QStringLiteral("sp_break"));
    EXPECT_EQ(paneText(), QStringLiteral("a\n") + QString(QStringLiteral("1234567")).repeated(8) +
                              QStringLiteral("\nb"));

    settings().WorkDir = m_dir.path();
    prompter->answerFile(std::nullopt).answerFile(std::nullopt).answerText(std::nullopt);
    window->trigger(QStringLiteral("nx_fnameonly_ins"));
    window->trigger(QStringLiteral("Kbyte2"));
    window->trigger(QStringLiteral("pop_flist2"));
    ASSERT_EQ(prompter->asked().size(), 3u);
    EXPECT_EQ(prompter->asked()[0].text,
              QStringLiteral("指定ファイルネーム文字列をテキストに挿入"));
    EXPECT_EQ(prompter->asked()[1].text,
              QStringLiteral("指定ファイルのファイルサイズをテキストに挿入"));
    for (int i : {0, 1}) {
        EXPECT_EQ(prompter->asked()[i].dialog.directory, m_dir.path());
        EXPECT_EQ(prompter->asked()[i].dialog.filters.value(0).second, QStringLiteral("*.*"));
    }
    EXPECT_EQ(prompter->asked()[2].type, Asked::Type::Folder);
    EXPECT_EQ(prompter->asked()[2].text,
              QStringLiteral("ファイルリストで参照するフォルダを選択）"));
    EXPECT_EQ(prompter->asked()[2].value, m_dir.path());
    EXPECT_EQ(settings().WorkDir, m_dir.path()) << "a cancelled chooser keeps the work folder";
    EXPECT_EQ(paneText().size(), 2 + 2 + 56) << "cancelling inserts nothing";
}

TEST_F(Inserting, TheChosenFilesFolderBecomesTheWorkFolderEvenOverASelection) {
    const QString folder = folderWith(QStringLiteral("選んだ"), {{QStringLiteral("a.txt"), 5}});
    loadWithCaretInside();
    select(0, 2);
    prompter->answerFile(folder + QStringLiteral("/a.txt"));
    window->trigger(QStringLiteral("nx_fnamefull_ins"));
    EXPECT_EQ(settings().WorkDir, folder);
    EXPECT_EQ(paneText(), QStringLiteral("ab")) << "nothing goes over a selection";
}

TEST_F(Inserting, WhileTextIsSelectedTheMenusAndTheButtonAreOffAndTheEntriesLeaveItAlone) {
    settings().MailAdress = QStringLiteral("tama@example.jp");
    settings().HomePage = QStringLiteral("https://example.jp/");
    loadWithCaretInside();
    EXPECT_TRUE(enabled(QStringLiteral("sp_break")));
    select(0, 1);
    for (const char* name : {"Insert1", "pop_ins", "sp_break"})
        EXPECT_FALSE(enabled(QString::fromLatin1(name))) << name;
    for (const char* name : {"nx_date_ins", "pop_time_ins", "nx_mail_ins", "pop_hp_ins"})
        window->trigger(QString::fromLatin1(name));
    EXPECT_EQ(paneText(), QStringLiteral("ab"));
    EXPECT_FALSE(enabled(QStringLiteral("nx_edit_undo"))) << "no snapshot was taken";
}

TEST_F(Inserting, MailHomePageAndFixedTextAreOffUntilTheirSettingIsSet) {
    const char* const items[][2] = {{"nx_mail_ins", "pop_mail_ins"},
                                    {"nx_hp_ins", "pop_hp_ins"},
                                    {"nx_def_text1_ins", "pop_def_text1_ins"}};
    window->tool_state_refresh();
    for (const auto& pair : items)
        for (const char* name : pair)
            EXPECT_FALSE(enabled(QString::fromLatin1(name))) << name;
    settings().MailAdress = QStringLiteral("m");
    settings().HomePage = QStringLiteral("h");
    settings().DefText1 = QStringLiteral("f");
    window->menu(QStringLiteral("Insert1"))->aboutToShow();
    for (const auto& pair : items)
        for (const char* name : pair)
            EXPECT_TRUE(enabled(QString::fromLatin1(name))) << name;
}

TEST_F(Inserting, AMissingFixedTextFileIsAnnouncedAndInsertsNothing) {
    settings().DefText1 = path(QStringLiteral("ない.txt"));
    loadWithCaretInside();
    prompter->answer(Answer::Yes);
    window->trigger(QStringLiteral("nx_def_text1_ins"));
    ASSERT_EQ(prompter->asked().size(), 1u);
    EXPECT_EQ(prompter->last().kind, MessageKind::Confirmation);
    EXPECT_EQ(prompter->last().buttons, Answers(Answer::Yes));
    EXPECT_EQ(
        prompter->last().text,
        QStringLiteral("指定テキストファイルが見つからないにゃ！\r環境設定でセットしてみてにゃ。"));
    EXPECT_EQ(paneText(), QStringLiteral("ab"));
    EXPECT_FALSE(enabled(QStringLiteral("nx_edit_undo")));
}

TEST_F(Inserting, TheFixedTextEndsAtAZeroByteAndAlwaysEndsWithALineBreak) {
    const QString fixed = path(QStringLiteral("定型.txt"));
    settings().DefText1 = fixed;
    for (const auto& [content, expected] :
         {std::pair{sjis("一行目\r二行目"), QStringLiteral("一行目\n二行目\n")},
          std::pair{QByteArray("before\nNUL", 10) + QByteArray(1, '\0') + "after\r\n",
                    QStringLiteral("before\nNUL\n")}}) {
        writeAll(fixed, content);
        loadWithCaretInside();
        window->trigger(QStringLiteral("pop_def_text1_ins"));
        EXPECT_EQ(paneText(), u'a' + expected + u'b');
    }
}

TEST_F(Inserting, AFolderThatCannotBeListedIsReportedAndAnEmptyOneGivesTwoBreaks) {
    loadWithCaretInside();
    const QString gone = path(QStringLiteral("消えた"));
    prompter->answerText(gone).answer(Answer::Yes);
    window->trigger(QStringLiteral("nx_flist1"));
    EXPECT_EQ(prompter->last().kind, MessageKind::Error);
    EXPECT_TRUE(prompter->last().text.contains(gone)) << prompter->last().text.toStdString();
    EXPECT_EQ(paneText(), QStringLiteral("ab"));

    const QString empty = path(QStringLiteral("空"));
    ASSERT_TRUE(QDir().mkpath(empty));
    prompter->answerText(empty + u'/');
    window->trigger(QStringLiteral("pop_flist3"));
    EXPECT_EQ(paneText(), QStringLiteral("a\n\nb"));
}

TEST_F(Inserting, ASizeOfAFileGoneSinceItWasChosenIsReported) {
    loadWithCaretInside();
    const QString gone = path(QStringLiteral("消えた.txt"));
    prompter->answerFile(gone).answer(Answer::Ok);
    window->trigger(QStringLiteral("byte1"));
    EXPECT_EQ(prompter->last().kind, MessageKind::Error);
    EXPECT_TRUE(prompter->last().text.startsWith(QDir::toNativeSeparators(gone)));
    EXPECT_EQ(paneText(), QStringLiteral("ab"));
}

} // namespace
} // namespace pote::test
