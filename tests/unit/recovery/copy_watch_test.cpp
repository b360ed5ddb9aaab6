// The window's looks at the document, followed on a clock of the test's own at the real times:
// a copy the quiet pause after the last look that found a change, and only then.

#include "recovery/copy_watch.h"

#include <gtest/gtest.h>

namespace pote::recovery {
namespace {

class CopyWatchTest : public testing::Test {
protected:
    // Looks every kLookInterval until a copy is due or the time is past until; when it was due.
    qint64 lookUntilDue(qint64 until, quint64 paneChanges = 0) {
        for (; now <= until; now += kLookInterval.count())
            if (watch.look(store, paneChanges)) return now;
        return -1;
    }

    qint64 now = 0;
    CopyWatch watch{kQuietPause, kLongestWait, [this] { return now; }};
    SectionStore store;
};

TEST_F(CopyWatchTest, TheCopyFollowsTheQuietPauseAfterTheLastChangeSeen) {
    const qint64 step = kLookInterval.count();
    // A key between every two looks for three seconds, then nothing.
    for (; now < 3000; now += step) {
        store.section(0).text += 'a';
        ASSERT_FALSE(watch.look(store, 0)) << now;
    }
    const qint64 lastChange = now - step;
    EXPECT_EQ(lookUntilDue(lastChange + kLongestWait.count()), lastChange + kQuietPause.count());
    watch.copied(store, 0);
    EXPECT_EQ(lookUntilDue(now + kLongestWait.count()), -1) << "nothing new to copy";

    // The pane alone changed (its count), once.
    const qint64 paneChange = now;
    EXPECT_EQ(lookUntilDue(now + kLongestWait.count(), 1), paneChange + kQuietPause.count());
    watch.copied(store, 1);

    // Typing that never pauses is copied now and then all the same.
    const qint64 typingFrom = now;
    qint64 due = -1;
    for (; due < 0 && now < typingFrom + 3 * kLongestWait.count(); now += step) {
        store.section(0).text += 'b';
        if (watch.look(store, 1)) due = now;
    }
    EXPECT_EQ(due, typingFrom + kLongestWait.count());

    // A failed copy: the changes it held wait for the next pause again.
    watch.copied(store, 1);
    watch.copyFailed();
    const qint64 failedAt = now;
    EXPECT_EQ(lookUntilDue(now + kLongestWait.count(), 1), failedAt + kQuietPause.count());
}

} // namespace
} // namespace pote::recovery
