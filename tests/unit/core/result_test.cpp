// A result holds exactly one of its value and its error, and hands either over without copying.

#include "core/result.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace pote {
namespace {

Result<std::unique_ptr<int>> boxed(bool ok) {
    if (!ok) return Error::io(QStringLiteral("/tmp/箱"), QStringLiteral("No such file"));
    return std::make_unique<int>(7);
}

TEST(Result, HoldsTheValueOrTheError) {
    const Result<QString> value = QStringLiteral("猫");
    ASSERT_TRUE(value);
    EXPECT_EQ(*value, QStringLiteral("猫"));
    EXPECT_EQ(value->size(), 1);

    // A value type that an Error's fields could be mistaken for still keeps the two apart.
    const Result<QString> failed = Error::refused(QStringLiteral("読めないにゃ。"));
    ASSERT_FALSE(failed);
    EXPECT_EQ(failed.error().kind, Error::Kind::Refused);
    EXPECT_EQ(failed.error().text, QStringLiteral("読めないにゃ。"));
    EXPECT_TRUE(failed.error().path.isEmpty());
}

TEST(Result, MoveOnlyValuesAreHandedOverNotCopied) {
    Result<std::unique_ptr<int>> r = boxed(true);
    ASSERT_TRUE(r);
    int* const inside = r->get();
    std::unique_ptr<int> taken = std::move(r).value();
    EXPECT_EQ(taken.get(), inside);
    EXPECT_EQ(*taken, 7);

    const Result<std::unique_ptr<int>> missing = boxed(false);
    ASSERT_FALSE(missing);
    EXPECT_EQ(missing.error().kind, Error::Kind::Io);
    EXPECT_EQ(missing.error().path, QStringLiteral("/tmp/箱"));

    // Results themselves move, e.g. into a list of outcomes.
    std::vector<Result<std::unique_ptr<int>>> all;
    all.push_back(boxed(true));
    all.push_back(boxed(false));
    EXPECT_TRUE(all[0]);
    EXPECT_FALSE(all[1]);
}

TEST(Result, VoidResultIsSuccessUntilAnErrorIsGiven) {
    Result<void> done;
    EXPECT_TRUE(done);
    done = Error::noSpace(QStringLiteral("いっぱいにゃ。"), QStringLiteral("/mnt/x"));
    ASSERT_FALSE(done);
    EXPECT_EQ(done.error().kind, Error::Kind::NoSpace);
    done = Result<void>();
    EXPECT_TRUE(done);
    EXPECT_EQ(Result<void>(Error::cancelled()).error().kind, Error::Kind::Cancelled);
}

} // namespace
} // namespace pote
