#include "textio/text_files.h"

#include "core/file_io.h"
#include "core/section_store.h"
#include "support/result_check.h"
#include "support/test_files.h"
#include "textio/text_messages.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace pote {
namespace {

using test::sjis;
using Kind = Error::Kind;
using test::failureOf;

class TextFiles : public testing::Test {
protected:
    QString file(const QString& name, const QByteArray& bytes) {
        const QString path = m_dir.filePath(name);
        test::writeAll(path, bytes);
        return path;
    }

    QTemporaryDir m_dir;
};

TEST_F(TextFiles, PaneGetsLinesWithTabsExpanded) {
    const QString path = file(QStringLiteral("タブ.txt"), "a\tb\n\tc");
    Utf8Choice none;
    const Result<TextFileRead> eight = text_for_pane(path, 8, none);
    ASSERT_TRUE(eight) << test::errorText(eight);
    EXPECT_EQ(eight->text, "a       b\r\n        c\r\n");
    const Result<TextFileRead> four = text_for_pane(path, 4, none);
    EXPECT_EQ(four.value().text, "a   b\r\n    c\r\n");
    EXPECT_EQ(read_text_file(path, none).value().text, "a\tb\r\n\tc\r\n")
        << "folder add keeps tabs";
}

TEST_F(TextFiles, Utf8WithAndWithoutByteOrderMark) {
    for (const QByteArray& bom : {QByteArray(), QByteArray("\xEF\xBB\xBF")}) {
        const QString path = file(QStringLiteral("utf8.txt"), bom + "ねこ\nいぬ");
        int asked = 0;
        Utf8Choice yes([&] { return ++asked > 0; });
        EXPECT_EQ(read_text_file(path, yes).value().text, sjis("ねこ\r\nいぬ\r\n"));
        Utf8Choice no([] { return false; });
        EXPECT_EQ(read_text_file(path, no).value().text, bom + "ねこ\r\nいぬ\r\n");
        EXPECT_EQ(asked, 1);
    }
}

TEST_F(TextFiles, WhatCannotBeReadIsAnError) {
    Utf8Choice none;
    const Result<TextFileRead> missing =
        read_text_file(m_dir.filePath(QStringLiteral("ない.txt")), none);
    ASSERT_EQ(failureOf(missing), Kind::Io);
    EXPECT_FALSE(missing.error().text.isEmpty());
    ASSERT_TRUE(QDir(m_dir.path()).mkdir(QStringLiteral("フォルダ.txt")));
    const Result<TextFileRead> folder =
        read_text_file(m_dir.filePath(QStringLiteral("フォルダ.txt")), none);
    EXPECT_EQ(failureOf(folder), Kind::Io);
    const Result<TextFileRead> large = read_file_bytes(file(QStringLiteral("大.txt"), "12345"), 4);
    ASSERT_EQ(failureOf(large), Kind::Refused);
    EXPECT_EQ(large.error().text, textmsg::textFileTooLarge());
    EXPECT_EQ(read_file_bytes(file(QStringLiteral("空.txt"), ""), 4).value().text, "");
    if (!test::pipesAvailable(m_dir.path())) return;
    const QString pipe = m_dir.filePath(QStringLiteral("管.txt"));
    std::optional<Result<TextFileRead>> fromPipe;
    EXPECT_TRUE(
        test::readsPipeWithoutWaiting(pipe, [&] { fromPipe = read_text_file(pipe, none); }));
    ASSERT_TRUE(fromPipe);
    ASSERT_EQ(failureOf(*fromPipe), Kind::Io);
    EXPECT_EQ(fromPipe->error().text, notAFileToReadMessage());
}

TEST_F(TextFiles, WritingReplacesTheFileOrLeavesItAlone) {
    const QString path = file(QStringLiteral("保存.txt"), "old");
    ASSERT_TRUE(write_text_file(path, {sjis("新しい"), "\r\n"}).ok());
    EXPECT_EQ(test::readAll(path), sjis("新しい\r\n"));

    const Result<void> failed = write_text_file(m_dir.filePath(QStringLiteral("ない/x.txt")), "x");
    ASSERT_FALSE(failed.ok());
    EXPECT_FALSE(failed.error().text.isEmpty());
}

TEST(CrLfBreaks, OnlyTextsWhoseEveryBreakIsCrLfAreWrittenAsTheyAre) {
    const struct {
        const char* name;
        QByteArray text;
        bool crlf;
    } rows[] = {
        {"empty", "", true},
        {"no break", "abc", true},
        {"crlf lines", "a\r\nb\r\n", true},
        {"last line open", "a\r\nb", true},
        {"lone lf", "a\nb\r\n", false},
        {"lone lf at the end", "a\r\nb\n", false},
        {"lone cr", "a\rb", false},
        {"cr at the very end", "a\r\nb\r", false},
        {"nul inside", QByteArray("a\0b\r\n", 5), false},
        {"nul in the last line", QByteArray("a\r\nb\0c", 7), false},
    };
    for (const auto& row : rows)
        EXPECT_EQ(crlf_breaks_only(row.text), row.crlf) << row.name;
}

TEST(PlainTextMode, OnlyForTheOneSectionOfAnUnsavedDocument) {
    SectionStore store;
    EXPECT_TRUE(opens_plain_text_mode(store));
    store.documentPath = QStringLiteral("/tmp/x.ptm");
    EXPECT_FALSE(opens_plain_text_mode(store));
    store.documentPath.clear();
    store.appendEmpty();
    EXPECT_FALSE(opens_plain_text_mode(store));

    SectionStore fresh;
    fresh.setModified(true);
    enter_plain_text_mode(fresh, QStringLiteral("/tmp/abc.txt"), QStringLiteral("abc"));
    EXPECT_TRUE(fresh.plainTextMode());
    EXPECT_FALSE(fresh.isModified());
    EXPECT_EQ(fresh.displayName, QStringLiteral("abc"));
    EXPECT_EQ(fresh.textPath(), QStringLiteral("/tmp/abc.txt"));
}

} // namespace
} // namespace pote
