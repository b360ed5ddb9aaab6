// Copies of unsaved work while the window runs, and their offer at the next start.

#include "gui_fixture.h"

#include "app/ui/document_commands.h"
#include "app/ui/password_dialogs.h"
#include "app/ui/recovery_commands.h"
#include "app/ui/section_binding.h"
#include "core/cp932.h"
#include "editing/ui/edit_pane.h"
#include "recovery/recovery_file.h"
#include "support/test_files.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QRandomGenerator>
#include <QTextCursor>
#include <QTextDocument>
#include <QThread>

namespace pote::test {
namespace {

using recovery::RecoveryHeader;

const docfile::PasswordGate acceptAll = [](const QByteArray&) { return true; };

SectionStore novel(const char* firstText) {
    SectionStore store;
    store.section(0).name = sjis("序章");
    store.section(0).text = sjis(firstText);
    store.appendEmpty();
    store.section(1).name = sjis("第一章");
    store.section(1).text = sjis("猫は歩く。\r\n\tそして眠る。\r\n");
    store.appendEmpty();
    store.section(2).text = QByteArray("\x82\xA0\x81", 3); // ends in a stray byte
    return store;
}

void expectSameSections(const DocumentContent& a, const DocumentContent& b) {
    ASSERT_EQ(a.sections.size(), b.sections.size());
    for (size_t i = 0; i < a.sections.size(); ++i) {
        EXPECT_EQ(a.sections[i].section.name, b.sections[i].section.name) << i;
        EXPECT_EQ(a.sections[i].section.text, b.sections[i].section.text) << i;
        EXPECT_EQ(a.sections[i].section.group, b.sections[i].section.group) << i;
    }
    EXPECT_EQ(a.groupNames, b.groupNames);
    EXPECT_EQ(a.password, b.password);
}

class Recovery : public WindowTest {
protected:
    void SetUp() override { startWith({}); }

