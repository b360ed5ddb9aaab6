// Whole backups in temporary folders: what lands where, what is copied again, and what is
// left after failures, interruptions and a full disk.

#include "backup/backup_messages.h"
#include "backup/backup_runner.h"
#include "support/test_files.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <cstring>

#include <fcntl.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace pote::backup {
namespace {

using test::readAll;

constexpr qint64 kTen = 1700000000; // some morning, at an even second

class BackupRun : public testing::Test {
protected:
    QString path(const QString& relative) const { return m_dir.filePath(relative); }
    QByteArray bytesPath(const QString& relative) const {
        return QFile::encodeName(path(relative));
    }

    void write(const QString& relative, const QByteArray& bytes, qint64 seconds,
               long nanoseconds = 0) {
        const QString file = path(relative);
        ASSERT_TRUE(QDir().mkpath(QFileInfo(file).absolutePath()));
        test::writeAll(file, bytes);
        setTime(relative, seconds, nanoseconds);
    }
    void setTime(const QString& relative, qint64 seconds, long nanoseconds = 0) {
        const timespec times[2] = {{seconds, nanoseconds}, {seconds, nanoseconds}};
        ASSERT_EQ(::utimensat(AT_FDCWD, bytesPath(relative).constData(), times, 0), 0);
    }
    timespec timeOf(const QString& relative) const {
        struct stat st {};
        EXPECT_EQ(::stat(bytesPath(relative).constData(), &st), 0) << relative.toStdString();
        return st.st_mtim;
    }

    // Every file under a folder (hidden ones too), relative to it, sorted.
    QStringList filesUnder(const QString& relative) const {
        QStringList files;
        const QDir base(path(relative));
        QDirIterator it(base.path(), QDir::Files | QDir::Hidden | QDir::System,
                        QDirIterator::Subdirectories);
        while (it.hasNext())
            files.append(base.relativeFilePath(it.next()));
        files.sort();
        return files;
    }

    BackupSettings settings(QStringList sources, const QString& destination = "控え") const {
        BackupSettings s;
        for (QString& source : sources)
            if (!source.isEmpty()) source = path(source);
        s.sourceDirs = sources;
        s.copyDir = path(destination);
        s.extensions = QStringLiteral("ptm,txt,txm");
        return s;
    }

    BackupPlan plan(const BackupSettings& s) {
        const SourceCheck check = checkSources(s);
        EXPECT_TRUE(check.ok()) << check.message.toStdString();
        EXPECT_TRUE(destinationReachable(check.folders.destination));
        return planBackup(check.folders, s);
    }

    BackupOutcome backup(const BackupSettings& s, const RunOptions& options = {},
                         const ProgressCallback& progress = {}) {
        const BackupPlan p = plan(s);
        EXPECT_TRUE(backupSpaceCheck(p).ok());
        return runBackup(p, progress, m_cancel, options);
    }

