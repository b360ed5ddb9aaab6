// The backup command in the window: its enabling, the checks' questions, a real run with its
// report, the window's state while the worker runs, stopping a run and closing during one.

#include "gui_fixture.h"

#include "app/ui/backup_commands.h"
#include "backup/backup_messages.h"
#include "editing/ui/edit_pane.h"
#include "mascot/ui/mascot_view.h"
#include "support/test_files.h"

#include <QAction>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QMenu>
#include <QSemaphore>
#include <QTest>
#include <QToolButton>

#include <atomic>

namespace pote::test {
namespace {

class Backup : public WindowTest {
protected:
    void SetUp() override {
        restart({}, [this](StartOptions& options, ScriptedPrompter&) {
            auto hooked = std::make_unique<HookedPrompter>();
            hooked->onMessage = [this](const QString&) {
                statusAtMessage.push_back(window->statusPanelText(0));
                stopOfferedAtMessage.push_back(
                    window->action(QStringLiteral("nx_backup_stop"))->isEnabled());
            };
            hooks = hooked.get();
            prompter = hooked.get();
            options.prompter = std::move(hooked);
        });
        source1 = path(QStringLiteral("原稿"));
        source2 = path(QStringLiteral("資料/メモ"));
        destination = path(QStringLiteral("控え"));
    }

    void configure(const QString& slot1, const QString& slot2, const QString& copyDir,
                   bool folderCopy = true) {
        Settings& s = window->settings();
        s.BackupDir = {slot1, slot2, {}, {}, {}};
        s.BackupCopyDir = copyDir;
        s.BackupExt = QStringLiteral("ptm,txt");
        s.BackupFolderCopy = folderCopy;
        window->tool_state_refresh();
    }

    static void makeFile(const QString& file, const QByteArray& bytes = "本文") {
        ASSERT_TRUE(QDir().mkpath(QFileInfo(file).absolutePath()));
        writeAll(file, bytes);
    }

    BackupCommands& commands() { return window->controllers().backup(); }

    // Starts the backup from the tool button and waits until its last report is closed.
    void runFromButton() {
        ASSERT_TRUE(window->action(QStringLiteral("sp_backup"))->isEnabled());
        window->trigger(QStringLiteral("sp_backup"));
        waitUntilDone();
    }
    void waitUntilDone() {
        ASSERT_TRUE(QTest::qWaitFor([this] { return !commands().running(); }, 60000));
    }

    // The files under folder, relative, in name order.
    static QStringList filesUnder(const QString& folder) {
        QStringList out;
        QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext())
            out << QDir(folder).relativeFilePath(it.next());
        out.sort();
        return out;
    }

