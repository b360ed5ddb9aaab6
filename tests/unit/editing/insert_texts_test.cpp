#include "editing/insert_texts.h"

#include "core/cp932.h"
#include "support/test_files.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace pote {
namespace {

using test::sjis;

TEST(SeparatorLine, RepeatsThePatternWithinTheWidthInBytes) {
    const struct {
        const char* name;
        int width;
        QByteArray pattern;
        QByteArray line;
    } rows[] = {
        {"defaults", 60, "-", QByteArray(60, '-')},
        {"double-byte pattern fills half", 60, sjis("＝"), sjis("＝").repeated(30)},
        {"seven bytes in sixty", 60, "1234567", QByteArray("1234567").repeated(8)},
        {"pattern longer than the width", 3, "abcd", ""},
        {"empty pattern", 60, "", ""},
    };
    for (const auto& row : rows)
        EXPECT_EQ(separator_line(row.width, row.pattern), "\r\n" + row.line + "\r\n") << row.name;
}

TEST(DateAndTime, JapaneseFormsWhateverTheLocale) {
    const QDate date(2026, 12, 7);
    const QTime time(21, 52, 30);
    const QTime morning(9, 5, 3);
    const QLocale before;
    for (const QLocale& locale :
         {QLocale::c(), QLocale(QLocale::Japanese, QLocale::Japan),
          QLocale(QLocale::English, QLocale::UnitedStates),
          QLocale(QLocale::German, QLocale::Germany), QLocale(QLocale::Arabic, QLocale::Egypt)}) {
        QLocale::setDefault(locale);
        EXPECT_EQ(date_text(date), "2026/12/07") << locale.name().toStdString();
        EXPECT_EQ(time_text(time), "21:52:30") << locale.name().toStdString();
        EXPECT_EQ(time_text(morning), "9:05:03") << locale.name().toStdString();
    }
    QLocale::setDefault(before);
}

TEST(SizeText, ByteKbyteAndMbyte) {
    const QLocale c = QLocale::c();
    EXPECT_EQ(size_text(1234567, SizeUnit::Byte, c), "1,234,567byte");
    EXPECT_EQ(size_text(1023, SizeUnit::Kbyte, c), "0Kbyte");
    EXPECT_EQ(size_text(1234567, SizeUnit::Kbyte, c), "1,205Kbyte");
    EXPECT_EQ(size_text(1048576, SizeUnit::Mbyte, c), "1.0Mbyte");
    EXPECT_EQ(size_text(0, SizeUnit::Mbyte, c), "0.0Mbyte");
    EXPECT_EQ(size_text(1048576 * 5 / 4, SizeUnit::Mbyte, c), "1.3Mbyte") << "an exact tie";
    EXPECT_EQ(size_text(qint64(1024) * 1024 * 1024 * 3 / 2, SizeUnit::Mbyte, c), "1,536.0Mbyte");
    // Files past 2 GiB keep their real size.
    EXPECT_EQ(size_text(5000000000, SizeUnit::Byte, c), "5,000,000,000byte");
    EXPECT_EQ(size_text(5000000000, SizeUnit::Mbyte, c), "4,768.4Mbyte");
    EXPECT_EQ(size_text(5000000000, SizeUnit::None, c), "");
    const QLocale german(QLocale::German, QLocale::Germany);
    EXPECT_EQ(size_text(qint64(1024) * 1024 * 1024 * 3 / 2, SizeUnit::Mbyte, german),
              "1.536,0Mbyte");
}

TEST(FileList, AlignsNamesLeftAndSizesRightInBytes) {
    const std::vector<ListedFile> files{{QStringLiteral("a.txt"), 5},
                                        {QStringLiteral("猫の日記.txt"), 1234567},
                                        {QStringLiteral("bb"), 0}};
    const QLocale c = QLocale::c();
    // Names only: each name padded to the longest (12 bytes), then two spaces and the one
    // column the empty size text still takes.
    EXPECT_EQ(file_list_text(files, SizeUnit::None, c), "\r\n"
                                                        "a.txt          \r\n" +
                                                            sjis("猫の日記.txt") + "   \r\n" +
                                                            "bb             \r\n"
                                                            "\r\n");
    // Sizes right-aligned to "1,234,567byte" (13 bytes).
    EXPECT_EQ(file_list_text(files, SizeUnit::Byte, c),
              "\r\n" + QByteArray("a.txt") + QByteArray(7 + 2 + 8, ' ') + "5byte\r\n" +
                  sjis("猫の日記.txt") + "  1,234,567byte\r\n" + "bb" +
                  QByteArray(10 + 2 + 8, ' ') + "0byte\r\n\r\n");
    EXPECT_EQ(file_list_text({}, SizeUnit::Kbyte, c), "\r\n\r\n");
}

TEST(FileList, ListsFilesByNameWithoutFoldersOrHiddenFiles) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    test::writeAll(dir.filePath(QStringLiteral("b.txt")), "12345");
    test::writeAll(dir.filePath(QStringLiteral("A.txt")), "");
    test::writeAll(dir.filePath(QStringLiteral("猫.txt")), "x");
    test::writeAll(dir.filePath(QStringLiteral(".hidden")), "x");
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("sub")));
    const Result<std::vector<ListedFile>> listing = list_folder(dir.path());
    ASSERT_TRUE(listing) << listing.error().text.toStdString();
    const std::vector<ListedFile>& files = *listing;
    ASSERT_EQ(files.size(), 3u);
    EXPECT_EQ(files[0].name, QStringLiteral("A.txt"));
    EXPECT_EQ(files[1].name, QStringLiteral("b.txt"));
    EXPECT_EQ(files[1].size, 5);
    EXPECT_EQ(files[2].name, QStringLiteral("猫.txt"));

    EXPECT_FALSE(list_folder(dir.filePath(QStringLiteral("無い"))).ok());
}

TEST(FixedText, ReadsLinesOrSaysItIsMissing) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("定型文.txt"));
    test::writeAll(path, QByteArray("line1\r\nline2\0after", 18));
    Result<std::optional<QByteArray>> f = read_fixed_text(path);
    ASSERT_TRUE(f);
    EXPECT_EQ(*f, QByteArray("line1\r\nline2\r\n")) << "a NUL ends it; the last line gains a break";

    f = read_fixed_text(dir.filePath(QStringLiteral("無い.txt")));
    ASSERT_TRUE(f);
    EXPECT_EQ(*f, std::nullopt);
    EXPECT_EQ(read_fixed_text(dir.path()).value(), std::nullopt) << "a folder";
    EXPECT_EQ(
        fixed_text_missing_message(),
        QStringLiteral("指定テキストファイルが見つからないにゃ！\r環境設定でセットしてみてにゃ。"));

    QFile::setPermissions(path, QFileDevice::WriteOwner);
    if (!QFile(path).open(QIODevice::ReadOnly)) { // root reads anything
        f = read_fixed_text(path);
        ASSERT_FALSE(f);
        EXPECT_EQ(f.error().kind, Error::Kind::Io);
        EXPECT_FALSE(f.error().text.isEmpty());
    }
}

} // namespace
} // namespace pote
