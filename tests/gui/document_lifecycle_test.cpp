// The life of a document in the window: the save question, titles, the modified flag, saving
// and opening.

#include "gui_fixture.h"

#include "app/ui/document_commands.h"
#include "app/ui/section_binding.h"
#include "core/cp932.h"
#include "core/document_file.h"
#include "editing/ui/edit_pane.h"
#include "support/test_files.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTest>

namespace pote::test {
namespace {

const QString kQuestion = QStringLiteral("編集内容が、変更されてるみたいにゃ。\r保存するにゃん？");

using DocumentLifecycle = WindowTest;

TEST_F(DocumentLifecycle, StartsAsANewUnmodifiedDocument) {
    EXPECT_EQ(window->windowTitle(), QStringLiteral("ぽてまるエディター [新規]"));
    EXPECT_FALSE(store().isModified());
    EXPECT_FALSE(store().loading);
    EXPECT_EQ(window->findChild<QLabel*>(QStringLiteral("secno_view"))->text(),
              QStringLiteral("No.1"));
    EXPECT_EQ(window->statusPanelText(0), QStringLiteral("  1行   1桁     (1行)"));
}

TEST_F(DocumentLifecycle, TypingMarksModifiedButLoadingNever) {
    window->binding().section_load(0);
    EXPECT_FALSE(store().isModified());
    typeInPane(QStringLiteral("あいう"));
    EXPECT_TRUE(store().isModified());
}

TEST_F(DocumentLifecycle, SwitchingSectionsIsNotAnEdit) {
    store().appendEmpty();
    store().section(1).text = cp932::encode(u"二番目");
    window->binding().section_switch(0, 1);
    EXPECT_FALSE(store().isModified());
    EXPECT_EQ(paneText(), QStringLiteral("二番目"));
    EXPECT_EQ(window->findChild<QLabel*>(QStringLiteral("secno_view"))->text(),
              QStringLiteral("No.2"));
    EXPECT_EQ(window->mascotView()->currentReaction(), 1) << "the cat turns round";
}

TEST_F(DocumentLifecycle, EachNameKeystrokeFollowsIntoTheStore) {
    typeName(QStringLiteral("第一章"));
    EXPECT_TRUE(store().isModified());
    EXPECT_EQ(store().section(0).name, cp932::encode(u"第一章"));
    store().setModified(false);
    auto* edit = window->findChild<QLineEdit*>(QStringLiteral("sec_name_ed"));
    QTest::keyClick(edit, Qt::Key_Backspace);
    EXPECT_EQ(store().section(0).name, cp932::encode(u"第一"));
    EXPECT_TRUE(store().isModified()) << "typing and deleting still leaves the document modified";
}

TEST_F(DocumentLifecycle, NewWithoutChangesAsksNothing) {
    window->trigger(QStringLiteral("nx_new_paper"));
    EXPECT_TRUE(prompter->asked().empty());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("ぽてまるエディター[新規]"))
        << "a reset document's title has no blank before the bracket";
}

TEST_F(DocumentLifecycle, SaveQuestionCancelKeepsEverything) {
    typeInPane(QStringLiteral("だいじな文"));
    prompter->answer(Answer::Cancel);
    window->trigger(QStringLiteral("nx_new_paper"));
    ASSERT_EQ(prompter->asked().size(), 1u);
    EXPECT_EQ(prompter->last().text, kQuestion);
    EXPECT_EQ(prompter->last().kind, MessageKind::Confirmation);
    EXPECT_EQ(prompter->last().buttons, Answer::Yes | Answer::No | Answer::Cancel);
    EXPECT_EQ(paneText(), QStringLiteral("だいじな文"));
    EXPECT_TRUE(store().isModified());
}

TEST_F(DocumentLifecycle, SaveQuestionNoDiscards) {
    typeInPane(QStringLiteral("捨てる文"));
    prompter->answer(Answer::No);
    window->trigger(QStringLiteral("nx_new_paper"));
    EXPECT_EQ(paneText(), QString());
    EXPECT_FALSE(store().isModified());
}

TEST_F(DocumentLifecycle, SaveQuestionYesSavesThroughTheDialog) {
    typeInPane(QStringLiteral("残す文"));
    const QString file = path(QStringLiteral("残す.ptm"));
    prompter->answer(Answer::Yes).answerFile(file);
    window->trigger(QStringLiteral("nx_new_paper"));
    EXPECT_EQ(prompter->asked().at(1).type, Asked::Type::SaveFile);
    EXPECT_EQ(prompter->asked().at(1).dialog.title, QStringLiteral("ぽてまる文書の保存"));
    EXPECT_EQ(prompter->asked().at(1).dialog.fileName, QStringLiteral("新規"));
    ASSERT_TRUE(QFile::exists(file));
    SectionStore reread;
    auto result = docfile::readDocument(file, [](const QByteArray&) { return true; });
    ASSERT_TRUE(result.ok());
    EXPECT_EQ(result->content.sections.at(0).section.text, cp932::encode(u"残す文"));
    EXPECT_EQ(paneText(), QString()) << "then the new document";
}

TEST_F(DocumentLifecycle, YesThenCancelledSaveDialogKeepsTheWork) {
    typeInPane(QStringLiteral("消えない文"));
    prompter->answer(Answer::Yes).answerFile(std::nullopt);
    window->trigger(QStringLiteral("nx_new_paper"));
    EXPECT_EQ(paneText(), QStringLiteral("消えない文"));
    EXPECT_TRUE(store().isModified());

    prompter->answer(Answer::Yes).answerFile(std::nullopt);
    window->trigger(QStringLiteral("nx_load"));
    EXPECT_EQ(prompter->last().type, Asked::Type::SaveFile) << "no open dialog after the cancel";

    window->show();
    prompter->answer(Answer::Yes).answerFile(std::nullopt);
    EXPECT_FALSE(window->close());
    EXPECT_TRUE(window->isVisible());
}

TEST_F(DocumentLifecycle, YesWithAFailedWriteKeepsTheWork) {
    typeInPane(QStringLiteral("守る"));
    const QString folder = path(QStringLiteral("書けない.ptm"));
    QDir().mkpath(folder);
    prompter->answer(Answer::Yes).answerFile(folder).answer(Answer::Ok);
    window->trigger(QStringLiteral("nx_new_paper"));
    EXPECT_EQ(prompter->last().kind, MessageKind::Error);
    EXPECT_EQ(paneText(), QStringLiteral("守る"));
}

TEST_F(DocumentLifecycle, CloseAsksAndCancelKeepsTheWindow) {
    window->show();
    typeInPane(QStringLiteral("閉じない"));
    prompter->answer(Answer::Cancel);
    EXPECT_FALSE(window->close());
    EXPECT_TRUE(window->isVisible());
    prompter->answer(Answer::No);
    EXPECT_TRUE(window->close());
}

TEST_F(DocumentLifecycle, PlainTextModeYesWritesTheTextFile) {
    const QString textFile = path(QStringLiteral("メモ.txt"));
    writeAll(textFile, "old");
    store().enterPlainTextMode(textFile);
    typeInPane(QStringLiteral("新しい行\n二行目"));
    prompter->answer(Answer::Yes);
    window->trigger(QStringLiteral("nx_new_paper"));
    EXPECT_EQ(readAll(textFile), cp932::encode(u"新しい行\r\n二行目"));
    EXPECT_EQ(prompter->asked().size(), 1u) << "no document save dialog in plain-text mode";
}

TEST_F(DocumentLifecycle, QuickSaveNeedsAPathAndAChange) {
    typeInPane(QStringLiteral("x"));
    window->tool_state_refresh();
    EXPECT_FALSE(window->action(QStringLiteral("nx_qsave"))->isEnabled()) << "no document path yet";
    EXPECT_TRUE(window->action(QStringLiteral("sp_save"))->isEnabled());

    const QString file = path(QStringLiteral("文書.ptm"));
    prompter->answerFile(file);
    window->trigger(QStringLiteral("sp_save"));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("ぽてまるエディター [文書]"));
    EXPECT_FALSE(window->action(QStringLiteral("nx_qsave"))->isEnabled()) << "saved, not modified";
    typeInPane(QStringLiteral("y"));
    EXPECT_TRUE(window->action(QStringLiteral("nx_qsave"))->isEnabled());
    window->trigger(QStringLiteral("nx_qsave"));
    EXPECT_FALSE(store().isModified());
    EXPECT_EQ(prompter->asked().size(), 1u) << "quick save asks nothing";
}

