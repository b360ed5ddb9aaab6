// Find, replace and the search across all sections through the window, and the character count.

#include "gui_fixture.h"

#include "app/ui/section_binding.h"
#include "core/cp932.h"
#include "core/mascot_reactions.h"
#include "editing/replace.h"
#include "editing/search_messages.h"
#include "editing/ui/character_count_dialog.h"
#include "editing/ui/edit_pane.h"
#include "editing/ui/find_dialog.h"
#include "editing/ui/pane_search.h"
#include "editing/ui/pane_undo.h"
#include "editing/ui/rep_fm.h"
#include "editing/ui/section_hits_window.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTextDocument>

#include <random>

namespace pote::test {
namespace {

class Search : public WindowTest {
protected:
    void load(const QString& text) {
        store().section(store().current).text = cp932::encodeFromPane(text);
        window->binding().section_load(store().current);
        store().setModified(false);
    }
    PaneRange selection() {
        const QTextCursor c = pane()->textCursor();
        return {c.selectionStart(), c.selectionEnd() - c.selectionStart()};
    }
    void calmCat() { window->mascotView()->mascot_react(ReactionIdle); }

    FindDialog* openFind(const QString& text, bool matchCase = false) {
        window->trigger(QStringLiteral("Find1"));
        auto* dialog = window->findChild<FindDialog*>();
        if (dialog) {
            dialog->setFindText(text);
            dialog->findChild<QCheckBox*>(QStringLiteral("cb_match_case"))->setChecked(matchCase);
        }
        return dialog;
    }
    static void click(QWidget* dialog, const char* button) {
        dialog->findChild<QPushButton*>(QString::fromLatin1(button))->click();
    }

