// The settings as the window uses them: read at start-up, applied to the pane, the picker and
// the file dialogs, written at close, cleared on request; the first-start question; the recent
// list behind the File menu.

#include "gui_fixture.h"

#include "app/ui/document_commands.h"
#include "app/ui/section_binding.h"
#include "core/cp932.h"
#include "editing/ui/edit_pane.h"
#include "settings/settings_messages.h"
#include "support/test_files.h"

#include <QAction>
#include <QFile>
#include <QMenu>
#include <QSettings>
#include <QTest>

namespace pote::test {
namespace {

struct AssociationCalls {
    int associated = 0;
    int removed = 0;
    int txtRestored = 0;
    bool txtOurs = false;
};

class RecordingAssociations : public FileAssociations {
public:
    explicit RecordingAssociations(AssociationCalls& calls) : m_calls(calls) {}
    bool ptmAssociated() override { return m_calls.associated > m_calls.removed; }
    Result<void> associatePtm() override { return ++m_calls.associated, Result<void>(); }
    Result<void> removePtm() override { return ++m_calls.removed, Result<void>(); }
    bool txtIsOurs() override { return m_calls.txtOurs; }
    Result<void> takeTxt() override { return {}; }
    Result<void> restoreTxt() override { return ++m_calls.txtRestored, Result<void>(); }

private:
    AssociationCalls& m_calls;
};

class Settings : public WindowTest {
protected:
    // Starts again with this settings file (none for an empty text) and recorded associations.
    void startWith(const QByteArray& file, const QStringList& arguments = {},
                   std::optional<Answer> firstStartAnswer = std::nullopt) {
        restart(arguments, [&](StartOptions& options, ScriptedPrompter& script) {
            QFile::remove(options.settingsPath);
            if (!file.isEmpty()) writeAll(options.settingsPath, file);
            if (firstStartAnswer) script.answer(*firstStartAnswer);
            options.associations = std::make_unique<RecordingAssociations>(calls);
        });
    }
    QVariant stored(const QString& name) {
        return QSettings(settingsPath(), QSettings::IniFormat).value(name);
    }
    void showAndActivate() {
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }

