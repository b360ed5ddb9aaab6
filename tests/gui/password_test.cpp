// Setting, removing and entering a document password through the window.

#include "gui_fixture.h"

#include "app/ui/document_commands.h"
#include "app/ui/password_commands.h"
#include "app/ui/password_dialogs.h"
#include "core/cp932.h"
#include "core/document_file.h"

#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace pote::test {
namespace {

class Password : public WindowTest {
protected:
    // Plays the user of the set-password dialog: types each entry in turn and presses 設定.
    void typeNewPassword(QStringList entries) {
        window->setModalRunner([this, entries](QDialog& d) mutable {
            auto& dialog = dynamic_cast<Tpass_set_fm&>(d);
            for (const QString& entry : entries) {
                dialog.mask_ed->setText(entry);
                dialog.set_btClick();
                if (dialog.result() == QDialog::Accepted) return int(QDialog::Accepted);
                EXPECT_TRUE(dialog.mask_ed->text().isEmpty())
                    << "a refused entry empties the field";
            }
            return int(QDialog::Rejected);
        });
    }
    // Plays the user of the entry dialog.
    void typeReadPassword(QStringList entries) {
        window->setModalRunner([entries](QDialog& d) mutable {
            auto& dialog = dynamic_cast<Tread_pass_fm&>(d);
            for (const QString& entry : entries) {
                dialog.mask_ed->setText(entry);
                dialog.set_btClick();
                if (dialog.result() == QDialog::Accepted) return int(QDialog::Accepted);
            }
            return int(QDialog::Rejected);
        });
    }
    QString saveProtected(const QString& password) {
        typeInPane(QStringLiteral("ひみつ"));
        typeNewPassword({password});
        window->trigger(QStringLiteral("nx_pass_set"));
        const QString file = path(QStringLiteral("秘密.ptm"));
        prompter->answerFile(file);
        window->trigger(QStringLiteral("nx_save"));
        return file;
    }
};

TEST_F(Password, RefusedEntriesShowTheirMessagesAndKeepTheDialogOpen) {
    prompter->answer(Answer::Yes)
        .answer(Answer::Yes)
        .answer(Answer::Yes)
        .answer(Answer::Yes)
        .answer(Answer::Yes);
    typeNewPassword({"abc", "abc d", "ab#12", QString::fromUtf16(u"abcＡ"),
                     QString::fromUtf16(u"abcｱ"), "Abcd1234"});
    window->trigger(QStringLiteral("nx_pass_set"));
    ASSERT_EQ(prompter->asked().size(), 5u);
    EXPECT_EQ(prompter->asked()[0].text, QStringLiteral("４文字以上８文字まです。"));
    EXPECT_EQ(prompter->asked()[0].kind, MessageKind::Error);
    EXPECT_EQ(prompter->asked()[0].buttons, Answers(Answer::Yes));
    for (size_t i = 1; i < 5; ++i)
        EXPECT_EQ(prompter->asked()[i].text, QStringLiteral("英数字以外の文字が入っています。"));
    EXPECT_TRUE(store().hasPassword());
    EXPECT_EQ(store().password(), "Abcd1234");
}

TEST_F(Password, TheFieldTakesEightCharactersAndMasksThem) {
    Tpass_set_fm dialog(*prompter);
    dialog.mask_ed->setText(QStringLiteral("abcdefghij"));
    EXPECT_EQ(dialog.mask_ed->text(), QStringLiteral("abcdefgh"));
    EXPECT_EQ(dialog.mask_ed->echoMode(), QLineEdit::Password);
    dialog.cb_mask->setChecked(false);
    EXPECT_EQ(dialog.mask_ed->echoMode(), QLineEdit::Normal);
    dialog.cb_mask->setChecked(true);
    EXPECT_EQ(dialog.mask_ed->echoMode(), QLineEdit::Password);
}

TEST_F(Password, IndicatorFollowsSetAndRemove) {
    typeNewPassword({"neko1234"});
    window->trigger(QStringLiteral("nx_pass_set"));
    EXPECT_EQ(window->statusPanelText(2), QStringLiteral("パスワード文書"));
    EXPECT_TRUE(window->action(QStringLiteral("nx_pass_reset"))->isEnabled());
    window->trigger(QStringLiteral("nx_pass_reset"));
    EXPECT_EQ(window->statusPanelText(2), QString());
    EXPECT_FALSE(store().hasPassword());
    EXPECT_TRUE(prompter->asked().empty()) << "removing asks nothing";
}

TEST_F(Password, CancelKeepsThePreviousPassword) {
    typeNewPassword({"first123"});
    window->trigger(QStringLiteral("nx_pass_set"));
    typeNewPassword({});
    window->trigger(QStringLiteral("nx_pass_set"));
    EXPECT_EQ(store().password(), "first123");
}

TEST_F(Password, MenuIsOffInPlainTextMode) {
    store().enterPlainTextMode({});
    window->tool_state_refresh();
    EXPECT_FALSE(window->menu(QStringLiteral("nx_password"))->menuAction()->isEnabled());
}

TEST_F(Password, SettingAPasswordIsNotAnEdit) {
    const QString file = path(QStringLiteral("未変更.ptm"));
    prompter->answerFile(file);
    window->trigger(QStringLiteral("nx_save"));
    typeNewPassword({"abcd"});
    window->trigger(QStringLiteral("nx_pass_set"));
    window->tool_state_refresh();
    EXPECT_FALSE(store().isModified());
    EXPECT_FALSE(window->action(QStringLiteral("nx_qsave"))->isEnabled());
    window->trigger(QStringLiteral("sp_save")); // the save button writes whenever the file exists
    auto result = docfile::readDocument(file, [](const QByteArray& c) { return c == "abcd"; });
    ASSERT_TRUE(result.ok());
    EXPECT_TRUE(result->content.hasPassword);
}

TEST_F(Password, ProtectedDocumentReadsBackWithTheRightPassword) {
    const QString file = saveProtected(QStringLiteral("Neko99"));
    window->trigger(QStringLiteral("nx_new_paper"));
    EXPECT_FALSE(store().hasPassword());
    prompter->clear();

    prompter->answerFile(file).answer(Answer::Yes).answer(Answer::Yes);
    typeReadPassword({"neko99", "NEKO99", "Neko99"});
    window->trigger(QStringLiteral("nx_load"));
    ASSERT_EQ(prompter->asked().size(), 3u);
    EXPECT_EQ(prompter->asked()[1].text, QStringLiteral("パスワードが違うにゃん！"));
    EXPECT_EQ(prompter->asked()[1].kind, MessageKind::Warning);
    EXPECT_EQ(paneText(), QStringLiteral("ひみつ"));
    EXPECT_TRUE(store().hasPassword());
    EXPECT_EQ(store().password(), "Neko99");
    EXPECT_EQ(window->statusPanelText(2), QStringLiteral("パスワード文書"));
}

TEST_F(Password, ProtectedDocumentIsReadableWithPtmtool) {
    const QString file = saveProtected(QStringLiteral("Tama2024"));
    QProcess tool;
    tool.start(
        QStringLiteral(PTMTOOL_PATH),
        {QStringLiteral("dump"), file, QStringLiteral("--password"), QStringLiteral("Tama2024")});
    ASSERT_TRUE(tool.waitForFinished(30000));
    EXPECT_EQ(tool.exitCode(), 0);
    const QString json = QString::fromUtf8(tool.readAllStandardOutput());
    EXPECT_TRUE(json.contains(QStringLiteral("\"password\": \"Tama2024\""))) << json.toStdString();
    EXPECT_TRUE(json.contains(QStringLiteral("ひみつ"))) << json.toStdString();

    tool.start(
        QStringLiteral(PTMTOOL_PATH),
        {QStringLiteral("dump"), file, QStringLiteral("--password"), QStringLiteral("tama2024")});
    ASSERT_TRUE(tool.waitForFinished(30000));
    EXPECT_EQ(tool.exitCode(), 3) << "a wrong password is refused";
}

TEST_F(Password, CancelledEntryLeavesTheOpenDocumentAlone) {
    const QString file = saveProtected(QStringLiteral("abcd"));
    window->trigger(QStringLiteral("nx_new_paper"));
    typeInPane(QStringLiteral("いまの文"));
    store().setModified(false);
    store().enterPlainTextMode(path(QStringLiteral("いま.txt")));
    prompter->answerFile(file);
    typeReadPassword({});
    window->trigger(QStringLiteral("nx_load"));
    EXPECT_EQ(paneText(), QStringLiteral("いまの文"));
    EXPECT_FALSE(store().hasPassword());
    EXPECT_TRUE(store().plainTextMode());
    EXPECT_EQ(store().textPath(), path(QStringLiteral("いま.txt")));
}

TEST_F(Password, AfterAWrongEntryAndACancelThePasswordIsTypedStraightIn) {
    const QString file = saveProtected(QStringLiteral("Mike2024"));
    window->trigger(QStringLiteral("nx_new_paper"));
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    // The real dialog, shown modally; the user's part is played on the keyboard once it is up:
    // first a wrong entry and a cancel with the mouse, then, on the next open, the right one.
    int showings = 0;
    window->setModalRunner([&showings](QDialog& d) {
        auto* dialog = dynamic_cast<Tread_pass_fm*>(&d);
        if (!dialog) return int(QDialog::Rejected);
        const bool first = showings++ == 0;
        QTimer::singleShot(0, dialog, [dialog, first] {
            QWidget* keys = QTest::qWaitForWindowActive(dialog) ? dialog->focusWidget() : nullptr;
            if (!keys) {
                ADD_FAILURE() << "nothing in the dialog takes the keys";
                dialog->reject();
                return;
            }
            QTest::keyClicks(keys, first ? QStringLiteral("Wrong123") : QStringLiteral("Mike2024"));
            QTest::keyClick(keys, Qt::Key_Return);
            if (first)
                QTest::mouseClick(dialog->Button2, Qt::LeftButton);
            else if (dialog->isVisible())
                dialog->reject(); // the keys went nowhere useful
        });
        return dialog->exec();
    });
    prompter->answerFile(file).answer(Answer::Yes);
    window->trigger(QStringLiteral("nx_load"));
    EXPECT_FALSE(store().hasPassword()) << "cancelled";
    prompter->answerFile(file);
    window->trigger(QStringLiteral("nx_load"));
    ASSERT_EQ(prompter->asked().size(), 4u) << "one wrong password, no second";
    EXPECT_EQ(paneText(), QStringLiteral("ひみつ"));
    EXPECT_EQ(store().password(), "Mike2024");
}

TEST_F(Password, TheEntryFieldHasTheFocusAndItsTextSelectedAtEveryShowing) {
    Tread_pass_fm* dialog = window->controllers().passwords().read_pass_fm();
    dialog->mask_ed->setText(QStringLiteral("old"));
    dialog->show();
    dialog->Button2->setFocus(Qt::MouseFocusReason); // as a click on the button leaves it
    dialog->hide();
    dialog->show();
    EXPECT_EQ(dialog->focusWidget(), dialog->mask_ed);
    EXPECT_EQ(dialog->mask_ed->selectedText(), QStringLiteral("old"));
    dialog->hide();
}

TEST_F(Password, EntryDialogKeepsItsLastText) {
    Tread_pass_fm* dialog = window->controllers().passwords().read_pass_fm();
    dialog->mask_ed->setText(QStringLiteral("typed"));
    dialog->prepare("other");
    EXPECT_EQ(dialog->mask_ed->text(), QStringLiteral("typed"));
    EXPECT_FALSE(dialog->accepted());
}

} // namespace
} // namespace pote::test
