#include "textio/free_space.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace pote {
namespace {

TEST(GroupDigits, InsertsCommasFromTheRight) {
    EXPECT_EQ(group_digits(0), "0");
    EXPECT_EQ(group_digits(123), "123");
    EXPECT_EQ(group_digits(1234), "1,234");
    EXPECT_EQ(group_digits(123456), "123,456");
    EXPECT_EQ(group_digits(1234567), "1,234,567");
    EXPECT_EQ(group_digits(-1), "-1");
    EXPECT_EQ(group_digits(-123456), "-123,456");
}

TEST(FreeSpace, NeedEqualToFreePasses) {
    EXPECT_TRUE(free_space_decide(100, 100, SpaceForm::SingleFile).ok());
    EXPECT_FALSE(free_space_decide(100, 101, SpaceForm::SingleFile).ok());
    EXPECT_FALSE(free_space_decide(-1, 0, SpaceForm::SingleFile).ok())
        << "never pass an unmeasured drive";
}

TEST(FreeSpace, SingleFileMessage) {
    const Result<void> check = free_space_decide(100, 200, SpaceForm::SingleFile);
    ASSERT_FALSE(check.ok());
    EXPECT_EQ(check.error().kind, Error::Kind::NoSpace);
    EXPECT_TRUE(check.error().path.isEmpty()) << "the message is the whole text of its box";
    EXPECT_EQ(check.error().text,
              QStringLiteral("ディスクの空き容量が足りないみたいだにゃ。\r\n"
                             "ディスクの空き容量＝100byte\r\n書き込みサイズ＝200byte"));
}

TEST(FreeSpace, TotalMessageGroupsDigits) {
    const Result<void> check = free_space_decide(1234, 1234567, SpaceForm::Total);
    ASSERT_FALSE(check.ok());
    EXPECT_EQ(check.error().text, QStringLiteral("ディスクの空き容量が足りないみたいだにゃ。\r\n"
                                                 "ディスクの空き容量＝1,234byte\r\n"
                                                 "合計書き込みサイズ＝1,234,567byte"));
}

TEST(FreeSpace, UnmeasurablePathFailsAnyPositiveNeed) {
    const Result<void> check = free_space_check(QString(), 1, SpaceForm::SingleFile);
    ASSERT_FALSE(check.ok());
    EXPECT_EQ(free_bytes_for(QString()), -1);
    EXPECT_TRUE(check.error().text.contains(QStringLiteral("ディスクの空き容量＝-1byte")));
}

TEST(FreeSpace, MeasuresTheNearestExistingFolder) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString missing = dir.filePath(QStringLiteral("まだない/さらに/文書.ptm"));
    const qint64 free = free_bytes_for(missing);
    EXPECT_GT(free, 0);
    EXPECT_TRUE(free_space_check(missing, 1, SpaceForm::SingleFile).ok());
}

} // namespace
} // namespace pote
