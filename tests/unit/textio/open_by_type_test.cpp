#include "textio/open_by_type.h"

#include "support/result_check.h"
#include "support/test_files.h"
#include "textio/text_messages.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace pote {
namespace {

QList<QUrl> files(std::initializer_list<const char*> paths) {
    QList<QUrl> urls;
    for (const char* path : paths)
        urls << QUrl::fromLocalFile(QString::fromUtf8(path));
    return urls;
}

const OpenTarget kNewDocument{1, {}, false};

TEST(FileExtension, IsWhatFollowsTheLastDotOfTheWholePath) {
    EXPECT_EQ(file_extension(QStringLiteral("/home/u/章.TXT")), QStringLiteral("txt"));
    EXPECT_EQ(file_extension(QStringLiteral("/home/u/a.b.Ptm")), QStringLiteral("ptm"));
    EXPECT_EQ(file_extension(QStringLiteral("/home/u/readme")), QStringLiteral("/home/u/readme"))
        << "no dot: the whole path";
    EXPECT_EQ(file_extension(QStringLiteral("/home/u.txt/readme")), QStringLiteral("txt/readme"))
        << "a dot in a folder gives a folder's tail";
    EXPECT_EQ(file_extension(QStringLiteral("/home/u/name.")), QString());
}

struct DropRow {
    const char* name;
    QList<QUrl> urls;
    OpenTarget target;
    OpenAction action;
    bool plainText;
    bool askToSave;
};

class Drops : public testing::TestWithParam<DropRow> {};

TEST_P(Drops, FollowTheFirstFilesExtension) {
    const DropRow& row = GetParam();
    const OpenByType open = decideDroppedFiles(row.urls, row.target);
    EXPECT_EQ(open.action, row.action);
    EXPECT_EQ(open.beginPlainTextMode, row.plainText);
    EXPECT_EQ(open.askToSave, row.askToSave);
    if (row.action != OpenAction::Nothing) {
        EXPECT_EQ(open.path, row.urls.first().toLocalFile());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rules, Drops,
    testing::Values(
        DropRow{"OnlyTheFirstOfThree", files({"/t/一.ptm", "/t/二.txt", "/t/三.txm"}), kNewDocument,
                OpenAction::DocumentRead, false, false},
        DropRow{"FirstUnknownIgnoresTheRest", files({"/t/a.doc", "/t/b.txt"}), kNewDocument,
                OpenAction::Nothing, false, false},
        DropRow{"CapitalsWorkLikeLowerCase", files({"/t/A.TXT"}), kNewDocument,
                OpenAction::LoadTextIntoCurrent, true, false},
        DropRow{"RtfIsReadAsText", files({"/t/a.rtf"}), kNewDocument,
                OpenAction::LoadTextIntoCurrent, true, false},
        DropRow{"NoDotAtAll", files({"/t/readme"}), kNewDocument, OpenAction::Nothing, false,
                false},
        DropRow{"DotOnlyInTheFolder", files({"/t/notes.txt/readme"}), kNewDocument,
                OpenAction::Nothing, false, false},
        DropRow{"TextOnTwoSectionsOnlyFillsTheSection", files({"/t/a.txt"}),
                OpenTarget{2, {}, false}, OpenAction::LoadTextIntoCurrent, false, false},
        DropRow{"TextOnASavedDocumentOnlyFillsTheSection", files({"/t/a.txt"}),
                OpenTarget{1, "/t/文書.ptm", false}, OpenAction::LoadTextIntoCurrent, false, false},
        DropRow{"TextOnAModifiedDocumentAsksFirst", files({"/t/a.txt"}),
                OpenTarget{1, "/t/文書.ptm", true}, OpenAction::LoadTextIntoCurrent, false, true},
        DropRow{"TextOnModifiedPlainTextAsksFirst", files({"/t/b.txt"}), OpenTarget{1, {}, true},
                OpenAction::LoadTextIntoCurrent, true, true},
        DropRow{"LinkedTextOnAModifiedDocumentAsksFirst", files({"/t/a.txm"}),
                OpenTarget{3, "/t/文書.ptm", true}, OpenAction::LinkedTextRead, false, true},
        DropRow{"LinkedTextOnAnUntouchedDocument", files({"/t/a.txm"}), kNewDocument,
                OpenAction::LinkedTextRead, false, false},
        DropRow{"DocumentOnAModifiedDocumentAsksFirst", files({"/t/b.PTM"}),
                OpenTarget{1, {}, true}, OpenAction::DocumentRead, false, true}),
    [](const testing::TestParamInfo<DropRow>& row) { return row.param.name; });

TEST(Drops, NothingForWhatIsNotALocalFile) {
    EXPECT_EQ(decideDroppedFiles({}, kNewDocument).action, OpenAction::Nothing);
    EXPECT_EQ(decideDroppedFiles({QUrl(QStringLiteral("https://example.org/a.txt"))}, kNewDocument)
                  .action,
              OpenAction::Nothing);
}

class CommandLine : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        QDir(m_dir.path()).mkpath(QStringLiteral("下書き"));
        for (const char* name : {"下書き/第 一 章.txt", "文書.PTM", "連結.txm", "メモ.rtf"})
            test::writeAll(m_dir.filePath(QString::fromUtf8(name)), "x");
    }
    Result<CommandLineOpen> run(const QStringList& parameters,
                                OpenTarget target = kNewDocument) const {
        return decideCommandLineOpen(parameters, m_dir.path(), target);
    }
    QTemporaryDir m_dir;
};

