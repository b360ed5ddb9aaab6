// The settings dialog through the window: the range checks and their messages, the controls
// filled again after a message or the destination chooser, the pages putting back their
// working copies, the associations touched only when their boxes changed, and the pane laid
// out again in place afterwards.

#include "gui_fixture.h"

#include "app/ui/section_binding.h"
#include "editing/ui/edit_pane.h"
#include "editing/ui/pane_undo.h"
#include "editing/unencodable_notice.h"
#include "settings/ui/conf_fm.h"
#include "support/test_files.h"

#include <QCheckBox>
#include <QDir>
#include <QFontMetricsF>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>

#include <ostream>

inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}

namespace pote::test {
namespace {

struct Desktop {
    bool ptm = false;
    bool txt = false;
    QStringList calls;
};

class DesktopAssociations : public FileAssociations {
public:
    explicit DesktopAssociations(Desktop& desktop) : m_desktop(desktop) {}
    bool ptmAssociated() override { return m_desktop.ptm; }
    Result<void> associatePtm() override { return change("associatePtm", m_desktop.ptm, true); }
    Result<void> removePtm() override { return change("removePtm", m_desktop.ptm, false); }
    bool txtIsOurs() override { return m_desktop.txt; }
    Result<void> takeTxt() override { return change("takeTxt", m_desktop.txt, true); }
    Result<void> restoreTxt() override { return change("restoreTxt", m_desktop.txt, false); }

private:
    Result<void> change(const char* call, bool& state, bool to) {
        m_desktop.calls << QString::fromLatin1(call);
        state = to;
        return {};
    }
    Desktop& m_desktop;
};

class SettingsDialog : public WindowTest {
protected:
    void SetUp() override {
        restart({}, [this](StartOptions& options, ScriptedPrompter&) {
            options.associations = std::make_unique<DesktopAssociations>(desktop);
        });
    }
    // Opens the dialog, fills it as its opening does and lets the script play the user.
    void openDialog(const std::function<void(Tconf_fm&)>& user) {
        window->setModalRunner([user](QDialog& d) {
            auto& dialog = dynamic_cast<Tconf_fm&>(d);
            dialog.act();
            user(dialog);
            return dialog.result();
        });
        window->trigger(QStringLiteral("nx_env"));
    }
    Settings& settings() { return window->settings(); }