TEST_F(DocumentLifecycle, QuickSaveOfAVanishedFileAsksWhereToSave) {
    const QString file = path(QStringLiteral("消えた.ptm"));
    prompter->answerFile(file);
    window->trigger(QStringLiteral("nx_save"));
    QFile::remove(file);
    typeInPane(QStringLiteral("z"));

    prompter->answerFile(std::nullopt);
    window->trigger(QStringLiteral("nx_qsave"));
    EXPECT_EQ(prompter->last().type, Asked::Type::SaveFile);
    EXPECT_EQ(prompter->last().dialog.title, QStringLiteral("ぽてまる文書の保存"));
    EXPECT_EQ(prompter->last().dialog.fileName, QStringLiteral("消えた"));
    EXPECT_FALSE(QFile::exists(file)) << "cancelled: nothing written";
    EXPECT_TRUE(store().isModified());

    const QString elsewhere = path(QStringLiteral("ここに.ptm"));
    prompter->answerFile(elsewhere);
    window->trigger(QStringLiteral("nx_qsave"));
    EXPECT_TRUE(QFile::exists(elsewhere));
    EXPECT_FALSE(store().isModified());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("ぽてまるエディター [ここに]"));
}

TEST_F(DocumentLifecycle, WrittenDocumentReadsBackEqualToTheStore) {
    typeName(QStringLiteral("はじめに"));
    typeInPane(QStringLiteral("一行目\n\t字下げ\n"));
    store().appendEmpty();
    store().section(1).name = cp932::encode(u"二");
    store().section(1).text = QByteArray("\x81\x60 bytes \xff\x80", 12); // stray bytes survive
    store().addGroup(cp932::encode(u"組"));
    store().section(1).group = 1;
    const QString file = path(QStringLiteral("往復.ptm"));
    prompter->answerFile(file);
    window->trigger(QStringLiteral("nx_save"));
    ASSERT_TRUE(QFile::exists(file));

    const QByteArray name0 = store().section(0).name;
    const QByteArray text0 = store().section(0).text;
    EXPECT_EQ(text0, cp932::encode(u"一行目\r\n        字下げ\r\n"));
    window->trigger(QStringLiteral("nx_new_paper"));
    prompter->answerFile(file);
    window->trigger(QStringLiteral("nx_load"));
    EXPECT_EQ(store().count(), 2);
    EXPECT_EQ(store().section(0).name, name0);
    EXPECT_EQ(store().section(0).text, text0);
    EXPECT_EQ(store().section(1).text, QByteArray("\x81\x60 bytes \xff\x80", 12));
    EXPECT_EQ(store().groupName(1), cp932::encode(u"組"));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("ぽてまるエディター [往復]"));
    EXPECT_FALSE(store().isModified());
    EXPECT_EQ(store().current, 0);
}

