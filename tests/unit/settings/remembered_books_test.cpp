// The identity of a document's book as the settings remember it: kept for the file it was made
// from, offered to a copy or a moved document only when asked, replaced when the writer says.

#include "settings/remembered_books.h"
#include "support/test_files.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace pote {
namespace {

TEST(RememberedBooks, FirstExportCopyMoveAndReplace) {
    QTemporaryDir dir;
    const QString original = dir.filePath(QStringLiteral("窓辺の猫.ptm"));
    const QString copy = dir.filePath(QStringLiteral("写し/窓辺の猫.ptm"));
    test::writeAll(original, "ptm");
    ASSERT_TRUE(QDir().mkpath(dir.filePath(QStringLiteral("写し"))));
    ASSERT_TRUE(QFile::copy(original, copy));
    QList<RememberedBook> books;

    // First export: nothing remembered; then the identifier belongs to the file, whatever path
    // leads to it.
    EXPECT_EQ(rememberedIdentifier(books, original), QString());
    rememberBook(books, original, QStringLiteral("urn:uuid:a"));
    EXPECT_EQ(rememberedIdentifier(books, original), QStringLiteral("urn:uuid:a"));
    EXPECT_EQ(rememberedIdentifier(books, dir.filePath(QStringLiteral("写し/../窓辺の猫.ptm"))),
              QStringLiteral("urn:uuid:a"));

    // A copy is another document: no identifier of its own, the original's offered.
    EXPECT_EQ(rememberedIdentifier(books, copy), QString());
    EXPECT_EQ(otherBooks(books, copy), books);
    EXPECT_TRUE(otherBooks(books, original).isEmpty());

    // The writer gives the copy its own; replacing one keeps one entry per document, the
    // newest first.
    rememberBook(books, copy, QStringLiteral("urn:uuid:b"));
    rememberBook(books, original, QStringLiteral("urn:isbn:1"));
    ASSERT_EQ(books.size(), 2);
    EXPECT_EQ(books.front().identifier, QStringLiteral("urn:isbn:1"));
    EXPECT_EQ(rememberedIdentifier(books, copy), QStringLiteral("urn:uuid:b"));

    // The original moved away: a gone document's book is offered first.
    const QString moved = dir.filePath(QStringLiteral("移した.ptm"));
    ASSERT_TRUE(QFile::rename(original, moved));
    rememberBook(books, copy, QStringLiteral("urn:uuid:b"));
    const QList<RememberedBook> offered = otherBooks(books, moved);
    ASSERT_EQ(offered.size(), 2);
    EXPECT_EQ(offered.front().identifier, QStringLiteral("urn:isbn:1"));

    // A document never saved, or an empty identifier, is not remembered.
    const QList<RememberedBook> before = books;
    rememberBook(books, {}, QStringLiteral("urn:uuid:c"));
    rememberBook(books, copy, {});
    EXPECT_EQ(books, before);
}

TEST(RememberedBooks, TheListStaysBounded) {
    QTemporaryDir dir;
    QList<RememberedBook> books;
    for (int i = 0; i < kMaxRememberedBooks + 5; ++i) {
        const QString file = dir.filePath(QStringLiteral("%1.ptm").arg(i));
        test::writeAll(file, "ptm");
        rememberBook(books, file, QStringLiteral("urn:uuid:%1").arg(i));
    }
    ASSERT_EQ(books.size(), kMaxRememberedBooks);
    EXPECT_EQ(books.front().identifier, QStringLiteral("urn:uuid:%1").arg(kMaxRememberedBooks + 4));
    EXPECT_EQ(rememberedIdentifier(books, dir.filePath(QStringLiteral("0.ptm"))), QString());
}

} // namespace
} // namespace pote