    HookedPrompter* hooks = nullptr;
    // The first status panel, and whether stopping was offered, when each box appeared.
    std::vector<QString> statusAtMessage;
    std::vector<bool> stopOfferedAtMessage;
    QString source1, source2, destination;
};

TEST_F(Backup, OfferedOnlyWithADestinationAndASource) {
    struct Row {
        const char* name;
        QString slot2, copyDir;
        bool enabled;
    };
    const QString dest = path(QStringLiteral("控え"));
    for (const Row& row :
         {Row{"nothing set", {}, {}, false}, Row{"destination only", {}, dest, false},
          Row{"source only", path("a"), {}, false},
          Row{"source in the second slot", path("a"), dest, true}}) {
        configure({}, row.slot2, row.copyDir);
        EXPECT_EQ(window->action(QStringLiteral("sp_backup"))->isEnabled(), row.enabled)
            << row.name;
        EXPECT_EQ(window->action(QStringLiteral("nx_backup"))->isEnabled(), row.enabled)
            << row.name;
    }
    EXPECT_FALSE(window->action(QStringLiteral("nx_backup_stop"))->isEnabled())
        << "nothing to stop";
}

TEST_F(Backup, ChecksThatFailEndWithTheirMessageAndTheCatsEndReaction) {
    struct Row {
        const char* name;
        QString source, copyDir;
        MessageKind kind;
        QString message;
    };
    ASSERT_TRUE(QDir().mkpath(source1));
    for (const Row& row :
         {Row{"not configured", {}, {}, MessageKind::Error, backup::notConfiguredMessage()},
          Row{"same folder", source1, source1 + "/", MessageKind::Warning,
              backup::sameFolderMessage()},
          Row{"missing source", path("無い"), destination, MessageKind::Error,
              backup::sourceMissingMessage()}}) {
        configure(row.source, {}, row.copyDir);
        prompter->clear();
        prompter->answer(Answer::Yes);
        commands().nx_backupClick();
        ASSERT_EQ(prompter->asked().size(), 1u) << row.name;
        EXPECT_EQ(prompter->last().kind, row.kind) << row.name;
        EXPECT_EQ(prompter->last().buttons, Answers(Answer::Yes)) << row.name;
        EXPECT_EQ(prompter->last().text, row.message) << row.name;
        EXPECT_FALSE(commands().running()) << row.name;
        EXPECT_EQ(window->mascotView()->currentReaction(), ReactionExercise) << row.name;
        EXPECT_FALSE(QFileInfo::exists(destination)) << row.name;
    }
}

TEST_F(Backup, MissingDestinationDiskCanOnlyBeLeftByAbortOrFixedBeforeRetry) {
    makeFile(source1 + "/a.txt");
    const QString unmounted = path(QStringLiteral("usb/控え"));
    configure(source1, {}, unmounted);

    prompter->answer(Answer::Retry).answer(Answer::Abort);
    runFromButton();
    ASSERT_EQ(prompter->asked().size(), 2u) << "Retry asks again while the disk is missing";
    for (const Asked& asked : prompter->asked()) {
        EXPECT_EQ(asked.kind, MessageKind::Confirmation);
        EXPECT_EQ(asked.buttons, Answer::Abort | Answer::Retry);
        EXPECT_EQ(asked.text, backup::destinationMissingMessage());
    }
    EXPECT_FALSE(QFileInfo::exists(unmounted));

    // The user plugs the disk in while the question is up.
    prompter->clear();
    hooks->onMessage = [&](const QString& text) {
        if (text == backup::destinationMissingMessage()) {
            ASSERT_TRUE(QDir().mkpath(path(QStringLiteral("usb"))));
        }
    };
    prompter->answer(Answer::Retry).answer(Answer::Yes);
    runFromButton();
    ASSERT_EQ(prompter->asked().size(), 2u);
    EXPECT_EQ(prompter->last().text, backup::completionMessage(1, 0));
    EXPECT_EQ(filesUnder(unmounted), QStringList{QStringLiteral("原稿/a.txt")});
}

TEST_F(Backup, CopiesTwoSourcesAndReportsTheTotalWithTheTimeTaken) {
    makeFile(source1 + "/第一章.txt", "一");
    makeFile(source1 + "/下書き/第二章.ptm", "二");
    makeFile(source1 + "/絵.png", "no");
    makeFile(source2 + "/覚え書き.TXT", "三");
    configure(source1, source2, destination);

    prompter->answer(Answer::Yes);
    runFromButton();
    ASSERT_EQ(prompter->asked().size(), 1u);
    EXPECT_EQ(prompter->last().kind, MessageKind::Information);
    EXPECT_EQ(prompter->last().text, backup::completionMessage(3, 0));
    EXPECT_EQ(filesUnder(destination),
              (QStringList{"メモ/覚え書き.TXT", "原稿/下書き/第二章.ptm", "原稿/第一章.txt"}));
    EXPECT_EQ(readAll(destination + "/原稿/下書き/第二章.ptm"), QByteArray("二"));

    // The last progress stays, with the time taken, while the report is read.
    ASSERT_EQ(statusAtMessage.size(), 1u);
    EXPECT_TRUE(statusAtMessage[0].startsWith(backup::progressStatusText(3, 3) +
                                              QStringLiteral("   バックアップ時間 ")))
        << statusAtMessage[0].toStdString();
    EXPECT_TRUE(statusAtMessage[0].endsWith(QStringLiteral("秒")));
    EXPECT_FALSE(stopOfferedAtMessage[0]) << "the report comes after the run";
    // Afterwards: the caret read-out, the cat idling again after its end reaction.
    EXPECT_FALSE(window->statusPanelText(0).contains(QStringLiteral("バックアップ")));
    EXPECT_EQ(window->mascotView()->currentReaction(), ReactionExercise);
    EXPECT_TRUE(window->mascotView()->isRunning());

    // Nothing to copy the second time, and the same total.
    prompter->clear();
    prompter->answer(Answer::Yes);
    runFromButton();
    EXPECT_EQ(prompter->last().text, backup::completionMessage(3, 0));
}

TEST_F(Backup, NothingToCopyAndFailedCopiesAreReported) {
    makeFile(source1 + "/絵.png");
    configure(source1, {}, destination);
    prompter->answer(Answer::Yes);
    runFromButton();
    ASSERT_EQ(prompter->asked().size(), 1u);
    EXPECT_EQ(prompter->last().text, backup::nothingFoundMessage());

    // A file where the target folder should be: every copy into it fails.
    makeFile(source1 + "/a.txt");
    makeFile(source1 + "/b.txt");
    makeFile(destination + "/原稿", "not a folder");
    prompter->clear();
    prompter->answer(Answer::Yes);
    runFromButton();
    ASSERT_EQ(prompter->asked().size(), 1u) << "no completion when the last copy failed";
    EXPECT_EQ(prompter->last().kind, MessageKind::Error);
    EXPECT_EQ(prompter->last().text,
              backup::failureMessage(2, QDir::toNativeSeparators(source1 + "/b.txt")));
}

TEST_F(Backup, WhileRunningOnlyStopIsOfferedAndTheProgressKeepsThePanel) {
    makeFile(source1 + "/a.txt");
    configure(source1, {}, destination);
    window->trigger(QStringLiteral("sp_backup"));

    // The worker's result can only arrive through the event loop, so the run is still going.
    ASSERT_TRUE(commands().busy());
    for (const ActionEntry& entry : actionTable()) {
        const bool stop = entry.name == QStringLiteral("nx_backup_stop");
        EXPECT_EQ(window->action(entry.name)->isEnabled(), stop) << entry.name.toStdString();
    }
    EXPECT_FALSE(window->menu(QStringLiteral("nx_file"))->menuAction()->isEnabled());
    auto* stopButton = window->findChild<QToolButton*>(QStringLiteral("stop_button"));
    ASSERT_NE(stopButton, nullptr);
    EXPECT_FALSE(stopButton->isHidden());
    EXPECT_EQ(stopButton->text(), QStringLiteral("中止"));
    EXPECT_EQ(window->statusPanelText(0), backup::scanningStatusText());
    window->status_update(); // as a caret move or a resize would
    EXPECT_EQ(window->statusPanelText(0), backup::scanningStatusText());
    EXPECT_EQ(window->mascotView()->shownFrame(), 30);
    EXPECT_FALSE(window->mascotView()->isRunning());

    prompter->answer(Answer::Yes);
    waitUntilDone();
    EXPECT_EQ(prompter->last().text, backup::completionMessage(1, 0));
    EXPECT_TRUE(window->action(QStringLiteral("nx_load"))->isEnabled());
    EXPECT_FALSE(window->action(QStringLiteral("nx_backup_stop"))->isEnabled());
    EXPECT_TRUE(stopButton->isHidden());
}

TEST_F(Backup, StoppingHalfWayReportsTheFilesCopiedLeavesOnlyWholeOnesAndTheNextRunGoesOn) {
    for (int i = 0; i < 300; ++i)
        makeFile(source1 + QStringLiteral("/%1.txt").arg(i, 3, 10, QChar(u'0')), "本文");
    configure(source1, {}, destination);
    // The first progress report comes after 51 files; stop there, as the button would.
    commands().setProgressObserver([this](const backup::BackupProgress&) { commands().stop(); });

    prompter->answer(Answer::Yes);
    runFromButton();
    ASSERT_EQ(prompter->asked().size(), 1u);
    const QStringList copied = filesUnder(destination);
    EXPECT_GT(copied.size(), 0);
    EXPECT_LT(copied.size(), 300);
    EXPECT_EQ(prompter->last().text, backup::cancelledMessage(copied.size()))
        << "the count is what is really there, no half-copied or hidden file among it";
    EXPECT_TRUE(statusAtMessage[0].startsWith(backup::progressStatusText(copied.size(), 300)))
        << statusAtMessage[0].toStdString();
    EXPECT_EQ(window->mascotView()->currentReaction(), ReactionExercise);

    // Run again: the stop was for the run that is over.
    commands().setProgressObserver({});
    prompter->answer(Answer::Yes);
    runFromButton();
    EXPECT_EQ(filesUnder(destination).size(), 300);
    EXPECT_EQ(prompter->last().text, backup::completionMessage(300, 0));
}

TEST_F(Backup, ARunKeepsTheObserverItStartedWith) {
    for (int i = 0; i < 300; ++i)
        makeFile(source1 + QStringLiteral("/%1.txt").arg(i, 3, 10, QChar(u'0')), "本文");
    configure(source1, {}, destination);
    // The first report holds the worker until the window has set another observer.
    std::atomic<bool> first{true};
    std::atomic<int> laterObserverCalls{0};
    QSemaphore reached;
    QSemaphore replaced;
    commands().setProgressObserver([&](const backup::BackupProgress&) {
        if (!first.exchange(false)) return;
        reached.release();
        replaced.acquire();
    });

    prompter->answer(Answer::Yes);
    window->trigger(QStringLiteral("sp_backup"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return reached.tryAcquire(); }, 60000));
    commands().setProgressObserver([&](const backup::BackupProgress&) { ++laterObserverCalls; });
    replaced.release();
    waitUntilDone();
    EXPECT_EQ(filesUnder(destination).size(), 300);
    EXPECT_EQ(laterObserverCalls, 0) << "the worker read an observer set during its run";
}

TEST_F(Backup, EscStopsTheRun) {
    makeFile(source1 + "/a.txt");
    configure(source1, {}, destination);
    window->show();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    window->trigger(QStringLiteral("sp_backup"));
    QTest::keyClick(window->pane(), Qt::Key_Escape);
    prompter->answer(Answer::Yes);
    waitUntilDone();
    EXPECT_EQ(prompter->last().text, backup::cancelledMessage(0));
    EXPECT_TRUE(filesUnder(destination).isEmpty());
}

TEST_F(Backup, ClosingDuringARunStopsItAndClosesAfterTheReport) {
    makeFile(source1 + "/a.txt");
    configure(source1, {}, destination);
    window->show();
    window->trigger(QStringLiteral("sp_backup"));
    EXPECT_FALSE(window->close()) << "the worker still reads the plan";
    EXPECT_TRUE(window->isVisible());
    prompter->answer(Answer::Yes);
    waitUntilDone();
    EXPECT_EQ(prompter->last().text, backup::cancelledMessage(0));
    EXPECT_TRUE(QTest::qWaitFor([this] { return !window->isVisible(); }));
}

} // namespace
} // namespace pote::test