    QTemporaryDir m_dir;
    std::atomic<bool> m_cancel{false};
};

TEST_F(BackupRun, SourceInTheSecondSlotLandsUnderItsOwnName) {
    write("データ/docs/原稿.txt", "chapter one", kTen, 123456789);
    write("データ/docs/章/一.TXT", "section", kTen + 60);
    write("データ/docs/絵.png", "picture", kTen);
    ASSERT_EQ(::chmod(bytesPath("データ/docs/原稿.txt").constData(), 0640), 0);

    const BackupOutcome outcome = backup(settings({"", "データ/docs/", "", "", ""}));

    EXPECT_EQ(filesUnder("控え"), (QStringList{"docs/原稿.txt", "docs/章/一.TXT"}));
    EXPECT_EQ(readAll(path("控え/docs/原稿.txt")), "chapter one");
    const timespec copied = timeOf("控え/docs/原稿.txt");
    EXPECT_EQ(copied.tv_sec, kTen);
    EXPECT_EQ(copied.tv_nsec, 123456789) << "the time is kept to the nanosecond";
    struct stat st {};
    ASSERT_EQ(::stat(bytesPath("控え/docs/原稿.txt").constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    EXPECT_EQ(outcome.total, 2);
    EXPECT_EQ(outcome.copied, 2);
    EXPECT_TRUE(outcome.failures.isEmpty());
    EXPECT_EQ(backupReports(outcome).front().text, completionMessage(2, 0));
}

TEST_F(BackupRun, CopiesOnlyWhatIsMissingOrOlder) {
    write("src/a.txt", "a", kTen);
    write("src/b.txt", "b", kTen);
    write("src/c.txt", "c", kTen + 1);
    const BackupSettings s = settings({"src"});
    ASSERT_EQ(backup(s).copied, 3);

    // A rerun copies nothing yet counts every file.
    BackupOutcome rerun = backup(s);
    EXPECT_EQ(rerun.copied, 0);
    EXPECT_EQ(rerun.total, 3);
    EXPECT_EQ(backupReports(rerun).front().text, completionMessage(3, 0));

    write("src/a.txt", "a, changed", kTen + 2);                  // newer: copied again
    write("控え/src/b.txt", "edited in the backup", kTen + 100); // target newer: left alone
    // A FAT disk keeps times to even seconds, rounded down: not older than kTen + 1.
    setTime("控え/src/c.txt", kTen);
    rerun = backup(s);
    EXPECT_EQ(rerun.copied, 1);
    EXPECT_EQ(readAll(path("控え/src/a.txt")), "a, changed");
    EXPECT_EQ(readAll(path("控え/src/b.txt")), "edited in the backup");

    setTime("控え/src/c.txt", kTen - 1); // a whole step older
    EXPECT_EQ(backup(s).copied, 1);
}

TEST_F(BackupRun, FlatBackupKeepsTheNewestOfSameNamedFiles) {
    write("一/a.txt", "ten o'clock", kTen);
    write("二/A.TXT", "eleven o'clock", kTen + 3600);
    write("二/b.txt", "b", kTen);
    BackupSettings s = settings({"一", "二"});
    s.folderCopy = false;

    const BackupOutcome outcome = backup(s);

    EXPECT_EQ(filesUnder("控え"), (QStringList{"A.TXT", "b.txt"}));
    EXPECT_EQ(readAll(path("控え/A.TXT")), "eleven o'clock");
    EXPECT_EQ(outcome.dropped, 1);
    EXPECT_EQ(backupReports(outcome).front().text, completionMessage(2, 1));
}

TEST_F(BackupRun, ListsFilesFolderByFolderLastSubFolderFirst) {
    for (const char* name : {"src/a.txt", "src/b/1.txt", "src/b/c/2.txt", "src/d/3.txt",
                             "src/e.txt", "src/RECYCLED/4.txt", "src/b/RECYCLED", "src/x.doc"})
        write(QString::fromUtf8(name), "x", kTen);
    BackupSettings s = settings({"src"});
    s.extensions = QStringLiteral("txt, doc,*");

    std::vector<std::string> order;
    for (const BackupItem& item : plan(s).items)
        order.push_back(item.source.mid(bytesPath("src").size() + 1).toStdString());
    // Names in byte order (RECYCLED < b < d). "*" takes x.doc; the file named RECYCLED is left
    // out, the folder of that name is not.
    EXPECT_EQ(order, (std::vector<std::string>{"a.txt", "e.txt", "x.doc", "d/3.txt", "b/1.txt",
                                               "b/c/2.txt", "RECYCLED/4.txt"}));
    s.extensions = QStringLiteral("txt, doc");
    for (const BackupItem& item : plan(s).items)
        EXPECT_FALSE(item.source.endsWith(".doc")) << "\" doc\" is not \"doc\"";
}

TEST_F(BackupRun, LinksToFoldersAreNotFollowedLinksToFilesAre) {
    write("外.txt", "outside", kTen);
    write("src/本文.txt", "text", kTen);
    ASSERT_EQ(::symlink("..", bytesPath("src/loop").constData()), 0);
    ASSERT_EQ(::symlink("../外.txt", bytesPath("src/link.txt").constData()), 0);
    ASSERT_EQ(::symlink("nowhere", bytesPath("src/dangling.txt").constData()), 0);
    ASSERT_EQ(::symlink("nowhere", bytesPath("src/dangling.png").constData()), 0);

    const BackupOutcome outcome = backup(settings({"src"}));

    EXPECT_EQ(filesUnder("控え"), (QStringList{"src/link.txt", "src/本文.txt"}));
    EXPECT_EQ(readAll(path("控え/src/link.txt")), "outside");
    struct stat st {};
    ASSERT_EQ(::lstat(bytesPath("控え/src/link.txt").constData(), &st), 0);
    EXPECT_TRUE(S_ISREG(st.st_mode));
    ASSERT_EQ(outcome.failures.size(), 1) << "a dangling link of a listed type is reported";
    EXPECT_EQ(outcome.failures[0].path, path("src/dangling.txt"));
    EXPECT_TRUE(outcome.lastCopyOk);
}

TEST_F(BackupRun, DestinationInsideASourceIsNotBackedUpAgain) {
    write("home/原稿.txt", "text", kTen);
    const BackupSettings s = settings({"home"}, "home/控え");
    EXPECT_EQ(backup(s).copied, 1);
    const BackupOutcome again = backup(s);
    EXPECT_EQ(again.total, 1);
    EXPECT_EQ(filesUnder("home/控え"), (QStringList{"home/原稿.txt"}));
}

TEST_F(BackupRun, ChecksInOrder) {
    using P = SourceCheck::Problem;
    ASSERT_TRUE(QDir().mkpath(path("src")));
    ASSERT_TRUE(QDir().mkpath(path("控え")));
    ASSERT_EQ(::symlink(bytesPath("控え").constData(), bytesPath("別名").constData()), 0);

    BackupSettings s = settings({"", "", "", "", ""});
    EXPECT_EQ(checkSources(s).problem, P::NotConfigured);
    s = settings({"src"}, "");
    s.copyDir.clear();
    EXPECT_EQ(checkSources(s).problem, P::NotConfigured);
    EXPECT_EQ(checkSources(s).message, notConfiguredMessage());
    EXPECT_EQ(checkSources(s).kind, MessageKind::Error);

    // A missing source does not hide that another source is the destination.
    const SourceCheck same = checkSources(settings({"ない", "控え/"}));
    EXPECT_EQ(same.problem, P::SameFolder);
    EXPECT_EQ(same.kind, MessageKind::Warning);
    EXPECT_FALSE(same.errorReaction);
    EXPECT_EQ(checkSources(settings({"別名"})).problem, P::SameFolder) << "same folder, other name";

    const SourceCheck missing = checkSources(settings({"src", "ない"}));
    EXPECT_EQ(missing.problem, P::SourceMissing);
    EXPECT_EQ(missing.message, sourceMissingMessage());
    EXPECT_TRUE(missing.errorReaction);

    EXPECT_TRUE(checkSources(settings({"src"}, "まだない")).ok()) << "made when copying";
}

TEST_F(BackupRun, DestinationOnAMissingDiskWaitsForRetry) {
    const QByteArray destination = bytesPath("media/usb/控え");
    EXPECT_FALSE(destinationReachable(destination)); // answered with Abort: the run ends
    ASSERT_TRUE(QDir().mkpath(path("media/usb")));   // the disk is mounted; Retry
    EXPECT_TRUE(destinationReachable(destination));
    EXPECT_TRUE(destinationReachable("/"));
}

// Fails the copy of the named file part-way through.
RunOptions failingCopyOf(const QString& name) {
    RunOptions options;
    options.copy.chunkBytes = 2;
    const QByteArray suffix = '/' + QFile::encodeName(name);
    options.copy.afterChunk = [suffix](const QByteArray& source, qint64) {
        return !source.endsWith(suffix);
    };
    return options;
}

TEST_F(BackupRun, OnlyTheLastCopyAttemptedDecidesTheCompletionReport) {
    write("src/a.txt", "aaaa", kTen);
    write("src/b.txt", "bbbb", kTen);
    write("src/c.txt", "cccc", kTen);
    const BackupSettings s = settings({"src"});

    BackupOutcome outcome = backup(s, failingCopyOf("c.txt"));
    EXPECT_FALSE(outcome.lastCopyOk);
    QList<BackupReport> reports = backupReports(outcome);
    ASSERT_EQ(reports.size(), 1);
    EXPECT_EQ(reports[0].text, failureMessage(1, path("src/c.txt")));
    EXPECT_EQ(filesUnder("控え"), (QStringList{"src/a.txt", "src/b.txt"}));

    QDir(path("控え")).removeRecursively();
    outcome = backup(s, failingCopyOf("a.txt"));
    reports = backupReports(outcome);
    ASSERT_EQ(reports.size(), 2);
    EXPECT_EQ(reports[0].text, completionMessage(3, 0));
    EXPECT_EQ(reports[1].text, failureMessage(1, path("src/a.txt")));
    EXPECT_EQ(outcome.copied, 2);
}

TEST_F(BackupRun, AFolderInTheWayOfACopyIsAFailureNotASkip) {
    write("src/a.txt", "a", kTen);
    write("src/b.txt", "b", kTen);
    write("控え/src/a.txt/中身.txt", "in the way", kTen + 100);
    const BackupOutcome outcome = backup(settings({"src"}));
    ASSERT_EQ(outcome.failures.size(), 1);
    EXPECT_EQ(outcome.failures[0].path, path("src/a.txt"));
    EXPECT_EQ(outcome.copied, 1);
    EXPECT_TRUE(outcome.lastCopyOk);
    EXPECT_EQ(filesUnder("控え/src"), (QStringList{"a.txt/中身.txt", "b.txt"}));
}

TEST_F(BackupRun, AnInterruptedCopyLeavesNothingUnderTheRealName) {
    const QByteArray text(64 * 1024, 'x');
    write("src/新.txt", text, kTen);
    write("src/旧.txt", text, kTen + 10);
    write("控え/src/旧.txt", "the old backup", kTen);
    const BackupSettings s = settings({"src"});
    RunOptions interrupted;
    interrupted.copy.chunkBytes = 4096;
    interrupted.copy.afterChunk = [](const QByteArray&, qint64 copied) { return copied < 8192; };

    const BackupOutcome outcome = backup(s, interrupted);
    EXPECT_EQ(outcome.failures.size(), 2);
    EXPECT_EQ(filesUnder("控え"), (QStringList{"src/旧.txt"})) << "and no temporary left";
    EXPECT_EQ(readAll(path("控え/src/旧.txt")), "the old backup");

    EXPECT_EQ(backup(s).copied, 2) << "the next run copies both";
    EXPECT_EQ(readAll(path("控え/src/新.txt")), text);
    EXPECT_EQ(readAll(path("控え/src/旧.txt")), text);
}

// A copy begins as a file of no name, which a killed run leaves nowhere; where the file system
// has none, as a hidden temporary, which the next run removes.
TEST_F(BackupRun, AKilledCopyLeavesNothingUnderTheRealName) {
    const QByteArray text(64 * 1024, 'k');
    write("src/原稿.txt", text, kTen);
    const QByteArray source = bytesPath("src/原稿.txt");
    const QByteArray target = bytesPath("控え/原稿.txt");

    for (const bool unnamed : {true, false}) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            CopyOptions options;
            options.chunkBytes = 4096;
            options.unnamedTemporaries = unnamed;
            options.afterChunk = [](const QByteArray&, qint64 copied) {
                if (copied >= 8192) ::raise(SIGKILL);
                return true;
            };
            (void)copyFile(source, target, options);
            ::_exit(0);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status));

        const QStringList left = filesUnder("控え");
        if (unnamed) {
            EXPECT_TRUE(left.isEmpty()) << left.join(' ').toStdString();
            continue;
        }
        ASSERT_EQ(left.size(), 1);
        EXPECT_TRUE(left[0].startsWith(".原稿.txt.")) << left[0].toStdString();
        const Result<void> copied = copyFile(source, target);
        ASSERT_TRUE(copied.ok()) << copied.error().text.toStdString();
        EXPECT_EQ(readAll(path("控え/原稿.txt")), text);
    }
}