    // Opens the replace dialog and plays its user: play gets the dialog, already active.
    void replace(const std::function<void(Trep_fm&)>& play) {
        window->setModalRunner([play](QDialog& d) {
            auto& dialog = dynamic_cast<Trep_fm&>(d);
            dialog.FormActivate();
            play(dialog);
            return int(QDialog::Rejected);
        });
        window->trigger(QStringLiteral("nx_replace"));
    }
};

TEST_F(Search, FindNextHonoursTheCaseBoxAndSelectsAfterDoubleByteText) {
    load(QStringLiteral("日本語のABC\nａｂｃ、abc。\nAbc"));
    FindDialog* find = openFind(QStringLiteral("abc"));
    ASSERT_NE(find, nullptr);
    EXPECT_EQ(find->windowTitle(), QStringLiteral("検索"));
    EXPECT_FALSE(find->isModal());

    calmCat();
    click(find, "find_next_bt");
    EXPECT_EQ(selection(), (PaneRange{4, 3})) << "ABC: the box is not ticked";
    EXPECT_EQ(window->mascotView()->currentReaction(), ReactionHit);
    click(find, "find_next_bt");
    EXPECT_EQ(selection(), (PaneRange{12, 3})) << "full-width letters are other letters";
    click(find, "find_next_bt");
    EXPECT_EQ(selection(), (PaneRange{17, 3})) << "a hit that ends the text";

    calmCat();
    click(find, "find_next_bt");
    EXPECT_EQ(window->mascotView()->currentReaction(), ReactionNotFound);
    EXPECT_EQ(selection(), (PaneRange{17, 3})) << "no wrap-around: the selection stays";

    select(0, 0);
    find->findChild<QCheckBox*>(QStringLiteral("cb_match_case"))->setChecked(true);
    click(find, "find_next_bt");
    EXPECT_EQ(selection(), (PaneRange{12, 3})) << "a ticked box skips ABC and Abc";
    EXPECT_TRUE(find->isVisible()) << "the dialog stays open across searches";
}

TEST_F(Search, F3RepeatsTheLastSearchAndOpensTheDialogFirst) {
    load(QStringLiteral("ねこ ねこ ねこ"));
    window->trigger(QStringLiteral("nx_find_next"));
    auto* find = window->findChild<FindDialog*>();
    ASSERT_NE(find, nullptr) << "nothing searched yet: F3 opens the dialog";
    EXPECT_TRUE(find->isVisible());
    EXPECT_EQ(window->action(QStringLiteral("nx_find_next"))->shortcut(), QKeySequence(Qt::Key_F3));

    find->setFindText(QStringLiteral("ねこ"));
    click(find, "find_next_bt");
    EXPECT_EQ(selection(), (PaneRange{0, 2}));
    find->hide();
    window->trigger(QStringLiteral("nx_find_next"));
    EXPECT_EQ(selection(), (PaneRange{3, 2}));
    EXPECT_FALSE(find->isVisible());
}

TEST_F(Search, FindNextScrollsAFarHitToTheMiddle) {
    window->resize(600, 400);
    window->show();
    QString text;
    for (int i = 0; i < 300; ++i)
        text +=
            (i == 200 ? QStringLiteral("ここに的がある") : QStringLiteral("行 %1").arg(i)) + u'\n';
    load(text);
    FindDialog* find = openFind(QStringLiteral("的"));
    click(find, "find_next_bt");
    const int first = pane()->verticalScrollBar()->value();
    const int visible = pane()->viewport()->height() / pane()->fontMetrics().lineSpacing();
    EXPECT_EQ(200 - first, visible / 2) << "the hit's line sits in the middle of the view";
}

TEST_F(Search, ReplacingFarAwayBringsTheReplacementIntoView) {
    window->resize(600, 400);
    window->show();
    QString text;
    for (int i = 0; i < 300; ++i)
        text +=
            (i == 200 ? QStringLiteral("ここに的がある") : QStringLiteral("行 %1").arg(i)) + u'\n';
    load(text);
    replace([&](Trep_fm& d) {
        d.setFindText(QStringLiteral("的"));
        d.setReplacementText(QStringLiteral("矢"));
        click(&d, "rep_bt");
        QCoreApplication::processEvents();
        const int first = pane()->verticalScrollBar()->value();
        const int visible = pane()->viewport()->height() / pane()->fontMetrics().lineSpacing();
        EXPECT_LE(first, 200);
        EXPECT_GT(first + visible, 200) << first;
    });
}

TEST_F(Search, TheReplaceDialogAsDesigned) {
    replace([](Trep_fm& d) {
        EXPECT_EQ(d.windowTitle(), QStringLiteral("検索"));
        EXPECT_EQ(d.size(), QSize(479, 193));
        EXPECT_TRUE(d.note().isEmpty());
        const std::pair<const char*, const char*> buttons[] = {
            {"find_bt", "次を検索(&F)"},
            {"rep_bt", "置換して次へ(&R)"},
            {"all_rep_bt", "すべての行を置換(&A)"},
            {"sel_rep_bt", "選択範囲をすべて置換(&S)"},
            {"Button5", "キャンセル"}};
        for (const auto& [name, caption] : buttons)
            EXPECT_EQ(d.findChild<QPushButton*>(QString::fromLatin1(name))->text(),
                      QString::fromUtf8(caption))
                << name;
        EXPECT_EQ(d.findChild<QLabel*>(QStringLiteral("Label1"))->text(),
                  QStringLiteral("置換前の文字列(&N)"));
        EXPECT_EQ(d.findChild<QLabel*>(QStringLiteral("Label2"))->text(),
                  QStringLiteral("置換後の文字列(&P)"));
        auto* box = d.findChild<QCheckBox*>(QStringLiteral("cb_find_real"));
        EXPECT_EQ(box->text(), QStringLiteral("大文字と小文字を区別する(&C)"));
        EXPECT_FALSE(box->isChecked());

        d.findChild<QLineEdit*>(QStringLiteral("rep_find_ed"))->setText(QStringLiteral("a"));
        EXPECT_EQ(d.note(), QStringLiteral("なんか入力してるにゃ～～？？"));
        d.findChild<QLineEdit*>(QStringLiteral("rep_str_ed"))->setText(QStringLiteral("b"));
        EXPECT_EQ(d.note(), QStringLiteral("その文字に変換したいにゃん？？"));
        d.FormActivate();
        EXPECT_TRUE(d.note().isEmpty()) << "activation empties the bar";

        // What the boxes hold is what is searched for: one line, in characters CP932 has.
        auto* findBox = d.findChild<QLineEdit*>(QStringLiteral("rep_find_ed"));
        findBox->clear();
        findBox->insert(QStringLiteral("波\u301Cだ\n次の行"));
        EXPECT_EQ(d.findText(), QStringLiteral("波\uFF5Eだ"));
    });
}

TEST_F(Search, EnterInTheReplaceDialogFindsTheNextAndNeverReplaces) {
    load(QStringLiteral("word word"));
    replace([&](Trep_fm& d) {
        d.setFindText(QStringLiteral("word"));
        d.findChild<QLineEdit*>(QStringLiteral("rep_str_ed"))->setText(QStringLiteral("X"));
        d.show(); // the default button answers Enter only while it shows
        QTest::keyClick(d.findChild<QLineEdit*>(QStringLiteral("rep_find_ed")), Qt::Key_Return);
        EXPECT_EQ(selection(), (PaneRange{0, 4}));
        QTest::keyClick(d.findChild<QLineEdit*>(QStringLiteral("rep_str_ed")), Qt::Key_Enter);
        EXPECT_EQ(selection(), (PaneRange{5, 4}));
        EXPECT_EQ(paneText(), QStringLiteral("word word"));
        d.hide();
    });
}

TEST_F(Search, ReplaceDialogFindHonoursTheCaseBox) {
    load(QStringLiteral("WORD word"));
    replace([&](Trep_fm& d) {
        d.setFindText(QStringLiteral("word"));
        d.setMatchCase(true);
        click(&d, "find_bt");
        EXPECT_EQ(selection(), (PaneRange{5, 4}));
        calmCat();
        click(&d, "find_bt");
        EXPECT_EQ(window->mascotView()->currentReaction(), ReactionNotFound);
        EXPECT_EQ(d.note(), QStringLiteral("発見できなかったにゃ！！"));
        EXPECT_EQ(selection(), (PaneRange{5, 4}));
    });
}

TEST_F(Search, ReplaceOneByOneThenUndo) {
    load(QStringLiteral("猫と猫と猫"));
    select(1, 1);
    replace([&](Trep_fm& d) {
        d.setFindText(QStringLiteral("猫"));
        d.setReplacementText(QStringLiteral("ねこ"));
        click(&d, "rep_bt");
        EXPECT_EQ(paneText(), QStringLiteral("猫とねこと猫"));
        EXPECT_EQ(selection(), (PaneRange{5, 1})) << "the next one is selected";
        EXPECT_EQ(window->mascotView()->currentReaction(), ReactionHit);
        click(&d, "rep_bt");
        EXPECT_EQ(paneText(), QStringLiteral("猫とねことねこ"));
        EXPECT_EQ(d.note(), QStringLiteral("もう無いみたいだにゃ！！"));
        d.FormActivate();
        calmCat();
        click(&d, "rep_bt");
        EXPECT_EQ(window->mascotView()->currentReaction(), ReactionNotFound);
        EXPECT_TRUE(d.note().isEmpty()) << "nothing found: only the cat says so";
    });
    EXPECT_TRUE(store().isModified());
    window->trigger(QStringLiteral("nx_edit_undo"));
    EXPECT_EQ(paneText(), QStringLiteral("猫とねこと猫")) << "undo takes back the last replacement";
}

TEST_F(Search, ReplaceNextWithTheCaseBoxTickedSkipsOtherCase) {
    load(QStringLiteral("Cat cat"));
    replace([&](Trep_fm& d) {
        d.setFindText(QStringLiteral("cat"));
        d.setReplacementText(QStringLiteral("dog"));
        d.setMatchCase(true);
        click(&d, "rep_bt");
    });
    EXPECT_EQ(paneText(), QStringLiteral("Cat dog"));
}

TEST_F(Search, ReplaceAllCountsAndStopsAfter1001) {
    load(QStringLiteral("aaa"));
    replace([&](Trep_fm& d) {
        d.setFindText(QStringLiteral("a"));
        d.setReplacementText(QStringLiteral("aa"));
        click(&d, "all_rep_bt");
        EXPECT_EQ(paneText(), QStringLiteral("aaaaaa"));
        EXPECT_EQ(d.note(), QStringLiteral("3個の文字列を置換しちゃったにゃん。"));
        EXPECT_EQ(window->mascotView()->currentReaction(), ReactionReplaced);
    });

    QString many;
    for (int i = 0; i < 1500; ++i)
        many += QStringLiteral("にゃ\n");
    load(many);
    replace([&](Trep_fm& d) {
        d.setFindText(QStringLiteral("にゃ"));
        d.setReplacementText(QStringLiteral("ワン"));
        click(&d, "all_rep_bt");
        EXPECT_EQ(d.note(), QStringLiteral("1001個の文字列を置換しちゃったにゃん。"));
    });
    EXPECT_EQ(paneText().count(QStringLiteral("ワン")), 1001);
    EXPECT_EQ(paneText().count(QStringLiteral("にゃ")), 499);
    EXPECT_EQ(selection(), (PaneRange{0, 0}))
        << "rewritten as a whole: the caret goes to the start";
    window->trigger(QStringLiteral("nx_edit_undo"));
    EXPECT_EQ(paneText(), many);
}

TEST_F(Search, ReplaceAllWithTheBoxTickedOrNothingToFind) {
    load(QStringLiteral("Nya nya NYA"));
    replace([&](Trep_fm& d) {
        d.setFindText(QStringLiteral("nya"));
        d.setReplacementText(QStringLiteral("にゃ"));
        d.setMatchCase(true);
        click(&d, "all_rep_bt");
        EXPECT_EQ(paneText(), QStringLiteral("Nya にゃ NYA"));

        d.setFindText(QString());
        click(&d, "all_rep_bt");
        EXPECT_EQ(d.note(), QStringLiteral("文字列ぜんぜん無いみたいだにゃん。"));
    });

    load(QStringLiteral("abc abc"));
    select(1, 2);
    replace([&](Trep_fm& d) {
        d.setFindText(QStringLiteral("abc"));
        d.setReplacementText(QStringLiteral("abc"));
        click(&d, "all_rep_bt");
        EXPECT_EQ(d.note(), QStringLiteral("2個の文字列を置換しちゃったにゃん。"));
    });
    EXPECT_EQ(selection(), (PaneRange{1, 1})) << "the same text again leaves the pane alone";
}

TEST_F(Search, ReplaceInTheSelectionOnly) {
    load(QStringLiteral("ab ab ab ab"));
    select(2, 9);
    replace([&](Trep_fm& d) {
        d.setFindText(QStringLiteral("ab"));
        d.setReplacementText(QStringLiteral("にゃー"));
        click(&d, "sel_rep_bt");
        EXPECT_EQ(d.note(), QStringLiteral("2個の文字列を置換しちゃったにゃん。"));
    });
    EXPECT_EQ(paneText(), QStringLiteral("ab にゃー にゃー ab"))
        << "an occurrence cut by the selection's end stays";
    EXPECT_EQ(selection(), (PaneRange{11, 0})) << "the caret ends after the replaced selection";
    window->trigger(QStringLiteral("nx_edit_undo"));
    EXPECT_EQ(paneText(), QStringLiteral("ab ab ab ab"));
}

TEST_F(Search, ReplaceInASelectionWithoutAMatch) {
    load(QStringLiteral("xyz xyz"));
    select(0, 3);
    replace([&](Trep_fm& d) {
        d.setFindText(QStringLiteral("q"));
        d.FormActivate();
        click(&d, "sel_rep_bt");
        EXPECT_TRUE(d.note().isEmpty()) << "no message";
        select(4, 4);
        click(&d, "sel_rep_bt"); // an empty selection: nothing at all
    });
    EXPECT_EQ(paneText(), QStringLiteral("xyz xyz"));
    EXPECT_FALSE(window->undo().available()) << "no snapshot";
    EXPECT_TRUE(store().isModified()) << "the selection counts as replaced";
}

class SearchAll : public Search {
protected:
    void SetUp() override {
        Search::SetUp();
        store().section(0).name = cp932::encode(u"序章");
        store().section(0).text = cp932::encode(u"はじまり\r\n黒い猫が来た");
        store().appendEmpty();
        store().section(1).name = cp932::encode(u"第一章");
        store().section(1).text = cp932::encode(u"一行目\r\n二行目\r\n三行目の猫と猫");
        store().appendEmpty();
        store().section(2).name = cp932::encode(u"終章");
        store().section(2).text = cp932::encode(u"犬だけ");
        window->binding().section_load(0);
        store().setModified(false);
    }
    SectionHitsWindow* searchAll(const QString& text) {
        FindDialog* find = openFind(text);
        click(find, "search_all_bt");
        auto* hits = window->findChild<SectionHitsWindow*>();
        if (hits) {
            EXPECT_TRUE(QTest::qWaitFor([&] {
                return hits->note().contains(u"見つけたにゃん") ||
                       hits->note().contains(u"無かった");
            }));
        }
        return hits;
    }
};

TEST_F(SearchAll, ListsHitsOfEverySectionWithThePanesUnsavedText) {
    typeInPane(QStringLiteral("猫"));
    SectionHitsWindow* hits = searchAll(QStringLiteral("猫"));
    ASSERT_NE(hits, nullptr);
    EXPECT_EQ(hits->note(), searchedNote(4, false, false));
    ASSERT_EQ(hits->rowCount(), 4);
    EXPECT_EQ(hits->rowText(0, 0), QStringLiteral("No.001   序章"));
    EXPECT_EQ(hits->rowText(0, 1), QStringLiteral("1"));
    EXPECT_EQ(hits->rowText(0, 2), QStringLiteral("猫はじまり")) << "the pane's unsaved text";
    EXPECT_EQ(hits->rowText(1, 1), QStringLiteral("2"));
    EXPECT_EQ(hits->rowText(2, 0), QStringLiteral("No.002   第一章"));
    EXPECT_EQ(hits->rowText(2, 1), QStringLiteral("3"));
    EXPECT_EQ(hits->rowText(3, 2), QStringLiteral("三行目の猫と猫"));
    EXPECT_EQ(window->mascotView()->currentReaction(), ReactionHit);
    EXPECT_EQ(store().section(0).text, cp932::encode(u"はじまり\r\n黒い猫が来た"))
        << "searching commits nothing";
}

TEST_F(SearchAll, ChoosingARowSwitchesAndSelectsEvenAfterTheTextMoved) {
    SectionHitsWindow* hits = searchAll(QStringLiteral("猫"));
    ASSERT_EQ(hits->rowCount(), 3);
    hits->chooseRow(2); // the second 猫 of section 2
    EXPECT_EQ(store().current, 1);
    EXPECT_EQ(selection(), (PaneRange{14, 1}));
    EXPECT_EQ(pane()->textCursor().selectedText(), QStringLiteral("猫"));
    EXPECT_EQ(window->mascotView()->currentReaction(), ReactionHit);

    // Text typed before the hit moves it; the row still finds it.
    select(0, 0);
    typeInPane(QStringLiteral("ああ"));
    hits->chooseRow(1);
    EXPECT_EQ(selection(), (PaneRange{14, 1}));

    // Gone altogether.
    hits->chooseRow(0);
    EXPECT_EQ(store().current, 0);
    select(0, pane()->document()->characterCount() - 1);
    typeInPane(QStringLiteral("空"));
    calmCat();
    hits->chooseRow(0);
    EXPECT_EQ(window->mascotView()->currentReaction(), ReactionNotFound);
    EXPECT_EQ(hits->note(), hitGoneNote());

    store().setCount(1);
    hits->chooseRow(2);
    EXPECT_EQ(hits->note(), sectionGoneNote());
}

TEST_F(SearchAll, NothingFound) {
    calmCat();
    SectionHitsWindow* hits = searchAll(QStringLiteral("象"));
    ASSERT_NE(hits, nullptr);
    EXPECT_EQ(hits->rowCount(), 0);
    EXPECT_EQ(hits->note(), QStringLiteral("どのセクションにも無かったにゃ。"));
    EXPECT_EQ(window->mascotView()->currentReaction(), ReactionNotFound);
}

TEST_F(Search, CharacterCountOfSelectionSectionAndDocument) {
    store().section(0).text = cp932::encode(u"吾輩は猫である。\r\nName is 未だ無い。");
    store().appendEmpty();
    store().section(1).text = cp932::encode(u"　ねこ\r\n");
    window->binding().section_load(0);
    select(0, 3);
    std::optional<CountsShown> seen;
    QString selectionChars, pages;
    window->setModalRunner([&](QDialog& d) {
        auto& dialog = dynamic_cast<CharacterCountDialog&>(d);
        selectionChars =
            dialog.cell(CharacterCountDialog::Characters, CharacterCountDialog::Selection);
        pages = dialog.cell(CharacterCountDialog::Pages, CharacterCountDialog::Document);
        return int(QDialog::Accepted);
    });
    window->trigger(QStringLiteral("nx_char_count"));
    EXPECT_EQ(selectionChars, QStringLiteral("3"));
    EXPECT_EQ(pages, QStringLiteral("2 枚")) << "each section starts a page";

    window->setModalRunner([&](QDialog& d) {
        auto& dialog = dynamic_cast<CharacterCountDialog&>(d);
        const auto cell = [&](CharacterCountDialog::Row row, CharacterCountDialog::Column column) {
            return dialog.cell(row, column);
        };
        using D = CharacterCountDialog;
        EXPECT_TRUE(cell(D::Characters, D::Selection).isEmpty()) << "no selection, no column";
        // "ab" typed, 8 and 13 characters on the two lines; the break does not count.
        EXPECT_EQ(cell(D::Characters, D::Section), QStringLiteral("23"));
        EXPECT_EQ(cell(D::NonSpace, D::Section), QStringLiteral("21"));
        EXPECT_EQ(cell(D::Lines, D::Section), QStringLiteral("2"));
        EXPECT_EQ(cell(D::Bytes, D::Section), QStringLiteral("38"));
        EXPECT_EQ(cell(D::Characters, D::Document), QStringLiteral("26"))
            << "the pane's typing counts";
        EXPECT_EQ(cell(D::Lines, D::Document), QStringLiteral("3"));
        return int(QDialog::Accepted);
    });
    select(0, 0);
    typeInPane(QStringLiteral("ab"));
    window->trigger(QStringLiteral("nx_char_count"));
}

// The pane search against the byte search over the whole text: random lines of Japanese and
// Latin letters, random patterns, every start.
TEST_F(Search, PaneSearchAgreesWithSearchingTheWholeBytes) {
    std::mt19937 random(15);
    const QString alphabet = QStringLiteral("aAbBａＡ猫ネ\x30FC ｱ");
    for (int round = 0; round < 40; ++round) {
        QString text;
        const int length = static_cast<int>(random() % 60);
        for (int i = 0; i < length; ++i)
            text += random() % 8 == 0 ? QChar(u'\n')
                                      : alphabet[static_cast<int>(random() % alphabet.size())];
        QString pattern;
        for (int i = 0, n = 1 + static_cast<int>(random() % 3); i < n; ++i)
            pattern += alphabet[static_cast<int>(random() % alphabet.size())];
        load(text);
        const QByteArray bytes = cp932::encodeFromPane(text);
        const QByteArray patternBytes = cp932::encode(pattern);
        const auto position = [&](qsizetype byte) {
            return static_cast<int>(cp932::decodeForPane(bytes.first(byte)).size());
        };
        for (const CaseMode mode : {CaseMode::Sensitive, CaseMode::Insensitive}) {
            const PaneSearcher searcher(*pane()->document(), patternBytes, mode);
            for (qsizetype from = 0; from <= bytes.size();
                 from += cp932::charLengthAt(bytes, from)) {
                if (from > 0 && bytes[from - 1] == '\r')
                    continue; // inside a line break: no pane position
                const qsizetype m = search_from(bytes, patternBytes, from, mode);
                const PaneRange hit = searcher.find(position(from));
                ASSERT_EQ(hit.start, m < 0 ? -1 : position(m)) << round << " from " << from;
                if (m >= 0) {
                    EXPECT_EQ(hit.length, pattern.size());
                }
                if (from == bytes.size()) break;
            }
            const ReplaceAllResult all = replace_all(bytes, patternBytes, "#", mode);
            EXPECT_EQ(static_cast<int>(searcher.findAll(0, -1, kReplaceAllLimit).size()),
                      all.count);
        }
    }
}

// Past its first quarter megabyte a search reads the whole text, and encodes it a megabyte at a
// time: hits beyond, and on both sides of a chunk's end, are found all the same.
TEST_F(Search, PaneSearchFarAwayAndAcrossChunks) {
    const QString line = QString(99, u'x') + u'\n';
    QString text;
    const std::vector<int> hitLines = {10, 3000, 10485, 10486, 21000};
    for (int i = 0; i < 22000; ++i)
        text += std::count(hitLines.begin(), hitLines.end(), i)
                    ? QStringLiteral("xx猫") + line.mid(3)
                    : line;
    pane()->loadText(text);
    const PaneSearcher searcher(*pane()->document(), cp932::encode(u"猫"), CaseMode::Sensitive);
    std::vector<PaneRange> expected;
    for (const int at : hitLines)
        expected.push_back({at * 100 + 2, 1});
    int from = 0;
    for (const PaneRange& hit : expected) {
        EXPECT_EQ(searcher.find(from), hit);
        from = hit.end();
    }
    EXPECT_FALSE(searcher.find(from).found());
    EXPECT_EQ(searcher.findAll(0, -1, 100), expected);
    EXPECT_EQ(searcher.findAll(0, -1, 2).size(), 2u);
    EXPECT_EQ(searcher.findAll(3000 * 100, 10486 * 100 + 2, 100),
              (std::vector<PaneRange>{expected[1], expected[2]}))
        << "an occurrence cut by the end is not one";
    EXPECT_EQ(searcher.findAll(10485 * 100, 10487 * 100, 100),
              (std::vector<PaneRange>{expected[2], expected[3]}))
        << "a small part of a long text";
}

} // namespace
} // namespace pote::test