    QString folder() const { return path(QStringLiteral("recovery")); }
    QStringList copies() const {
        return QDir(folder()).entryList({QStringLiteral("*.recovery")}, QDir::Files, QDir::Name);
    }
    // A window whose copies go to folder() as soon as the poll sees a change.
    void startWith(const std::function<void(ScriptedPrompter&)>& script,
                   std::function<int(QDialog&)> modal = {}) {
        restart({}, [this, script, modal](StartOptions& options, ScriptedPrompter& p) {
            options.recovery = {folder(), std::chrono::milliseconds(0),
                                std::chrono::milliseconds(5)};
            options.modalRunner = modal;
            if (script) script(p);
        });
    }
    // Lets the window run until its copy satisfies done; the copy read, or a failure.
    recovery::RecoveryRead
    copyWhen(const std::function<bool(const recovery::RecoveryRead&)>& done) {
        QElapsedTimer clock;
        clock.start();
        recovery::RecoveryRead read;
        while (clock.elapsed() < 10000) {
            QCoreApplication::processEvents();
            QThread::msleep(5);
            const QStringList files = copies();
            if (files.size() != 1) continue;
            Result<recovery::RecoveryRead> copy =
                recovery::readRecoveryFile(QDir(folder()).filePath(files[0]), acceptAll);
            if (!copy) continue;
            read = std::move(copy).value();
            if (done(read)) return read;
        }
        ADD_FAILURE() << "no copy as expected in " << folder().toStdString();
        return read;
    }
    static bool holds(const recovery::RecoveryRead& read, int pos, const char* text) {
        return read.content.sections.at(size_t(pos)).section.text.contains(sjis(text));
    }
    // The writer removes copies on its own thread.
    void waitUntilNoCopy() {
        QElapsedTimer clock;
        clock.start();
        while (!copies().isEmpty() && clock.elapsed() < 5000) {
            QCoreApplication::processEvents();
            QThread::msleep(5);
        }
    }
    // A copy left by an editor that no longer runs.
    QString leftover(const QString& id, const SectionStore& store, const QDateTime& takenAt) {
        QDir().mkpath(folder());
        const QString file = folder() + u'/' + id + QStringLiteral(".recovery");
        EXPECT_TRUE(
            recovery::writeRecoveryFile(file, recovery::headerFor(store, takenAt), store.document())
                .ok());
        return file;
    }
    QString openNovel(const char* firstText) {
        const QString file = path(QStringLiteral("原稿.ptm"));
        EXPECT_TRUE(docfile::writeDocument(file, novel(firstText).document()).ok());
        EXPECT_TRUE(window->controllers().documents().document_read(file));
        return file;
    }
};

TEST_F(Recovery, CopyHoldsWhatASaveWouldWrite) {
    openNovel("はじめの文。\r\n");
    window->pane()->moveCursor(QTextCursor::End);
    typeInPane(QStringLiteral("書き足した行\n\tタブも"));
    window->binding().section_switch(0, 1);
    typeInPane(QStringLiteral("二章の冒頭に"));
    typeName(QStringLiteral("改"));
    const recovery::RecoveryRead copy =
        copyWhen([](const recovery::RecoveryRead& r) { return holds(r, 1, "二章の冒頭に"); });
    EXPECT_EQ(copy.header.currentSection, 1);
    EXPECT_EQ(copy.header.documentPath, path(QStringLiteral("原稿.ptm")));
    EXPECT_EQ(copy.header.displayName, QStringLiteral("原稿"));

    const QString saved = path(QStringLiteral("保存.ptm"));
    ASSERT_TRUE(window->controllers().documents().document_write(saved));
    const Result<docfile::DocumentRead> save = docfile::readDocument(saved, acceptAll);
    ASSERT_TRUE(save.ok());
    expectSameSections(copy.content, save->content);
    EXPECT_TRUE(holds(copy, 0, "書き足した行\r\n        タブも"));
    // Saved: nothing is left to recover.
    waitUntilNoCopy();
    EXPECT_TRUE(copies().isEmpty());
}

TEST_F(Recovery, CopyKeepsTheCodeACutTookToItsPaste) {
    // 蕙 in a code other programs write, cut from the first section and pasted in the second.
    SectionStore store = novel("");
    store.section(0).text = QByteArray("AB\xED\xD6\r\n\xEE\x7E");
    const QString file = path(QStringLiteral("原稿.ptm"));
    ASSERT_TRUE(docfile::writeDocument(file, store.document()).ok());
    ASSERT_TRUE(window->controllers().documents().document_read(file));
    select(4, 5);
    window->trigger(QStringLiteral("nx_edcut"));
    window->binding().section_switch(0, 1);
    window->trigger(QStringLiteral("nx_edpaste"));
    const recovery::RecoveryRead copy = copyWhen([](const recovery::RecoveryRead& r) {
        return r.content.sections.at(1).section.text.startsWith("\xEE\x7E");
    });
    const QString saved = path(QStringLiteral("保存.ptm"));
    ASSERT_TRUE(window->controllers().documents().document_write(saved));
    const Result<docfile::DocumentRead> save = docfile::readDocument(saved, acceptAll);
    ASSERT_TRUE(save.ok());
    expectSameSections(copy.content, save->content);
}

TEST_F(Recovery, ProtectedDocumentIsCopiedScrambled) {
    store().setPassword("Neko2024");
    typeInPane(QStringLiteral("ひみつの文"));
    const recovery::RecoveryRead copy =
        copyWhen([](const recovery::RecoveryRead& r) { return holds(r, 0, "ひみつの文"); });
    EXPECT_EQ(copy.content.password, "Neko2024");
    const QByteArray raw = readAll(QDir(folder()).filePath(copies().at(0)));
    EXPECT_FALSE(raw.contains(sjis("ひみつの文")));
}

TEST_F(Recovery, CopyGoesWhenTheDocumentSettlesOrTheWindowCloses) {
    const struct {
        const char* name;
        std::function<void()> settle;
    } rows[] = {
        {"saved", [this] { window->controllers().documents().document_write(path("s.ptm")); }},
        {"new, changes given up",
         [this] {
             prompter->answer(Answer::No);
             window->trigger(QStringLiteral("nx_new_paper"));
         }},
        {"another document opened",
         [this] {
             ASSERT_TRUE(docfile::writeDocument(path("other.ptm"), novel("別").document()).ok());
             window->controllers().documents().document_read(path("other.ptm"));
         }},
        {"window closed, changes given up",
         [this] {
             prompter->answer(Answer::No);
             window->close();
             window.reset();
         }},
    };
    for (const auto& row : rows) {
        startWith({});
        typeInPane(QStringLiteral("消えるはずの写し"));
        copyWhen([](const recovery::RecoveryRead& r) { return holds(r, 0, "消えるはずの写し"); });
        row.settle();
        waitUntilNoCopy();
        EXPECT_TRUE(copies().isEmpty()) << row.name;
    }
}

TEST_F(Recovery, AFolderThatCannotHoldCopiesIsToldOnceAtStart) {
    writeAll(path(QStringLiteral("ふさがり")), "a file where a folder should be");
    const QString blocked = path(QStringLiteral("ふさがり/recovery"));
    restart({}, [&](StartOptions& options, ScriptedPrompter& p) {
        options.recovery = {blocked, std::chrono::milliseconds(0), std::chrono::milliseconds(5)};
        p.answer(Answer::Yes);
    });
    ASSERT_EQ(prompter->asked().size(), 1u) << "before the window shows";
    EXPECT_EQ(prompter->last().kind, MessageKind::Error);
    EXPECT_TRUE(prompter->last().text.startsWith(
        QStringLiteral("保存してない編集内容のコピーを置くフォルダが使えないにゃ。\r\n") + blocked +
        QStringLiteral("\r\n")))
        << prompter->last().text.toStdString();
    typeInPane(QStringLiteral("守られない文"));
    for (int i = 0; i < 20; ++i) {
        QCoreApplication::processEvents();
        QThread::msleep(5);
    }
    window->controllers().documents().document_reset();
    EXPECT_EQ(prompter->asked().size(), 1u) << "said once, not at every change";
}

TEST_F(Recovery, OfferRestoresAsModifiedAndRemembersThePath) {
    const QString original = path(QStringLiteral("原稿.ptm"));
    ASSERT_TRUE(docfile::writeDocument(original, novel("保存した版").document()).ok());
    const QByteArray originalBytes = readAll(original);
    SectionStore work = novel("書きかけの版");
    work.documentPath = original;
    work.displayName = QStringLiteral("原稿");
    work.current = 1;
    const QDateTime taken = QDateTime::currentDateTimeUtc().addSecs(-3600);
    const QString file = leftover(QStringLiteral("4242-0badcafe"), work, taken);

    startWith([](ScriptedPrompter& p) { p.answer(Answer::Yes); });
    ASSERT_EQ(prompter->asked().size(), 1u);
    const Asked& offer = prompter->asked()[0];
    EXPECT_EQ(offer.kind, MessageKind::Confirmation);
    EXPECT_EQ(offer.buttons, Answer::Yes | Answer::Discard | Answer::No);
    EXPECT_TRUE(
        offer.text.startsWith(QStringLiteral("前回、保存しないで終わっちゃったみたいにゃ。\r\n")));
    EXPECT_EQ(offer.text, RecoveryCommands::offerText(recovery::headerFor(work, taken)));
    EXPECT_TRUE(offer.text.contains(QStringLiteral("「原稿」")));
    EXPECT_TRUE(
        offer.text.contains(taken.toLocalTime().toString(QStringLiteral("yyyy/MM/dd HH:mm"))));

    EXPECT_TRUE(store().isModified());
    EXPECT_EQ(store().documentPath, original);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("ぽてまるエディター [原稿]"));
    EXPECT_EQ(store().current, 1);
    EXPECT_EQ(paneText(), cp932::decodeForPane(work.section(1).text));
    EXPECT_EQ(store().section(0).text, sjis("書きかけの版"));
    EXPECT_EQ(readAll(original), originalBytes) << "nothing is written before the user saves";
    // The leftover is this window's copy now.
    EXPECT_FALSE(QFile::exists(file));
    EXPECT_EQ(copies().size(), 1);

