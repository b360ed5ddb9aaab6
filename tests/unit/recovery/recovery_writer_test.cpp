#include "recovery/recovery_writer.h"

#include "core/cp932.h"
#include "recovery/store_compare.h"
#include "support/result_check.h"
#include "support/test_files.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <mutex>

namespace pote::recovery {
namespace {

const docfile::PasswordGate acceptAll = [](const QByteArray&) { return true; };

SectionStore twoSections() {
    SectionStore store;
    store.section(0).text = test::sjis("一つ目\r\n");
    store.appendEmpty();
    store.section(1).text = test::sjis("二つ目\tの\r\n");
    store.current = 1;
    return store;
}

QByteArray currentTextOf(const QString& path) {
    const Result<RecoveryRead> read = readRecoveryFile(path, acceptAll);
    EXPECT_TRUE(read) << test::errorText(read);
    if (!read) return {};
    return read->content.sections.at(size_t(read->header.currentSection)).section.text;
}

class RecoveryWriterTest : public ::testing::Test {
protected:
    RecoveryJob job(const SectionStore& store, std::optional<PaneCopy> pane = std::nullopt) {
        RecoveryJob j{path(),
                      headerFor(store, QDateTime::currentDateTimeUtc()),
                      store.document(),
                      std::move(pane),
                      4,
                      {}};
        return j;
    }
    QString path() const { return m_dir.filePath(QStringLiteral("写し.recovery")); }
    QTemporaryDir m_dir;
};

TEST_F(RecoveryWriterTest, CurrentSectionIsCommittedAsTheWindowWould) {
    const struct {
        const char* name;
        std::optional<PaneCopy> pane;
        QByteArray expected;
    } rows[] = {
        {"pane not edited: the stored text, tabs expanded", std::nullopt,
         test::sjis("二つ目  の\r\n")},
        {"edited pane: line breaks as CR LF, trailing zeros dropped",
         PaneCopy::wholeText(QStringLiteral("猫\n\tね") + QChar(0) + QChar(0)),
         test::sjis("猫\r\n    ね")},
        {"edited stretch inside the loaded text",
         PaneCopy{test::sjis("二つ目\tの\r\n"), 6, {{1, 2, 1}}, {QStringLiteral("x\n")}},
         test::sjis("二x\r\n目  の\r\n")},
    };
    for (const auto& row : rows) {
        RecoveryJob j = job(twoSections(), row.pane);
        const Result<void> written = runJob(j);
        ASSERT_TRUE(written) << row.name << ": " << test::errorText(written);
        EXPECT_EQ(currentTextOf(path()), row.expected) << row.name;
    }
}

TEST_F(RecoveryWriterTest, WhatTheEditLeftAloneKeepsItsStoredCodes) {
    // ED 40 and FA 5C both decode to the same kanji; a save keeps the code the file had.
    SectionStore store = twoSections();
    const QByteArray stored = QByteArray("\xED\x40") + "abc";
    store.section(1).text = stored;
    const QString loaded = cp932::decodeForPane(stored);
    PaneCopy pane{stored, loaded.size(), {{3, 1, 1}}, {QStringLiteral("d")}};
    RecoveryJob j = job(store, pane);
    ASSERT_TRUE(runJob(j).ok());
    EXPECT_EQ(currentTextOf(path()), QByteArray("\xED\x40") + "abd");
}

TEST_F(RecoveryWriterTest, MovedTextKeepsTheCodesItsMoveCarried) {
    // Cut from another section (or before the last commit) and pasted here: the store of this
    // section never held it, only the bytes the cut carried know its code.
    SectionStore store = twoSections();
    store.section(1).text = "abc";
    const std::optional<PaneCopy> pane = PaneCopy::wholeText(QStringLiteral("ab纊c"));
    RecoveryJob carried = job(store, pane);
    carried.carried = {QByteArray("\xED\x40")};
    ASSERT_TRUE(runJob(carried).ok());
    EXPECT_EQ(currentTextOf(path()), QByteArray("ab\xED\x40") + "c");
    RecoveryJob without = job(store, pane);
    ASSERT_TRUE(runJob(without).ok());
    EXPECT_EQ(currentTextOf(path()), "ab" + cp932::encode(QStringLiteral("纊")) + "c");
    EXPECT_NE(cp932::encode(QStringLiteral("纊")), "\xED\x40");
}

TEST_F(RecoveryWriterTest, PaneCopyThatDoesNotFitWritesNothing) {
    RecoveryJob j = job(twoSections(), PaneCopy{test::sjis("別の文"), 99, {}, {}});
    const Result<void> written = runJob(j);
    ASSERT_FALSE(written);
    EXPECT_EQ(written.error().text, paneCopyMismatchMessage());
    EXPECT_FALSE(QFile::exists(path()));
}

TEST_F(RecoveryWriterTest, RemovalComesAfterWritesAndDropsQueuedOnes) {
    std::mutex mutex;
    std::vector<RecoveryWriter::Outcome> outcomes;
    {
        RecoveryWriter writer([&](const RecoveryWriter::Outcome& o) {
            std::lock_guard lock(mutex);
            outcomes.push_back(o);
        });
        for (int i = 0; i < 20; ++i) {
            SectionStore store = twoSections();
            store.section(1).text = QByteArray::number(i);
            writer.write(job(store));
        }
        writer.waitForIdle();
        EXPECT_EQ(currentTextOf(path()), "19"); // the last copy always gets written
        writer.write(job(twoSections()));
        writer.remove(path());
        writer.waitForIdle();
        EXPECT_FALSE(QFile::exists(path()));
        // Destroyed with a removal queued: it still happens.
        writer.write(job(twoSections()));
        writer.waitForIdle();
        writer.remove(path());
    }
    EXPECT_FALSE(QFile::exists(path()));
    std::lock_guard lock(mutex);
    ASSERT_FALSE(outcomes.empty());
    EXPECT_EQ(outcomes.back().kind, RecoveryWriter::Outcome::Kind::Remove);
    for (const RecoveryWriter::Outcome& o : outcomes)
        EXPECT_TRUE(o.result) << test::errorText(o.result);
}

TEST(StoreCompareTest, AnyChangeAfterASnapshotIsSeen) {
    const struct {
        const char* name;
        std::function<void(SectionStore&)> change;
        bool same;
    } rows[] = {
        {"nothing", [](SectionStore&) {}, true},
        {"text written in place", [](SectionStore& s) { s.section(0).text[0] = 'x'; }, false},
        {"text appended", [](SectionStore& s) { s.section(1).text.append('x'); }, false},
        {"name", [](SectionStore& s) { s.section(1).name = "n"; }, false},
        {"group", [](SectionStore& s) { s.section(0).group = 1; }, false},
        {"group name", [](SectionStore& s) { s.addGroup("g"); }, false},
        {"section added", [](SectionStore& s) { s.appendEmpty(); }, false},
        {"current section", [](SectionStore& s) { s.current = 0; }, false},
        {"password", [](SectionStore& s) { s.setPassword("abcd"); }, false},
        {"path", [](SectionStore& s) { s.documentPath = QStringLiteral("/a.ptm"); }, false},
        {"reserved value", [](SectionStore& s) { s.reserved(1).r3 = 9; }, false},
    };
    for (const auto& row : rows) {
        SectionStore live = twoSections();
        const StoreSnapshot snapshot = snapshotOf(live);
        row.change(live);
        EXPECT_EQ(sameContent(live, snapshot), row.same) << row.name;
    }
}

} // namespace
} // namespace pote::recovery