    AssociationCalls calls;
};

TEST_F(Settings, FirstStartAsksBeforeTheWindowShowsAndYesAssociates) {
    startWith({}, {}, Answer::Yes);
    ASSERT_EQ(prompter->asked().size(), 1u);
    EXPECT_EQ(prompter->asked()[0].text, firstStartQuestion());
    EXPECT_EQ(prompter->asked()[0].buttons, Answer::Yes | Answer::No);
    EXPECT_EQ(prompter->asked()[0].kind, MessageKind::Confirmation);
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(calls.associated, 1);
    EXPECT_EQ(window->pane()->font().family(), QStringLiteral("ＭＳ ゴシック"))
        << "the first start keeps the design font";

    startWith({}, {}, Answer::No);
    EXPECT_EQ(calls.associated, 1) << "No associates nothing";
    startWith("[General]\nCTax=8\n");
    EXPECT_TRUE(prompter->asked().empty()) << "a settings file means no first start";
}

TEST_F(Settings, StoredValuesReachThePanePickerAndDialogs) {
    const QString work = path(QStringLiteral("作業"));
    QDir().mkpath(work);
    startWith("[General]\nTABWidth=4\nWrap=1\nEditBKColor=16711680\nSclickMove=1\nWorkDir=" +
              work.toUtf8() + "\nFontName=IPAMincho\nFontHeight=-20\n");
    typeInPane(QStringLiteral("a\tb"));
    window->binding().section_commit(0);
    EXPECT_EQ(store().section(0).text, QByteArray("a   b")) << "tab width 4 from the file";
    EXPECT_TRUE(window->pane()->wraps());
    EXPECT_EQ(window->pane()->palette().color(QPalette::Base), QColor(0, 0, 255));
    EXPECT_EQ(window->pane()->font().family(), QStringLiteral("IPAMincho"));
    EXPECT_EQ(window->pane()->font().pixelSize(), 20);

    store().setModified(false);
    prompter->answerFile(std::nullopt);
    window->trigger(QStringLiteral("nx_load"));
    EXPECT_EQ(prompter->last().dialog.directory, work);
}

TEST_F(Settings, CloseWritesPlacementAndEmptyRecentEntriesAndTheNextStartHonoursThem) {
    startWith("[General]\nTABWidth=8\n");
    showAndActivate();
    window->setGeometry(60, 70, 640, 480);
    const QString document = path(QStringLiteral("文書.ptm"));
    ASSERT_TRUE(window->controllers().documents().document_write(document));
    emit window->menu(QStringLiteral("nx_file"))->aboutToShow();
    EXPECT_EQ(window->action(QStringLiteral("nx_recent1"))->text(), document);
    EXPECT_TRUE(window->action(QStringLiteral("nx_recent1"))->isVisible());
    EXPECT_FALSE(window->action(QStringLiteral("nx_recent2"))->isVisible());
    EXPECT_FALSE(window->menu(QStringLiteral("nx_recent"))->menuAction()->isVisible());
    const QRect placed = window->geometry();
    EXPECT_TRUE(window->close());

    for (int i = 1; i <= 10; ++i)
        EXPECT_EQ(stored(QStringLiteral("RecentFile%1").arg(i)).toString(), QString()) << i;
    EXPECT_EQ(stored(QStringLiteral("FormLeft")).toInt(), placed.left());
    EXPECT_EQ(stored(QStringLiteral("FormWidth")).toInt(), placed.width());

    restart({});
    showAndActivate();
    EXPECT_EQ(window->geometry(), placed);
    restart({QStringLiteral("/d")});
    showAndActivate();
    EXPECT_EQ(window->geometry().topLeft(), QPoint(312, 178)) << "/d ignores the stored place";
}

TEST_F(Settings, MaximizedAtCloseOpensMaximizedUnlessStartedWithD) {
    startWith("[General]\nWindowMax=1\nFormTop=0\nFormLeft=0\nFormWidth=600\nFormHeight=400\n");
    showAndActivate();
    EXPECT_TRUE(window->isMaximized());
    startWith("[General]\nWindowMax=1\n", {QStringLiteral("/d")});
    showAndActivate();
    EXPECT_FALSE(window->isMaximized());
}

TEST_F(Settings, AStoredPlaceBeyondTheScreenIsIgnored) {
    startWith("[General]\nFormTop=0\nFormLeft=100000\nFormWidth=600\nFormHeight=400\n");
    showAndActivate();
    EXPECT_EQ(window->geometry().topLeft(), QPoint(312, 178));
}

TEST_F(Settings, ClearRemovesTheFileAndTheAssociationsAndNothingIsSavedAtClose) {
    startWith("[General]\nCTax=8\n");
    calls.txtOurs = true;
    prompter->answer(Answer::No);
    window->trigger(QStringLiteral("nx_reg_clear"));
    EXPECT_TRUE(QFile::exists(settingsPath())) << "No clears nothing";
    EXPECT_EQ(prompter->last().text, settingsClearQuestion());

    prompter->answer(Answer::Yes);
    window->trigger(QStringLiteral("nx_reg_clear"));
    EXPECT_FALSE(QFile::exists(settingsPath()));
    EXPECT_EQ(calls.removed, 1);
    EXPECT_EQ(calls.txtRestored, 1);
    EXPECT_TRUE(window->close());
    EXPECT_FALSE(QFile::exists(settingsPath()));
}

TEST_F(Settings, ASettingsFileThatCannotBeWrittenIsToldButDoesNotHoldTheCloseBack) {
    writeAll(path(QStringLiteral("ふさがり")), "a file where a folder should be");
    const QString unwritable = path(QStringLiteral("ふさがり/potemaruED.conf"));
    restart({}, [&](StartOptions& options, ScriptedPrompter& script) {
        options.settingsPath = unwritable;
        script.answer(Answer::No); // nothing could be read: a first start
    });
    window->show();
    prompter->clear();
    bool shownWhenTold = false;
    prompter->onMessage([&] { shownWhenTold = window->isVisible(); });
    prompter->answer(Answer::Yes);
    EXPECT_TRUE(window->close());
    ASSERT_EQ(prompter->asked().size(), 1u);
    EXPECT_EQ(prompter->last().kind, MessageKind::Error);
    EXPECT_TRUE(prompter->last().text.startsWith(
        QStringLiteral("設定を保存できなかったにゃ。\r\n") + unwritable + QStringLiteral("\r\n")))
        << prompter->last().text.toStdString();
    EXPECT_TRUE(shownWhenTold) << "told before the window goes away";
    window.reset(); // closed once: no second close at the end of the test
}

TEST_F(Settings, RecentEntryOpensLikeOpenDoes) {
    const QString first = path(QStringLiteral("一.ptm"));
    const QString second = path(QStringLiteral("二.ptm"));
    typeInPane(QStringLiteral("いち"));
    ASSERT_TRUE(window->controllers().documents().document_write(first));
    window->controllers().documents().document_reset();
    typeInPane(QStringLiteral("に"));
    ASSERT_TRUE(window->controllers().documents().document_write(second));
    typeInPane(QStringLiteral("まだ"));
    // The entries stay hidden with their sub-menu; their commands still open the document.
    prompter->answer(Answer::Cancel);
    window->controllers().documents().nx_recentClick(2);
    EXPECT_EQ(paneText(), QStringLiteral("にまだ")) << "Cancel keeps the unsaved work";
    prompter->answer(Answer::No);
    window->controllers().documents().nx_recentClick(2);
    EXPECT_EQ(paneText(), QStringLiteral("いち"));
    EXPECT_EQ(store().documentPath, first);
}

} // namespace
} // namespace pote::test
