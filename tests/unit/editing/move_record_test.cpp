#include "editing/move_record.h"

#include <gtest/gtest.h>

#include <vector>

namespace pote {
namespace {

using Carried = std::vector<QByteArray>;

const QString kText = QStringLiteral("纊と≒");
const QByteArray kBytes("\xED\x40\x82\xC6\x87\x90");

// A cut whose text the store no longer holds: cut, then committed.
void cutAndCommit(MoveRecord& record, const QString& text = kText,
                  const QByteArray& bytes = kBytes) {
    record.cut(text, bytes);
    record.storeChanged();
}

TEST(MoveRecord, OnlyTheFirstPasteOfACutTheStoreNoLongerHoldsCarriesItsBytes) {
    {
        SCOPED_TRACE("a paste without a cut");
        MoveRecord record;
        record.pasted(kText);
        EXPECT_EQ(record.carried(), Carried{});
    }
    {
        SCOPED_TRACE("the store still holds the cut text: the merge finds it there");
        MoveRecord record;
        record.cut(kText, kBytes);
        record.pasted(kText);
        EXPECT_EQ(record.carried(), Carried{});
        record.storeChanged();
        record.pasted(kText);
        EXPECT_EQ(record.carried(), Carried{}) << "the cut went with its first paste";
    }
    {
        SCOPED_TRACE("cut, committed, pasted, pasted again");
        MoveRecord record;
        cutAndCommit(record);
        EXPECT_EQ(record.carried(), Carried{}) << "not yet pasted";
        record.pasted(QStringLiteral("別の文"));
        EXPECT_EQ(record.carried(), Carried{}) << "another text pasted";
        record.pasted(kText);
        EXPECT_EQ(record.carried(), Carried{kBytes});
        record.pasted(kText);
        EXPECT_EQ(record.carried(), Carried{kBytes}) << "a second paste is a copy";
    }
    {
        SCOPED_TRACE("the encoder's own codes carry nothing");
        MoveRecord record;
        cutAndCommit(record, QStringLiteral("あ"), {});
        record.pasted(QStringLiteral("あ"));
        EXPECT_EQ(record.carried(), Carried{});
    }
    {
        SCOPED_TRACE("a later cut replaces the one before");
        MoveRecord record;
        cutAndCommit(record, QStringLiteral("古い"), "old");
        cutAndCommit(record);
        record.pasted(QStringLiteral("古い"));
        record.pasted(kText);
        EXPECT_EQ(record.carried(), Carried{kBytes});
    }
}

TEST(MoveRecord, TheStoreTakingTheTextDropsTheCarriedBytesAndKeepsACutNotYetPasted) {
    MoveRecord record;
    cutAndCommit(record);
    record.pasted(kText);
    cutAndCommit(record, kText + "x", kBytes + "x");
    EXPECT_EQ(record.carried(), Carried{});
    record.pasted(kText + "x");
    EXPECT_EQ(record.carried(), Carried{kBytes + "x"}) << "pasted in the section shown next";
}

TEST(MoveRecord, TheRecordFollowsTheUndoSnapshot) {
    {
        SCOPED_TRACE("a cut put back by an undo makes its paste a copy");
        MoveRecord record;
        record.snapshotTaken();
        cutAndCommit(record);
        record.snapshotSwapped();
        record.snapshotTaken();
        record.pasted(kText);
        EXPECT_EQ(record.carried(), Carried{});
    }
    {
        SCOPED_TRACE("an undone paste carries nothing, and its redo carries again");
        MoveRecord record;
        record.snapshotTaken();
        cutAndCommit(record);
        record.snapshotTaken();
        record.pasted(kText);
        record.snapshotSwapped();
        EXPECT_EQ(record.carried(), Carried{});
        record.snapshotSwapped();
        EXPECT_EQ(record.carried(), Carried{kBytes});
        record.snapshotSwapped();
        record.snapshotTaken();
        record.pasted(kText);
        EXPECT_EQ(record.carried(), Carried{kBytes}) << "pasted again after the undo";
    }
    {
        SCOPED_TRACE("a paste undone, a commit, the paste redone: the snapshot kept the bytes");
        MoveRecord record;
        cutAndCommit(record);
        record.snapshotTaken();
        record.pasted(kText);
        record.snapshotSwapped();
        record.storeChanged();
        record.snapshotSwapped();
        EXPECT_EQ(record.carried(), Carried{kBytes});
    }
    {
        SCOPED_TRACE("a paste undone, a commit, the paste redone, the cut never committed");
        MoveRecord record;
        record.cut(kText, kBytes);
        record.snapshotTaken();
        record.pasted(kText);
        EXPECT_EQ(record.carried(), Carried{});
        record.snapshotSwapped();
        record.storeChanged();
        record.snapshotSwapped();
        EXPECT_EQ(record.carried(), Carried{kBytes});
    }
    {
        SCOPED_TRACE("a cut undone to, after a commit: the store took the text without it");
        MoveRecord record;
        record.cut(kText, kBytes);
        record.snapshotTaken();
        record.pasted(QStringLiteral("別の文"));
        record.snapshotSwapped();
        record.storeChanged();
        record.snapshotSwapped();
        record.pasted(kText);
        EXPECT_EQ(record.carried(), Carried{kBytes});
    }
    {
        SCOPED_TRACE("without a snapshot an undo changes nothing");
        MoveRecord record;
        record.snapshotTaken();
        record.snapshotCleared();
        cutAndCommit(record);
        record.snapshotSwapped();
        record.pasted(kText);
        EXPECT_EQ(record.carried(), Carried{kBytes});
    }
}

} // namespace
} // namespace pote