TEST_F(BackupRun, TheNextRunRemovesOnlyTheTemporariesAKilledRunLeft) {
    write("src/a.txt", "a", kTen);
    write("src/sub/b.txt", "b", kTen);
    write("控え/src/.a.txt.potebak-Ab12Yz", "left by a killed run", kTen);
    write("控え/src/sub/.b.txt.potebak-000000", "left too", kTen);
    const QStringList kept = {
        "src/.a.txt.potebak-Ab12Y",      // one letter short
        "src/.a.txt.potebak-Ab12Yz.txt", // something after
        "src/a.txt.potebak-Ab12Yz",      // not hidden
        "src/.a.txt.potebak-Ab_2Yz",     // not a letter or digit
        "src/..potebak-Ab12Yz",          // no name
    };
    for (const QString& name : kept)
        write("控え/" + name, "someone else's", kTen);
    ASSERT_TRUE(QDir().mkpath(path("控え/src/.dir.potebak-AAAAAA")));
    ASSERT_TRUE(QFile::link(path("src/a.txt"), path("控え/src/.ln.potebak-AAAAAA")));
    // Waits until the file system's clock has moved past the last change of the file at name.
    const auto waitPast = [this](const QString& name) {
        struct stat st {};
        ASSERT_EQ(::stat(bytesPath(name).constData(), &st), 0);
        for (;;) {
            const timespec now = fileSystemNow();
            if (st.st_ctim.tv_sec < now.tv_sec ||
                (st.st_ctim.tv_sec == now.tv_sec && st.st_ctim.tv_nsec < now.tv_nsec))
                return;
            ::usleep(1000);
        }
    };
    // What was left is older than the run's start.
    write("marker", "", kTen);
    waitPast("marker");

    // Made once, while the run copies a.txt, into the folder the run visits next: another
    // run's, older than that visit but not than the run's start. Written again later, it would
    // come back after a sweep that took it.
    const QString atWork = "控え/src/sub/.c.txt.potebak-Zz9999";
    RunOptions options;
    options.copy.afterChunk = [&](const QByteArray& source, qint64) {
        if (source.endsWith("/a.txt")) {
            write(atWork, "at work", kTen);
            waitPast(atWork);
        }
        return true;
    };
    const BackupOutcome outcome = backup(settings({"src"}), options);
    EXPECT_EQ(outcome.copied, 2);
    QStringList expected = kept;
    expected << "src/.ln.potebak-AAAAAA"
             << "src/a.txt"
             << "src/sub/.c.txt.potebak-Zz9999"
             << "src/sub/b.txt";
    expected.sort();
    EXPECT_EQ(filesUnder("控え"), expected);
    EXPECT_TRUE(QFileInfo(path("控え/src/.dir.potebak-AAAAAA")).isDir());
}