TEST_F(CommandLine, ATextPathSplitAtItsSpacesOpensInPlainTextMode) {
    const Result<CommandLineOpen> decided = run({"下書き/第", "一", "章.txt"});
    ASSERT_TRUE(decided) << test::errorText(decided);
    const CommandLineOpen& open = *decided;
    EXPECT_EQ(open.named, QStringLiteral("下書き/第 一 章.txt"));
    EXPECT_EQ(open.open.action, OpenAction::LoadTextIntoCurrent);
    EXPECT_TRUE(open.open.beginPlainTextMode);
    EXPECT_FALSE(open.open.askToSave);
    EXPECT_EQ(open.open.path, m_dir.filePath(QStringLiteral("下書き/第 一 章.txt")))
        << "relative to the current folder, and the full path is what the title shows";
}

TEST_F(CommandLine, AnAbsoluteDocumentPathIsReadWhateverTheCurrentFolder) {
    const QString path = m_dir.filePath(QStringLiteral("文書.PTM"));
    const Result<CommandLineOpen> decided =
        decideCommandLineOpen({path, ""}, QDir::rootPath(), kNewDocument);
    ASSERT_TRUE(decided) << test::errorText(decided);
    const CommandLineOpen& open = *decided;
    EXPECT_EQ(open.named, path) << "trailing blanks go";
    EXPECT_EQ(open.open.action, OpenAction::DocumentRead);
    EXPECT_FALSE(open.open.beginPlainTextMode);
    EXPECT_EQ(open.open.path, path);
}

TEST_F(CommandLine, ALinkedTextReplacesTheDocumentAndUnsavedWorkIsAskedAboutFirst) {
    const Result<CommandLineOpen> decided = run({"連結.txm"});
    ASSERT_TRUE(decided) << test::errorText(decided);
    const CommandLineOpen& open = *decided;
    EXPECT_EQ(open.open.action, OpenAction::LinkedTextRead);
    EXPECT_EQ(open.open.path, m_dir.filePath(QStringLiteral("連結.txm")));
    EXPECT_FALSE(open.open.askToSave);
    // Work offered back at start-up is modified: every kind asks before replacing it.
    for (const char* name : {"連結.txm", "文書.PTM", "下書き/第 一 章.txt"})
        EXPECT_TRUE(run({name}, OpenTarget{3, {}, true}).value().open.askToSave) << name;
}

TEST_F(CommandLine, OpensNothingElseAndSaysWhy) {
    struct Row {
        const char* name;
        QStringList parameters;
        QString refusal; // the cat's words; empty: nothing opens and nothing is said
    };
    const Row rows[] = {
        {"rtf", {"メモ.rtf"}, textmsg::commandLineCannotOpen(QStringLiteral("メモ.rtf"))},
        {"missing file", {"ない.txt"}, textmsg::commandLineFileMissing(QStringLiteral("ない.txt"))},
        {"a folder", {"下書き"}, textmsg::commandLineCannotOpen(QStringLiteral("下書き"))},
        {"/d before a path",
         {"/d", "文書.PTM"},
         textmsg::commandLineFileMissing(QStringLiteral("/d 文書.PTM"))},
        {"path split at one of two spaces",
         {"下書き/第  一", "章.txt"},
         textmsg::commandLineFileMissing(QStringLiteral("下書き/第  一 章.txt"))},
        {"/d alone names no file", {"/d"}, {}},
        {"blanks name no file", {"", " "}, {}},
    };
    for (const Row& row : rows) {
        const Result<CommandLineOpen> open = run(row.parameters);
        if (!row.refusal.isEmpty()) {
            ASSERT_EQ(test::failureOf(open), Error::Kind::Refused) << row.name;
            EXPECT_EQ(open.error().text, row.refusal) << row.name;
            EXPECT_TRUE(open.error().path.isEmpty()) << row.name << ": the words name the file";
            continue;
        }
        ASSERT_TRUE(open) << row.name;
        EXPECT_EQ(open->open.action, OpenAction::Nothing) << row.name;
        EXPECT_TRUE(open->open.path.isEmpty()) << row.name;
    }
}

} // namespace
} // namespace pote
