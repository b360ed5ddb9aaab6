// The error box names the file an error is about, and only then: a reader or writer that fails on
// a file must say which one, and a refusal in the cat's words must name none (its box is the
// message alone).

#include "core/document_file.h"
#include "support/test_files.h"
#include "textio/free_space.h"
#include "textio/linked_text.h"
#include "textio/text_files.h"
#include "textio/text_folder.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

namespace pote {
namespace {

template <typename R> std::optional<Error> errorOf(const R& result) {
    if (result.ok()) return std::nullopt;
    return result.error();
}

SectionStore oneSection() {
    SectionStore store;
    store.section(0).name = test::sjis("猫");
    store.section(0).text = "text\r\n";
    return store;
}

TEST(ErrorPaths, AFailureOnAFileNamesItAndARefusalNamesNone) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString missing = dir.filePath(QStringLiteral("ない.ptm"));
    const QString inMissingFolder = dir.filePath(QStringLiteral("ないフォルダ/書く.txt"));
    const QString folder = dir.filePath(QStringLiteral("フォルダ.txt"));
    ASSERT_TRUE(QDir().mkdir(folder));
    const QString notLinked = dir.filePath(QStringLiteral("ただの文.txm"));
    test::writeAll(notLinked, "no header\r\n");
    const QString tooLarge = dir.filePath(QStringLiteral("大きい.txt"));
    test::writeAll(tooLarge, "12345");
    const SectionStore store = oneSection();
    Utf8Choice utf8;

    const struct {
        const char* name;
        std::function<std::optional<Error>()> run;
        Error::Kind kind;
        QString path; // empty: the error names no file
    } rows[] = {
        {"document read of a missing file",
         [&] { return errorOf(docfile::readDocument(missing, {})); }, Error::Kind::Io, missing},
        {"document read of a folder", [&] { return errorOf(docfile::readDocument(folder, {})); },
         Error::Kind::Io, folder},
        {"document read of a text",
         [&] { return errorOf(docfile::readDocument(notLinked, {})); },
         Error::Kind::Refused,
         {}},
        {"document write into a missing folder",
         [&] { return errorOf(docfile::writeDocument(inMissingFolder, store.document())); },
         Error::Kind::Io, inMissingFolder},
        {"document write over a folder",
         [&] { return errorOf(docfile::writeDocument(folder, store.document())); },
         Error::Kind::Refused, folder},
        {"text read of a missing file", [&] { return errorOf(read_text_file(missing, utf8)); },
         Error::Kind::Io, missing},
        {"text read of a file too large",
         [&] { return errorOf(read_file_bytes(tooLarge, 4)); },
         Error::Kind::Refused,
         {}},
        {"text write into a missing folder",
         [&] { return errorOf(write_text_file(inMissingFolder, "x")); }, Error::Kind::Io,
         inMissingFolder},
        {"linked text read of a missing file",
         [&] { return errorOf(linked_text_read(missing, utf8)); }, Error::Kind::Io, missing},
        {"linked text read of a text without headers",
         [&] { return errorOf(linked_text_read(notLinked, utf8)); },
         Error::Kind::Refused,
         {}},
        {"linked text write into a missing folder",
         [&] { return errorOf(linked_text_write(inMissingFolder, store.document())); },
         Error::Kind::Io, inMissingFolder},
        {"folder read of a missing folder",
         [&] { return errorOf(read_text_folder(missing, 1, utf8)); }, Error::Kind::Io, missing},
        {"free space short",
         [] { return errorOf(free_space_decide(1, 2, SpaceForm::Total)); },
         Error::Kind::NoSpace,
         {}},
    };
    for (const auto& row : rows) {
        const std::optional<Error> error = row.run();
        ASSERT_TRUE(error) << row.name;
        EXPECT_EQ(error->kind, row.kind) << row.name;
        EXPECT_EQ(error->path, row.path) << row.name;
        EXPECT_FALSE(error->text.isEmpty()) << row.name;
    }
}

} // namespace
} // namespace pote