// A batch's bytes reach the disk before any copy takes its name, and its names before the run
// goes on: a drive unplugged once the run is done holds every copy under its name. A name that
// may not have got there fails its copy.
TEST_F(BackupRun, EachBatchFlushesItsBytesThenItsNames) {
    for (const bool unnamed : {true, false}) {
        const QString destination = unnamed ? "控え" : "控え2";
        QFile::remove(path("src/d.txt"));
        write("src/a.txt", "a", kTen);
        write("src/b.txt", "b", kTen);
        write("src/c.txt", "c", kTen);
        write(destination + "/src/c.txt", "older c", kTen - 60);
        std::vector<QStringList> atFlush;
        bool namesFail = false;
        RunOptions options;
        options.copy.unnamedTemporaries = unnamed;
        options.copy.flushFileSystem = [&](int fd) {
            atFlush.push_back(filesUnder(destination));
            if (namesFail && atFlush.size() % 2 == 0) {
                errno = EIO;
                return -1;
            }
            return ::syncfs(fd);
        };
        const BackupOutcome outcome = backup(settings({"src"}, destination), options);
        EXPECT_EQ(outcome.copied, 3);
        EXPECT_TRUE(outcome.failures.isEmpty());
        ASSERT_EQ(atFlush.size(), 2u);
        // Before the first flush the copies have no names yet (or hidden ones), and the
        // older copy of c is still there.
        EXPECT_EQ(atFlush[0].filter(QStringLiteral(".potebak-")).size(), unnamed ? 0 : 3);
        EXPECT_EQ(atFlush[0].size(), unnamed ? 1 : 4);
        EXPECT_EQ(atFlush[1], (QStringList{"src/a.txt", "src/b.txt", "src/c.txt"}));
        EXPECT_EQ(readAll(path(destination + "/src/c.txt")), "c");

        write("src/d.txt", "d", kTen + 60);
        atFlush.clear();
        namesFail = true;
        const BackupOutcome failed = backup(settings({"src"}, destination), options);
        EXPECT_EQ(failed.copied, 0);
        ASSERT_EQ(failed.failures.size(), 1);
        EXPECT_TRUE(failed.failures[0].path.endsWith(QStringLiteral("d.txt")))
            << failed.failures[0].path.toStdString();
        EXPECT_EQ(failed.failures[0].reason, QString::fromLocal8Bit(std::strerror(EIO)));
        EXPECT_FALSE(failed.lastCopyOk);
    }
}

