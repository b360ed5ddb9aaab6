// The one check every export makes before it writes: the document's own file is refused however
// it is reached (the same path, "..", a symbolic link, a hard link), and nothing else is.

#include "core/export_target.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <unistd.h>

namespace pote {
namespace {

TEST(ExportTarget, TheDocumentIsCaughtThroughEveryKindOfNameAndNothingElseIs) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString document = dir.filePath(QStringLiteral("原稿.ptm"));
    const QString other = dir.filePath(QStringLiteral("別.ptm"));
    for (const QString& f : {document, other}) {
        QFile file(f);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("x");
    }
    QDir().mkpath(dir.filePath(QStringLiteral("sub")));
    const QString symlink = dir.filePath(QStringLiteral("link.pdf"));
    const QString hardLink = dir.filePath(QStringLiteral("sub/hard.epub"));
    ASSERT_TRUE(QFile::link(document, symlink));
    ASSERT_EQ(
        ::link(QFile::encodeName(document).constData(), QFile::encodeName(hardLink).constData()),
        0);

    const struct {
        const char* what;
        QString target;
        QString document;
        bool refused;
    } rows[] = {
        {"the same path", document, document, true},
        {"through ..", dir.filePath(QStringLiteral("sub/../原稿.ptm")), document, true},
        {"a symbolic link", symlink, document, true},
        {"a hard link", hardLink, document, true},
        {"another file", other, document, false},
        {"a file not yet there", dir.filePath(QStringLiteral("新.pdf")), document, false},
        {"a document never saved", document, QString(), false},
        {"a document whose file is gone", other, dir.filePath(QStringLiteral("消えた.ptm")), false},
    };
    for (const auto& row : rows) {
        const Result<void> checked = exportTargetCheck(row.target, row.document);
        EXPECT_EQ(!checked.ok(), row.refused) << row.what;
        if (!checked.ok()) {
            EXPECT_EQ(checked.error().kind, Error::Kind::Refused) << row.what;
            EXPECT_EQ(checked.error().text, exportOverDocumentMessage()) << row.what;
        }
    }
}

} // namespace
} // namespace pote