    window->trigger(QStringLiteral("nx_qsave"));
    const Result<docfile::DocumentRead> saved = docfile::readDocument(original, acceptAll);
    ASSERT_TRUE(saved.ok());
    EXPECT_EQ(saved->content.sections[0].section.text, sjis("書きかけの版"));
    waitUntilNoCopy();
    EXPECT_TRUE(copies().isEmpty());
}

TEST_F(Recovery, NoKeepsTheCopyForTheNextStartAndDiscardRemovesIt) {
    const QString file =
        leftover(QStringLiteral("77-12345678"), novel("残す"), QDateTime::currentDateTimeUtc());
    startWith([](ScriptedPrompter& p) { p.answer(Answer::No); });
    EXPECT_EQ(prompter->asked().size(), 1u);
    EXPECT_FALSE(store().isModified());
    EXPECT_TRUE(QFile::exists(file));

    startWith([](ScriptedPrompter& p) { p.answer(Answer::Discard); });
    EXPECT_EQ(prompter->asked().size(), 1u);
    EXPECT_FALSE(QFile::exists(file));
    EXPECT_FALSE(store().isModified());

    startWith({});
    EXPECT_TRUE(prompter->asked().empty());
    EXPECT_TRUE(copies().isEmpty());
}

TEST_F(Recovery, TwoLeftoversAreOfferedOldestFirst) {
    SectionStore older = novel("古い方");
    older.displayName = QStringLiteral("古");
    SectionStore newer = novel("新しい方");
    newer.displayName = QStringLiteral("新");
    const QDateTime now = QDateTime::currentDateTimeUtc();
    leftover(QStringLiteral("1-aaaaaaaa"), newer, now);
    leftover(QStringLiteral("2-bbbbbbbb"), older, now.addSecs(-60));

    // Both restored: the second replaces the first, after the usual save question.
    startWith(
        [](ScriptedPrompter& p) { p.answer(Answer::Yes).answer(Answer::Yes).answer(Answer::No); });
    ASSERT_EQ(prompter->asked().size(), 3u);
    EXPECT_TRUE(prompter->asked()[0].text.contains(QStringLiteral("「古」")));
    EXPECT_TRUE(prompter->asked()[1].text.contains(QStringLiteral("「新」")));
    EXPECT_EQ(prompter->asked()[2].text, saveQuestionText());
    EXPECT_EQ(store().section(0).text, sjis("新しい方"));
    EXPECT_TRUE(store().isModified());
    EXPECT_EQ(copies().size(), 1);
}

TEST_F(Recovery, ProtectedLeftoverAsksForItsPassword) {
    SectionStore work = novel("鍵つき");
    work.setPassword("Neko2024");
    const QString file =
        leftover(QStringLiteral("9-99999999"), work, QDateTime::currentDateTimeUtc());
    const auto typePassword = [](const QString& entry) {
        return [entry](QDialog& d) {
            auto& dialog = dynamic_cast<Tread_pass_fm&>(d);
            dialog.mask_ed->setText(entry);
            dialog.set_btClick();
            return dialog.result() == QDialog::Accepted ? int(QDialog::Accepted)
                                                        : int(QDialog::Rejected);
        };
    };

    // The dialog closed without the password: the copy stays for another try.
    startWith([](ScriptedPrompter& p) { p.answer(Answer::Yes).answer(Answer::Yes); },
              [](QDialog&) { return int(QDialog::Rejected); });
    EXPECT_FALSE(store().isModified());
    EXPECT_TRUE(QFile::exists(file));

    startWith([](ScriptedPrompter& p) { p.answer(Answer::Yes); }, typePassword("Neko2024"));
    EXPECT_TRUE(store().isModified());
    EXPECT_TRUE(store().hasPassword());
    EXPECT_EQ(store().section(0).text, sjis("鍵つき"));
}

// The copy of the pane, built from the edited stretches, against the pane's whole text.
TEST_F(Recovery, PaneCopyFollowsEveryKindOfEdit) {
    QRandomGenerator rng(2112);
    store().section(0).text =
        sjis("一行目\r\n二行目\r\rabc\n") + QByteArray("\x81\xFF", 2) + sjis("\r\n最後の行");
    window->binding().section_load(0);
    PaneTracker tracker(*window->pane(), window->binding());
    window->binding().section_load(0);
    EditPane* pane = window->pane();
    QTextDocument* doc = pane->textCursor().document(); // undone below, as PaneUndo does
    const auto at = [&](int position) {
        QTextCursor c(doc);
        c.setPosition(qBound(0, position, doc->characterCount() - 1));
        return c;
    };
    const std::vector<std::function<void()>> edits = {
        [&] { at(rng.bounded(doc->characterCount())).insertText(QStringLiteral("ね")); },
        [&] { at(rng.bounded(doc->characterCount())).insertText(QStringLiteral("改\n行")); },
        [&] {
            QTextCursor c = at(rng.bounded(doc->characterCount()));
            c.setPosition(qMin(c.position() + rng.bounded(12), doc->characterCount() - 1),
                          QTextCursor::KeepAnchor);
            c.removeSelectedText();
        },
        [&] { // one edit block with changes far apart
            QTextCursor c(doc);
            c.beginEditBlock();
            c.setPosition(0);
            c.insertText(QStringLiteral("頭"));
            c.movePosition(QTextCursor::End);
            c.insertText(QStringLiteral("尾\n"));
            c.endEditBlock();
        },
        [&] { doc->undo(); },
        [&] {
            pane->setTextCursor(at(rng.bounded(doc->characterCount())));
            typeText(pane, QStringLiteral("打\n"));
        },
        [&] {
            pane->setTextCursor(at(rng.bounded(doc->characterCount())));
            QKeyEvent back(QEvent::KeyPress, Qt::Key_Backspace, Qt::NoModifier);
            QCoreApplication::sendEvent(pane, &back);
        },
        [&] { pane->replaceAllText(pane->toPlainText() + QStringLiteral("全体")); },
    };
    for (int step = 0; step < 400; ++step) {
        edits[size_t(rng.bounded(int(edits.size())))]();
        if (step % 7 != 0) continue;
        const std::optional<recovery::PaneCopy> copy = tracker.copy();
        ASSERT_TRUE(copy) << "step " << step;
        const std::optional<QString> rebuilt = recovery::rebuildPaneText(*copy);
        ASSERT_TRUE(rebuilt) << "step " << step;
        ASSERT_EQ(*rebuilt, pane->toPlainText()) << "step " << step;
    }
}

TEST_F(Recovery, TypingInOnePlaceCopiesOnlyWhatWasTyped) {
    store().section(0).text = QByteArray(200000, 'a');
    window->binding().section_load(0);
    PaneTracker tracker(*window->pane(), window->binding());
    window->binding().section_load(0);
    QTextCursor middle = window->pane()->textCursor();
    middle.setPosition(100000);
    window->pane()->setTextCursor(middle);
    typeText(window->pane(), QStringLiteral("ここに書いた"));
    const std::optional<recovery::PaneCopy> copy = tracker.copy();
    ASSERT_TRUE(copy);
    ASSERT_EQ(copy->texts.size(), 1u);
    EXPECT_EQ(copy->texts[0], QStringLiteral("ここに書いた"));
    EXPECT_EQ(copy->loaded.size(), 200000);
}

} // namespace
} // namespace pote::test
