#include "recovery/recovery_folder.h"

#include "support/test_files.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

namespace pote::recovery {
namespace {

class RecoveryFolderTest : public ::testing::Test {
protected:
    QString folder() const { return m_dir.filePath(QStringLiteral("状態/recovery")); }
    QStringList files() const { return QDir(folder()).entryList(QDir::Files, QDir::Name); }
    // An editor in a process of its own that writes a copy and dies without cleaning up, as
    // a crash or kill -9 would leave it.
    QString copyOfDeadEditor(const QByteArray& bytes) {
        int pipeFds[2];
        EXPECT_EQ(::pipe(pipeFds), 0);
        const pid_t child = ::fork();
        if (child == 0) {
            RecoveryFolder editor(folder());
            bool ok = editor.open().ok();
            QFile copy(editor.copyPath());
            ok = ok && copy.open(QIODevice::WriteOnly) && copy.write(bytes) == bytes.size();
            copy.close();
            const QByteArray path = ok ? QFile::encodeName(editor.copyPath()) : QByteArray();
            ok = ::write(pipeFds[1], path.constData(), size_t(path.size())) == path.size();
            std::_Exit(ok ? 0 : 1);
        }
        ::close(pipeFds[1]);
        char buffer[4096];
        const ssize_t n = ::read(pipeFds[0], buffer, sizeof buffer);
        ::close(pipeFds[0]);
        int status = 0;
        ::waitpid(child, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        return n > 0 ? QFile::decodeName(QByteArray(buffer, int(n))) : QString();
    }

    QTemporaryDir m_dir;
};

TEST_F(RecoveryFolderTest, OpeningMakesAPrivateFolderAndALock) {
    RecoveryFolder editor(folder());
    ASSERT_TRUE(editor.open());
    EXPECT_EQ(QFileInfo(folder()).permissions() & 0x0077, QFile::Permissions());
    EXPECT_EQ(files().size(), 1);
    EXPECT_TRUE(editor.copyPath().startsWith(folder() + u'/'));
    EXPECT_TRUE(editor.copyPath().endsWith(QLatin1String(kCopySuffix)));
}

TEST_F(RecoveryFolderTest, FolderThatCannotBeMadeIsReported) {
    test::writeAll(m_dir.filePath(QStringLiteral("状態")), "a file, not a folder");
    RecoveryFolder editor(folder());
    const Result<void> opened = editor.open();
    EXPECT_FALSE(opened);
    EXPECT_FALSE(opened.error().text.isEmpty());
    EXPECT_FALSE(editor.isOpen());
}

TEST_F(RecoveryFolderTest, OnlyCopiesOfEditorsThatEndedAreLeftovers) {
    RecoveryFolder running(folder());
    ASSERT_TRUE(running.open());
    test::writeAll(running.copyPath(), "running");
    const QString dead = copyOfDeadEditor("dead");
    ASSERT_FALSE(dead.isEmpty());

    RecoveryFolder starting(folder());
    ASSERT_TRUE(starting.open());
    test::writeAll(starting.copyPath(), "own");
    std::vector<Leftover> leftovers = starting.claimLeftovers();
    ASSERT_EQ(leftovers.size(), 1u);
    EXPECT_EQ(leftovers[0].path(), dead);

    // While one starting editor holds it, another does not offer it too.
    RecoveryFolder alsoStarting(folder());
    ASSERT_TRUE(alsoStarting.open());
    EXPECT_TRUE(alsoStarting.claimLeftovers().empty());
    leftovers[0].release();
    EXPECT_EQ(alsoStarting.claimLeftovers().size(), 1u);
}

TEST_F(RecoveryFolderTest, EndedEditorWithoutCleanupIsALeftoverToo) {
    // A normal end removes the lock; a copy left without one is a leftover as well.
    QString copy;
    {
        RecoveryFolder ended(folder());
        ASSERT_TRUE(ended.open());
        copy = ended.copyPath();
        test::writeAll(copy, "kept");
    }
    RecoveryFolder starting(folder());
    ASSERT_TRUE(starting.open());
    const std::vector<Leftover> leftovers = starting.claimLeftovers();
    ASSERT_EQ(leftovers.size(), 1u);
    EXPECT_EQ(leftovers[0].path(), copy);
}

TEST_F(RecoveryFolderTest, DecisionsOnALeftover) {
    const QString kept = copyOfDeadEditor("kept");
    const QString thrown = copyOfDeadEditor("thrown");
    const QString adopted = copyOfDeadEditor("adopted");
    RecoveryFolder starting(folder());
    ASSERT_TRUE(starting.open());
    test::writeAll(starting.copyPath(), "older copy of this editor");
    std::vector<Leftover> leftovers = starting.claimLeftovers();
    ASSERT_EQ(leftovers.size(), 3u);
    for (Leftover& leftover : leftovers) {
        if (leftover.path() == thrown) {
            EXPECT_TRUE(leftover.discard());
        } else if (leftover.path() == adopted) {
            const Result<void> moved = leftover.moveTo(starting.copyPath());
            EXPECT_TRUE(moved) << moved.error().text.toStdString();
        } else {
            leftover.release();
        }
    }
    EXPECT_FALSE(QFile::exists(thrown));
    EXPECT_FALSE(QFile::exists(adopted));
    EXPECT_EQ(test::readAll(kept), "kept");
    EXPECT_EQ(test::readAll(starting.copyPath()), "adopted");
    // Only the kept copy is offered again (the adopting editor still runs); the others left
    // nothing behind.
    RecoveryFolder next(folder());
    ASSERT_TRUE(next.open());
    const std::vector<Leftover> again = next.claimLeftovers();
    ASSERT_EQ(again.size(), 1u);
    EXPECT_EQ(again[0].path(), kept);
    EXPECT_EQ(files().size(), 2 + 2 + 1); // two copies, their two locks, the new editor's lock
}

} // namespace
} // namespace pote::recovery