TEST(CopyTemporaryName, IsExactlyWhatACopyGivesItsTemporary) {
    QTemporaryDir dir;
    const QByteArray target = QFile::encodeName(dir.filePath(QStringLiteral("原稿.txt")));
    const QByteArray longTarget = QFile::encodeName(dir.filePath(QString(254, u'x')));
    for (const QByteArray& t : {target, longTarget}) {
        CopyOptions options;
        options.unnamedTemporaries = false;
        std::optional<QByteArray> temporary;
        options.afterChunk = [&](const QByteArray&, qint64) {
            for (const QString& name : QDir(dir.path()).entryList(QDir::Files | QDir::Hidden))
                if (name.startsWith(u'.')) temporary = QFile::encodeName(name);
            return true;
        };
        test::writeAll(dir.filePath(QStringLiteral("元")), "x");
        const Result<void> copied =
            copyFile(QFile::encodeName(dir.filePath(QStringLiteral("元"))), t, options);
        ASSERT_TRUE(copied.ok()) << copied.error().text.toStdString();
        ASSERT_TRUE(temporary);
        EXPECT_TRUE(isCopyTemporaryName(*temporary)) << temporary->toStdString();
    }
}

TEST_F(BackupRun, CancellingStopsAfterTheFileAtHand) {
    for (int i = 0; i < 5; ++i)
        write(QStringLiteral("src/%1.txt").arg(i), "x", kTen);
    RunOptions everyFile;
    everyFile.progressMs = 0;
    std::vector<qint64> seen;
    const BackupOutcome outcome =
        backup(settings({"src"}), everyFile, [&](const BackupProgress& p) {
            seen.push_back(p.done);
            if (p.done == 2) m_cancel = true;
        });
    EXPECT_TRUE(outcome.cancelled);
    EXPECT_EQ(outcome.processed, 2);
    EXPECT_EQ(outcome.copied, 2);
    EXPECT_EQ(seen, (std::vector<qint64>{1, 2}));
    EXPECT_EQ(filesUnder("控え"), (QStringList{"src/0.txt", "src/1.txt"}));
    EXPECT_EQ(backupReports(outcome).front().text, cancelledMessage(2));
}