    Desktop desktop;
};

TEST_F(SettingsDialog, RangeMessagesComeOneAtATimeAndEachRefillsTheDialog) {
    settings().MailAdress = QStringLiteral("neko@example.org");
    std::vector<QString> taxShown, tabShown, widthShown;
    prompter->answer(Answer::Ok).answer(Answer::Cancel).answer(Answer::Ok).answer(Answer::Ok);
    openDialog([&](Tconf_fm& d) {
        d.ins_mail_ed->setText(QStringLiteral("typed@example.org"));
        d.ctax_ed->setText(QStringLiteral("101"));
        d.tab_ed->clear();
        d.set_btClick(); // both wrong: only the tax message
        taxShown.push_back(d.ctax_ed->text());
        EXPECT_EQ(d.ins_mail_ed->text(), QStringLiteral("neko@example.org"))
            << "the message refills every control";

        d.ctax_ed->setText(QStringLiteral("100"));
        d.tab_ed->clear();
        d.set_btClick();
        tabShown.push_back(d.tab_ed->text());
        EXPECT_EQ(d.ctax_ed->text(), QStringLiteral("5")) << "the refill also undid the 100";

        d.ctax_ed->setText(QStringLiteral("100"));
        d.tab_ed->setText(QStringLiteral("８"));
        d.set_btClick();
        tabShown.push_back(d.tab_ed->text());

        d.ctax_ed->setText(QStringLiteral("100"));
        d.break_line_width_ed->setText(QStringLiteral("121"));
        d.set_btClick();
        widthShown.push_back(d.break_line_width_ed->text());
        EXPECT_NE(d.result(), QDialog::Accepted);

        d.ctax_ed->setText(QStringLiteral("100"));
        d.set_btClick();
    });
    ASSERT_EQ(prompter->asked().size(), 4u);
    const QString messages[] = {QStringLiteral("指定範囲は０～１００ですにゃ！"),
                                QStringLiteral("指定範囲は１～１００ですにゃ！"),
                                QStringLiteral("指定範囲は１～１００ですにゃ！"),
                                QStringLiteral("指定範囲は１～１２０ですにゃ！")};
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(prompter->asked()[i].text, messages[i]) << i;
        EXPECT_EQ(prompter->asked()[i].kind, MessageKind::Error);
        EXPECT_EQ(prompter->asked()[i].buttons, Answer::Ok | Answer::Cancel);
    }
    EXPECT_EQ(taxShown, std::vector<QString>{QStringLiteral("5")});
    EXPECT_EQ(tabShown, (std::vector<QString>{QStringLiteral("8"), QStringLiteral("8")}));
    EXPECT_EQ(widthShown, std::vector<QString>{QStringLiteral("60")});
    EXPECT_EQ(settings().CTax, 100) << "a tax of 100 is accepted";
    EXPECT_EQ(settings().MailAdress, QStringLiteral("neko@example.org"));
}

TEST_F(SettingsDialog, PagesPutBackTheirWorkingCopiesAndTheFixedTextFileResetsTheTax) {
    const QString folder = path(QStringLiteral("定形"));
    QDir().mkpath(folder);
    const QString file = folder + QStringLiteral("/挨拶.txt");
    writeAll(file, "hello");
    prompter->answerFile(file);
    QString taxAfterSwitch, stringAfterSwitch, widthAfterSwitch, taxAfterFile;
    openDialog([&](Tconf_fm& d) {
        d.ctax_ed->setText(QStringLiteral("7"));
        d.tab->setCurrentWidget(d.tab_ins);
        d.break_line_str_ed->setText(QStringLiteral("＝"));
        d.break_line_width_ed->setText(QStringLiteral("30"));
        d.tab->setCurrentWidget(d.tab_backup);
        d.tab->setCurrentWidget(d.tab_ins);
        stringAfterSwitch = d.break_line_str_ed->text();
        widthAfterSwitch = d.break_line_width_ed->text();
        d.tab->setCurrentWidget(d.tab_env);
        taxAfterSwitch = d.ctax_ed->text();

        d.ctax_ed->setText(QStringLiteral("9"));
        d.ins_hp_ed->setText(QStringLiteral("https://example.org/"));
        d.conf_deftext1_btClick();
        taxAfterFile = d.ctax_ed->text();
        EXPECT_EQ(d.ins_hp_ed->text(), QStringLiteral("https://example.org/"))
            << "the file dialog does not refill the controls";
        d.set_btClick();
    });
    EXPECT_EQ(taxAfterSwitch, QStringLiteral("5"));
    EXPECT_EQ(stringAfterSwitch, QStringLiteral("-"));
    EXPECT_EQ(widthAfterSwitch, QStringLiteral("60"));
    EXPECT_EQ(taxAfterFile, QStringLiteral("5"));
    EXPECT_EQ(prompter->last().dialog.title, QStringLiteral("挿入用テキストの選択"));
    EXPECT_EQ(prompter->last().dialog.filters.value(0).second, QStringLiteral("*.txt"));
    EXPECT_EQ(settings().DefText1, file);
    EXPECT_EQ(settings().WorkDir, folder);
    EXPECT_EQ(settings().HomePage, QStringLiteral("https://example.org/"));
}

TEST_F(SettingsDialog, AssociationsChangeOnlyWhenTheirBoxesChange) {
    openDialog([](Tconf_fm& d) { d.set_btClick(); });
    EXPECT_TRUE(desktop.calls.isEmpty()) << "nothing changed, nothing touched";

    openDialog([](Tconf_fm& d) {
        d.cb_ext->setChecked(true);
        d.cb_text_ext->setChecked(true);
        d.set_btClick();
    });
    EXPECT_EQ(desktop.calls, (QStringList{"takeTxt", "associatePtm"}));

    bool ptmShown = false, txtShown = false;
    openDialog([&](Tconf_fm& d) {
        ptmShown = d.cb_ext->isChecked();
        txtShown = d.cb_text_ext->isChecked();
        d.cb_ext->setChecked(false);
        d.end_btClick();
    });
    EXPECT_TRUE(ptmShown && txtShown) << "the boxes follow the desktop";
    EXPECT_EQ(desktop.calls.size(), 2) << "cancel changes nothing";

    openDialog([](Tconf_fm& d) {
        d.cb_text_ext->setChecked(false);
        d.set_btClick();
    });
    EXPECT_EQ(desktop.calls.last(), QStringLiteral("restoreTxt"));
    EXPECT_TRUE(desktop.ptm);
}

TEST_F(SettingsDialog, FolderChoosersFillTheirFields) {
    const QString destination = path(QStringLiteral("控え"));
    const QString source = path(QStringLiteral("原稿"));
    QDir().mkpath(destination);
    settings().BackupCopyDir = destination;
    prompter->answerText(source).answerText(path(QStringLiteral("新しい控え")));
    openDialog([&](Tconf_fm& d) {
        d.ins_mail_ed->setText(QStringLiteral("typed@example.org"));
        d.backup_ext_ed->setText(QStringLiteral("PTM,Txt"));
        d.fs_btClick(3);
        EXPECT_EQ(d.backup_ed[2]->text(), QDir::toNativeSeparators(source));
        EXPECT_EQ(d.ins_mail_ed->text(), QStringLiteral("typed@example.org"));
        EXPECT_EQ(d.backup_ext_ed->text(), QStringLiteral("ptm,txt")) << "forced to lower case";

        d.back_fs2_btClick();
        EXPECT_TRUE(d.ins_mail_ed->text().isEmpty()) << "the destination chooser refills";
        EXPECT_TRUE(d.backup_ed[2]->text().isEmpty());
        d.presetClick(1);
        d.set_btClick();
    });
    ASSERT_EQ(prompter->asked().size(), 2u);
    EXPECT_FALSE(prompter->asked()[0].buttons.testFlag(Answer::Yes)) << "sources must exist";
    EXPECT_TRUE(prompter->asked()[1].buttons.testFlag(Answer::Yes)) << "may create the folder";
    EXPECT_EQ(prompter->asked()[1].value, destination) << "starts at the current destination";
    EXPECT_EQ(settings().BackupCopyDir,
              QDir::toNativeSeparators(path(QStringLiteral("新しい控え"))));
    EXPECT_EQ(settings().BackupExt, QStringLiteral("ptm,txt,txm,doc,rtf,eml,htm,html"));
}

TEST_F(SettingsDialog, ThePaneIsLaidOutAgainInPlaceKeepingTheModifiedFlag) {
    for (const bool modified : {true, false}) {
        typeInPane(QStringLiteral("ねこ\tのて\n") + QString(300, u'猫'));
        store().setModified(modified);
        window->pane()->selectRange(3, 2);
        const bool undoBefore = window->undo().available();
        const bool wrapBefore = window->pane()->wraps();
        openDialog([&](Tconf_fm& d) {
            d.cb_wrap->setChecked(!wrapBefore);
            d.tab_ed->setText(modified ? QStringLiteral("4") : QStringLiteral("2"));
            d.set_btClick();
        });
        EXPECT_EQ(store().isModified(), modified);
        EXPECT_EQ(window->pane()->wraps(), !wrapBefore);
        EXPECT_EQ(window->pane()->textCursor().selectionStart(), 3) << "the caret stays";
        EXPECT_EQ(window->pane()->textCursor().selectionEnd(), 5);
        EXPECT_EQ(window->undo().available(), undoBefore);
        const QFontMetricsF metrics(window->pane()->font());
        EXPECT_DOUBLE_EQ(window->pane()->tabStopDistance(),
                         metrics.horizontalAdvance(u' ') * (modified ? 4 : 2));
        EXPECT_TRUE(window->binding().paneEdited()) << "not reloaded";
    }
}

TEST_F(SettingsDialog, TextsWithCharactersCp932CannotHoldAreRefusedNamingThem) {
    prompter->answer(Answer::Yes).answer(Answer::Yes);
    std::vector<bool> openAfter;
    QString mailKept;
    openDialog([&](Tconf_fm& d) {
        d.tab->setCurrentWidget(d.tab_ins);
        d.break_line_str_ed->setText(QStringLiteral("♥"));
        d.ins_mail_ed->setText(QStringLiteral("neko〜@example.org"));
        d.set_btClick();
        openAfter.push_back(d.result() != QDialog::Accepted);
        d.break_line_str_ed->setText(QStringLiteral("＝"));
        d.ins_hp_ed->setText(QStringLiteral("https://example.org/🐱♥"));
        d.set_btClick();
        openAfter.push_back(d.result() != QDialog::Accepted);
        mailKept = d.ins_mail_ed->text();
        d.ins_hp_ed->setText(QStringLiteral("https://example.org/"));
        d.set_btClick();
    });
    ASSERT_EQ(prompter->asked().size(), 2u);
    EXPECT_EQ(prompter->asked()[0].kind, MessageKind::Error);
    EXPECT_EQ(prompter->asked()[0].text, unencodableRefusal({QStringLiteral("♥")}));
    EXPECT_EQ(prompter->asked()[1].text,
              unencodableRefusal({QStringLiteral("🐱"), QStringLiteral("♥")}));
    EXPECT_EQ(openAfter, (std::vector<bool>{true, true}));
    EXPECT_EQ(mailKept, QStringLiteral("neko〜@example.org")) << "nothing typed is lost";
    EXPECT_EQ(settings().BreakLineString, QStringLiteral("＝"));
    EXPECT_EQ(settings().HomePage, QStringLiteral("https://example.org/"));
    EXPECT_EQ(settings().MailAdress, QStringLiteral("neko〜@example.org"))
        << "a character with a CP932 twin is no loss";
}

TEST_F(SettingsDialog, CancelAppliesNothing) {
    const Settings before = settings();
    openDialog([](Tconf_fm& d) {
        d.cb_wrap->setChecked(true);
        d.cb_sclick_mode->setChecked(true);
        d.ctax_ed->setText(QStringLiteral("10"));
        d.backup_ed[0]->setText(QStringLiteral("/どこか"));
        d.end_btClick();
    });
    EXPECT_EQ(settings(), before);
    EXPECT_FALSE(window->pane()->wraps());
}

} // namespace
} // namespace pote::test
