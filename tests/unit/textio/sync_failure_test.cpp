// A disk may say it is full only when the written data is synced (delayed allocation, network
// file systems): every writer must hear it then, name it as a full disk, and leave the old file.

#include "core/document_file.h"
#include "core/file_io.h"
#include "core/section_store.h"
#include "support/test_files.h"
#include "textio/linked_text.h"
#include "textio/text_files.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cerrno>
#include <functional>

namespace pote {
namespace {

int g_syncFailure = 0;
int failingSync(int) {
    errno = g_syncFailure;
    return -1;
}

// While it lives, every sync fails with code.
class SyncFailsWith {
public:
    explicit SyncFailsWith(int code) : m_previous(replaceFileSyncCall(&failingSync)) {
        g_syncFailure = code;
    }
    ~SyncFailsWith() { replaceFileSyncCall(m_previous); }

private:
    FileSyncCall m_previous;
};

TEST(SyncFailure, EveryWriterReportsItAndKeepsTheOldFile) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    SectionStore store;
    store.section(0).name = test::sjis("猫");
    store.section(0).text = test::sjis("新しい本文\r\n");
    const struct {
        const char* name;
        QString file;
        std::function<Result<void>(const QString&)> write;
    } writers[] = {
        {"document", QStringLiteral("原稿.ptm"),
         [&](const QString& f) { return docfile::writeDocument(f, store.document()); }},
        {"text", QStringLiteral("章.txt"),
         [](const QString& f) { return write_text_file(f, "new text"); }},
        {"linked text", QStringLiteral("全部.txm"),
         [&](const QString& f) { return linked_text_write(f, store.document()); }},
    };
    const struct {
        int code;
        Error::Kind kind;
        QString text;
    } failures[] = {
        {ENOSPC, Error::Kind::NoSpace, diskFullMessage()},
        {EDQUOT, Error::Kind::NoSpace, diskFullMessage()},
        {EIO, Error::Kind::Io, qt_error_string(EIO)},
    };
    for (const auto& writer : writers) {
        const QString file = dir.filePath(writer.file);
        test::writeAll(file, "old");
        for (const auto& failure : failures) {
            SCOPED_TRACE(testing::Message() << writer.name << ", errno " << failure.code);
            Result<void> written = [&] {
                SyncFailsWith failing(failure.code);
                return writer.write(file);
            }();
            ASSERT_FALSE(written.ok());
            EXPECT_EQ(written.error().kind, failure.kind);
            EXPECT_EQ(written.error().text, failure.text);
            EXPECT_EQ(written.error().path, file);
            EXPECT_EQ(test::readAll(file), QByteArray("old"));
            EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1)
                << "a temporary left beside it";
        }
        // A file system that cannot sync at all still takes the file.
        {
            SyncFailsWith failing(EINVAL);
            EXPECT_TRUE(writer.write(file).ok()) << writer.name;
        }
        EXPECT_NE(test::readAll(file), QByteArray("old")) << writer.name;
        QFile::remove(file);
    }
}

} // namespace
} // namespace pote
