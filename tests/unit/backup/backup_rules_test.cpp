// The backup's rules that need no files: the extension list, the same-name rule, target
// folders, the time resolution, the texts and which reports a run ends with.

#include "backup/backup_messages.h"
#include "backup/backup_plan.h"
#include "backup/backup_runner.h"
#include "backup/extension_filter.h"
#include "core/mascot_reactions.h"

#include <gtest/gtest.h>

namespace pote::backup {
namespace {

TEST(ExtItem, ItemsAreTheExactTextBetweenCommas) {
    const QString list = QStringLiteral("txt, doc,,PTM,");
    EXPECT_EQ(ext_item(list, 0), "txt");
    EXPECT_EQ(ext_item(list, 1), " doc") << "items are not trimmed";
    EXPECT_EQ(ext_item(list, 2), "");
    EXPECT_EQ(ext_item(list, 3), "PTM");
    EXPECT_EQ(ext_item(list, 4), "");
    EXPECT_EQ(ext_item(list, 5), "") << "past the end";
    EXPECT_EQ(ext_item(QString(), 0), "");
}

struct MatchRow {
    const char* name;
    const char* list;
    const char* file;
    bool matches;
};

class ExtMatch : public testing::TestWithParam<MatchRow> {};

TEST_P(ExtMatch, Decides) {
    const MatchRow& row = GetParam();
    EXPECT_EQ(ext_match(QString::fromUtf8(row.file), QString::fromUtf8(row.list)), row.matches);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ExtMatch,
    testing::Values(MatchRow{"Listed", "ptm,txt,txm", "原稿.txt", true},
                    MatchRow{"AnyLetterCase", "TXT", "原稿.TxT", true},
                    MatchRow{"LastDotCounts", "txt", "原稿.txt.bak", false},
                    MatchRow{"SpaceAfterCommaIsPartOfTheItem", "txt, doc", "手紙.doc", false},
                    MatchRow{"FirstItemStillMatches", "txt, doc", "手紙.txt", true},
                    MatchRow{"NoExtensionNeedsStar", "txt", "README", false},
                    MatchRow{"StarTakesEverything", "*", "README", true},
                    MatchRow{"StarAmongOthers", "txt,*", "絵.png", true},
                    MatchRow{"TrailingDotIsNoExtension", "txt", "メモ.", false},
                    MatchRow{"EmptyItemsMatchNothing", ",,", "メモ.", false},
                    MatchRow{"EmptyList", "", "a.txt", false}),
    [](const testing::TestParamInfo<MatchRow>& row) { return row.param.name; });

TEST(Candidate, OnlyAFileNamedExactlyRecycledIsLeftOut) {
    const ExtensionFilter any(QStringLiteral("*"));
    EXPECT_FALSE(isBackupCandidate("RECYCLED", any));
    EXPECT_TRUE(isBackupCandidate("Recycled", any));
    EXPECT_TRUE(isBackupCandidate("RECYCLED.txt", any));
}

TEST(TimeResolution, ComparesWholeTwoSecondSteps) {
    EXPECT_FALSE(laterAtBackupResolution({1001, 900'000'000}, {1000, 0}));
    EXPECT_TRUE(laterAtBackupResolution({1002, 0}, {1001, 999'999'999}));
    EXPECT_FALSE(laterAtBackupResolution({1000, 0}, {1000, 0}));
    EXPECT_FALSE(laterAtBackupResolution({-1, 0}, {-2, 0}));
    EXPECT_TRUE(laterAtBackupResolution({0, 0}, {-1, 0}));
}

ScannedFile file(const char* folder, const char* name, qint64 seconds) {
    return ScannedFile{folder, name, 1, FileTime{seconds, 0}, 0};
}

std::vector<QByteArray> pathsOf(const std::vector<ScannedFile>& files) {
    std::vector<QByteArray> paths;
    for (const ScannedFile& f : files)
        paths.push_back(f.folder + '/' + f.name);
    return paths;
}

TEST(SameName, NewestWinsWhateverTheLetterCase) {
    qint64 dropped = -1;
    const auto kept = keepNewestOfSameName(
        {file("/一", "a.txt", 36000), file("/一", "b.txt", 5), file("/二", "A.TXT", 39600)},
        &dropped);
    EXPECT_EQ(pathsOf(kept), (std::vector<QByteArray>{"/一/b.txt", "/二/A.TXT"}));
    EXPECT_EQ(dropped, 1);
}

TEST(SameName, FirstInListOrderAmongEquallyNew) {
    qint64 dropped = -1;
    // 101 and 100 fall in the same two-second step.
    const auto kept = keepNewestOfSameName({file("/x", "c.txt", 50), file("/y", "c.txt", 100),
                                            file("/z", "C.txt", 101), file("/w", "c.txt", 7)},
                                           &dropped);
    EXPECT_EQ(pathsOf(kept), (std::vector<QByteArray>{"/y/c.txt"}));
    EXPECT_EQ(dropped, 3);
}

TEST(SameName, OnlyAsciiLettersFoldCase) {
    qint64 dropped = -1;
    const auto kept = keepNewestOfSameName(
        {file("/x", "ｂ.txt", 1), file("/y", "Ｂ.txt", 1), file("/z", "b.txt", 1)}, &dropped);
    EXPECT_EQ(kept.size(), 3u);
    EXPECT_EQ(dropped, 0);
}

struct TargetRow {
    const char* name;
    const char* source;
    const char* folder;
    bool folderCopy;
    const char* expected;
};

class TargetFolder : public testing::TestWithParam<TargetRow> {};

TEST_P(TargetFolder, KeepsTheSourcesOwnName) {
    const TargetRow& row = GetParam();
    BackupSettings settings;
    settings.sourceDirs = {QString::fromUtf8(row.source)};
    settings.copyDir = QStringLiteral("/媒体/控え/");
    const BackupSources folders = backupSources(settings);
    ASSERT_EQ(folders.sources.size(), 1);
    EXPECT_EQ(targetFolderFor(row.folder, folders.sources[0], folders.destination, row.folderCopy),
              QByteArray(row.expected));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, TargetFolder,
    testing::Values(
        TargetRow{"SourceFolderItself", "/data/docs", "/data/docs", true, "/媒体/控え/docs"},
        TargetRow{"SubFolder", "/data/docs/", "/data/docs/章/1", true, "/媒体/控え/docs/章/1"},
        TargetRow{"RootLandsInTheDestination", "/", "/", true, "/媒体/控え"},
        TargetRow{"UnderRoot", "/", "/home/ねこ", true, "/媒体/控え/home/ねこ"},
        TargetRow{"DoubledSeparatorsCleaned", "/data//docs//", "/data/docs/a", true,
                  "/媒体/控え/docs/a"},
        TargetRow{"FlatAlwaysTheDestination", "/data/docs", "/data/docs/章", false, "/媒体/控え"}),
    [](const testing::TestParamInfo<TargetRow>& row) { return row.param.name; });

TEST(Settings, ConfiguredNeedsADestinationAndOneSource) {
    BackupSettings settings;
    settings.sourceDirs = {QString(), QString(), QStringLiteral("/a"), QString(), QString()};
    EXPECT_FALSE(backupConfigured(settings));
    settings.copyDir = QStringLiteral("/b");
    EXPECT_TRUE(backupConfigured(settings));
    settings.sourceDirs = {QString(), QString(), QString(), QString(), QString()};
    EXPECT_FALSE(backupConfigured(settings));
}

TEST(Texts, StatusBar) {
    EXPECT_EQ(scanningStatusText(), QStringLiteral("バックアップファイルの検索中"));
    EXPECT_EQ(progressStatusText(1234, 20000), QStringLiteral("バックアップ中 （1,234 / 20,000）"));
    EXPECT_EQ(progressStatusText(7, 51), QStringLiteral("バックアップ中 （7 / 51）"));
    EXPECT_EQ(elapsedStatusText(QStringLiteral("バックアップ中 （3 / 3）"), 12999),
              QStringLiteral("バックアップ中 （3 / 3）   バックアップ時間 12秒"));
}

TEST(Texts, Messages) {
    EXPECT_EQ(notConfiguredMessage(), QStringLiteral("バックアップフォルダ設定が、無いにゃ！！"));
    EXPECT_EQ(sameFolderMessage(),
              QStringLiteral("バックアップ元とバックアップ先のフォルダが、同じにゃ！！"));
    EXPECT_EQ(sourceMissingMessage(),
              QStringLiteral("バックアップ元フォルダが、見つからないにゃ！！"));
    EXPECT_EQ(destinationMissingMessage(),
              QStringLiteral("バックアップ先フォルダが、見つからないにゃ！！\r\n"
                             "準備できたら、再試行ボタンを押してにゃん。"));
    EXPECT_EQ(nothingFoundMessage(),
              QStringLiteral("設定した拡張子のファイルが見つからなかったにゃん。"));
    EXPECT_EQ(
        completionMessage(1234, 2),
        QStringLiteral("バックアップが完了したにゃん。\r\n全部で、1234個のファイルだったにゃん。"
                       "\r\nキャンセルした同名ファイル　2個"));
    EXPECT_EQ(failureMessage(3, QStringLiteral("/home/ねこ/原稿.txt")),
              QStringLiteral("バックアップが正常にできなかったにゃん・・\r\n失敗したファイル 3個"
                             "\r\n最後に失敗したファイル [/home/ねこ/原稿.txt]"));
}

struct ReportRow {
    const char* name;
    BackupOutcome outcome;
    std::vector<QString> texts;
    std::vector<int> reactions;
};

BackupOutcome outcome(qint64 total, bool lastOk, int failures, bool cancelled = false) {
    BackupOutcome o;
    o.total = total;
    o.copied = 2;
    o.dropped = 1;
    o.lastCopyOk = lastOk;
    o.cancelled = cancelled;
    for (int i = 0; i < failures; ++i)
        o.failures.append({QStringLiteral("/f%1").arg(i), QStringLiteral("EIO")});
    return o;
}

class Reports : public testing::TestWithParam<ReportRow> {};

TEST_P(Reports, InOrder) {
    const QList<BackupReport> reports = backupReports(GetParam().outcome);
    std::vector<QString> texts;
    std::vector<int> reactions;
    for (const BackupReport& r : reports) {
        texts.push_back(r.text);
        reactions.push_back(r.reaction);
        EXPECT_EQ(r.kind, r.reaction ? MessageKind::Error : MessageKind::Information);
    }
    EXPECT_EQ(texts, GetParam().texts);
    EXPECT_EQ(reactions, GetParam().reactions);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, Reports,
    testing::Values(ReportRow{"Completed", outcome(5, true, 0), {completionMessage(5, 1)}, {0}},
                    ReportRow{"LastCopyFailedShowsOnlyTheFailure",
                              outcome(5, false, 1),
                              {failureMessage(1, QStringLiteral("/f0"))},
                              {ReactionNotFound}},
                    ReportRow{"EarlierFailuresFollowTheCompletion",
                              outcome(5, true, 2),
                              {completionMessage(5, 1), failureMessage(2, QStringLiteral("/f1"))},
                              {0, ReactionNotFound}},
                    ReportRow{"NothingFound", outcome(0, true, 0), {nothingFoundMessage()}, {0}},
                    ReportRow{"NothingFoundButAFolderUnreadable",
                              outcome(0, true, 1),
                              {nothingFoundMessage(), failureMessage(1, QStringLiteral("/f0"))},
                              {0, ReactionNotFound}},
                    ReportRow{"Cancelled", outcome(5, true, 0, true), {cancelledMessage(2)}, {0}}),
    [](const testing::TestParamInfo<ReportRow>& row) { return row.param.name; });

} // namespace
} // namespace pote::backup