TEST_F(BackupRun, ProgressEvery51FilesAndAtTheLast) {
    for (int i = 0; i < 120; ++i)
        write(QStringLiteral("src/%1.txt").arg(i, 3, 10, QChar('0')), "x", kTen);
    RunOptions slowClock;
    slowClock.progressMs = 3'600'000;
    std::vector<qint64> seen;
    backup(settings({"src"}), slowClock, [&](const BackupProgress& p) {
        seen.push_back(p.done);
        EXPECT_EQ(p.total, 120);
    });
    EXPECT_EQ(seen, (std::vector<qint64>{51, 102, 120}));
}

TEST_F(BackupRun, UnreadableFolderIsAFailure) {
    write("src/読めない/a.txt", "x", kTen);
    write("src/b.txt", "x", kTen);
    ASSERT_EQ(::chmod(bytesPath("src/読めない").constData(), 0), 0);
    const BackupSettings s = settings({"src"});
    const auto failuresSeen = [&] {
        const BackupPlan p = planBackup(checkSources(s).folders, s);
        return p.failures.size() == 1 && p.failures[0].path == path("src/読めない") &&
               p.items.size() == 1;
    };
    if (::geteuid() != 0) {
        EXPECT_TRUE(failuresSeen());
        return;
    }
    // Root reads every folder: look as an ordinary user, in a child process.
    ASSERT_EQ(::chmod(QFile::encodeName(m_dir.path()).constData(), 0755), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (::setgid(65534) != 0 || ::setuid(65534) != 0) ::_exit(2);
        ::_exit(failuresSeen() ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    if (WEXITSTATUS(status) == 2)
        GTEST_SKIP() << "cannot become an ordinary user to test an unreadable folder";
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the unreadable folder is the one failure";
}

TEST_F(BackupRun, FullDiskFailsTheCheckAndLeavesNoPartialFile) {
    if (::geteuid() != 0) GTEST_SKIP() << "mounting a small tmpfs needs root";
    const QByteArray disk = bytesPath("disk");
    ASSERT_TRUE(QDir().mkpath(path("disk")));
    if (::mount("tmpfs", disk.constData(), "tmpfs", 0, "size=256k") != 0)
        GTEST_SKIP() << "cannot mount a tmpfs here: " << std::strerror(errno);
    struct Unmount {
        QByteArray at;
        ~Unmount() { ::umount2(at.constData(), MNT_DETACH); }
    } unmount{disk};

    const QByteArray text(100 * 1024, 'f');
    for (const char* name : {"src/1.txt", "src/2.txt", "src/3.txt"})
        write(QString::fromUtf8(name), text, kTen);
    const BackupSettings s = settings({"src"}, "disk/控え");
    const BackupPlan p = plan(s);
    EXPECT_EQ(p.neededBytes, 3 * 100 * 1024);
    const Result<void> space = backupSpaceCheck(p);
    ASSERT_FALSE(space.ok());
    EXPECT_TRUE(space.error().text.endsWith(QStringLiteral("合計書き込みサイズ＝307,200byte")))
        << space.error().text.toStdString();

    // Copying anyway: what does not fit fails, and is not left half-written.
    const BackupOutcome outcome = runBackup(p, {}, m_cancel);
    EXPECT_FALSE(outcome.failures.isEmpty());
    EXPECT_EQ(outcome.copied + outcome.failures.size(), 3);
    const QStringList left = filesUnder("disk/控え");
    EXPECT_EQ(left.size(), outcome.copied) << "no temporary left behind";
    for (const QString& file : left)
        EXPECT_EQ(readAll(path("disk/控え/" + file)), text) << file.toStdString();
}

} // namespace
} // namespace pote::backup