TEST_F(DocumentLifecycle, UntouchedSectionCommitsItsBytesUnchanged) {
    // 0x8790 (≒ from the NEC row) decodes to the same character as 0x81E0; re-encoding would
    // change it, so an untouched pane must give the stored bytes back.
    const QByteArray stored("\x87\x90\x0d\x0a\x0dlone cr", 12);
    store().section(0).text = stored;
    window->binding().section_load(0);
    window->binding().section_commit(0);
    EXPECT_EQ(store().section(0).text, stored);
}

TEST_F(DocumentLifecycle, UnreadableFileGetsTheDefaultErrorReport) {
    typeInPane(QStringLiteral("このまま"));
    store().setModified(false);
    const QString missing = path(QStringLiteral("ない.ptm"));
    prompter->answerFile(missing).answer(Answer::Ok);
    window->trigger(QStringLiteral("nx_load"));
    ASSERT_EQ(prompter->asked().size(), 2u);
    EXPECT_EQ(prompter->last().kind, MessageKind::Error);
    EXPECT_TRUE(prompter->last().text.contains(QStringLiteral("ない.ptm")));
    EXPECT_EQ(paneText(), QStringLiteral("このまま"));
    EXPECT_EQ(window->mascotView()->currentReaction(), 11);
}

TEST_F(DocumentLifecycle, RefusedFileShowsTheCatsMessage) {
    const QString bad = path(QStringLiteral("壊れた.ptm"));
    writeAll(bad, QByteArray("PTM0\x02\x00\xf5\x01", 8) + QByteArray(12, '\0'));
    prompter->answerFile(bad).answer(Answer::Yes);
    window->trigger(QStringLiteral("nx_load"));
    EXPECT_EQ(prompter->last().text, docfile::tooManySectionsMessage());
    EXPECT_EQ(prompter->last().buttons, Answers(Answer::Yes));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("ぽてまるエディター [新規]"));
}

TEST_F(DocumentLifecycle, FailedWriteKeepsTheDocumentModified) {
    typeInPane(QStringLiteral("書けない"));
    const QString folder = path(QStringLiteral("フォルダ.ptm"));
    QDir().mkpath(folder);
    prompter->answerFile(folder).answer(Answer::Ok);
    window->trigger(QStringLiteral("nx_save"));
    EXPECT_EQ(prompter->last().kind, MessageKind::Error);
    EXPECT_TRUE(store().isModified());
    EXPECT_TRUE(store().documentPath.isEmpty());
}

TEST_F(DocumentLifecycle, FullDocumentDisablesAdd) {
    while (store().count() < 499)
        store().appendEmpty();
    window->tool_state_refresh();
    EXPECT_TRUE(window->action(QStringLiteral("sp_add"))->isEnabled());
    store().appendEmpty();
    window->tool_state_refresh();
    EXPECT_FALSE(window->action(QStringLiteral("sp_add"))->isEnabled());
}

TEST_F(DocumentLifecycle, TextCp932CannotHoldIsReplacedAtInput) {
    typeInPane(QString::fromUtf16(u"\u301C\u00A5\U0001F600"));
    EXPECT_EQ(paneText(), QString::fromUtf16(u"\uFF5E\\?"));
}

} // namespace
} // namespace pote::test
