#include "settings/desktop_entry.h"
#include "settings/desktop_key_file.h"

#include "support/test_files.h"

#include <gtest/gtest.h>

namespace pote {
namespace {

const QByteArray kForeign = "# written by hand\n"
                            "[Added Associations]\n"
                            "text/plain=other.desktop;\n"
                            "\n"
                            "[Default Applications]\n"
                            "image/png = viewer.desktop;\n"
                            "text/html=ブラウザ.desktop;\n"
                            "\n"
                            "[Removed Associations]\n"
                            "text/x-c=editor.desktop;\n";

TEST(DesktopKeyFile, ReadsTheValueThatCounts) {
    auto file =
        DesktopKeyFile::parse(kForeign + "[Default Applications]\nimage/png=late.desktop;\n");
    ASSERT_TRUE(file);
    EXPECT_EQ(file->value("Default Applications", "image/png"), "late.desktop;")
        << "a repeated group merges and the later key wins";
    EXPECT_EQ(file->value("Added Associations", "text/plain"), "other.desktop;");
    EXPECT_FALSE(file->value("Default Applications", "text/plain")) << "other group";
    EXPECT_EQ(file->bytes(), kForeign + "[Default Applications]\nimage/png=late.desktop;\n");
}

TEST(DesktopKeyFile, SetThenRemoveGivesBackTheSameBytes) {
    struct Row {
        const char* name;
        QByteArray bytes;
    };
    const Row rows[] = {
        {"foreign groups", kForeign},
        {"no default group", "[Added Associations]\ntext/plain=other.desktop;\n"},
        {"empty file", ""},
        {"CR LF lines",
         "[Default Applications]\r\nimage/png=viewer.desktop;\r\n\r\n[X]\r\na=b\r\n"},
        {"blank lines in the group",
         "[Default Applications]\nimage/png=v.desktop;\n\n\n[Other]\nk=v\n"},
    };
    for (const Row& row : rows) {
        auto file = DesktopKeyFile::parse(row.bytes);
        ASSERT_TRUE(file) << row.name;
        file->setValue("Default Applications", "application/x-poteedit-document",
                       "poteedit.desktop;");
        EXPECT_EQ(file->value("Default Applications", "application/x-poteedit-document"),
                  "poteedit.desktop;")
            << row.name;
        auto reread = DesktopKeyFile::parse(file->bytes());
        ASSERT_TRUE(reread) << row.name;
        EXPECT_EQ(reread->value("Default Applications", "application/x-poteedit-document"),
                  "poteedit.desktop;")
            << row.name;
        EXPECT_TRUE(reread->removeValue("Default Applications", "application/x-poteedit-document"));
        EXPECT_EQ(reread->bytes(), row.bytes) << row.name;
    }
}

TEST(DesktopKeyFile, NewKeyGoesBeforeTheBlankLinesThatEndItsGroup) {
    auto file = DesktopKeyFile::parse("[Default Applications]\na=1\n\n[Other]\nb=2\n");
    ASSERT_TRUE(file);
    file->setValue("Default Applications", "c", "3");
    EXPECT_EQ(file->bytes(), "[Default Applications]\na=1\nc=3\n\n[Other]\nb=2\n");
}

TEST(DesktopKeyFile, ReplacingAValueKeepsItsPlaceAndLineBreak) {
    auto file = DesktopKeyFile::parse("[Default Applications]\r\ntext/plain = old.desktop;\r\nz=1");
    ASSERT_TRUE(file);
    file->setValue("Default Applications", "text/plain", "poteedit.desktop;");
    EXPECT_EQ(file->bytes(), "[Default Applications]\r\ntext/plain=poteedit.desktop;\r\nz=1");
    file->setValue("Default Applications", "y", "2");
    EXPECT_EQ(file->bytes(),
              "[Default Applications]\r\ntext/plain=poteedit.desktop;\r\nz=1\r\ny=2\r\n");
}

TEST(DesktopKeyFile, RefusesWhatIsNotAKeyFile) {
    struct Row {
        const char* name;
        QByteArray bytes;
        int badLine;
    };
    const Row rows[] = {
        {"entry before any group", "text/plain=a.desktop;\n[Default Applications]\n", 1},
        {"line without =", "[Default Applications]\njust words\n", 2},
        {"unclosed header", "[Default Applications\na=b\n", 1},
        {"empty key", "[A]\n=value\n", 2},
        {"not UTF-8", "[A]\nk=\x82\xA0\n", 0},
        {"NUL byte", QByteArray("[A]\nk=a\0b\n", 10), 2},
    };
    for (const Row& row : rows) {
        int badLine = -1;
        EXPECT_FALSE(DesktopKeyFile::parse(row.bytes, &badLine)) << row.name;
        EXPECT_EQ(badLine, row.badLine) << row.name;
    }
    EXPECT_TRUE(DesktopKeyFile::parse("  # indented comment\n\t\n[A]\n  k = v  \n"));
}

TEST(DesktopEntry, ExecArgumentRoundTrips) {
    const QString paths[] = {
        QStringLiteral("/usr/bin/poteedit"),
        QStringLiteral("/home/u/ぽてまる エディター/poteedit"),
        QStringLiteral("/opt/a\"b`c$d\\e/100%/poteedit"),
        QStringLiteral("/tmp/it's (mine)/poteedit"),
    };
    for (const QString& path : paths) {
        const QByteArray exec = execArgument(path) + " %f";
        EXPECT_EQ(execProgram(exec), path) << exec.constData();
        // The entry stays one line whatever the path holds.
        EXPECT_FALSE(exec.contains('\n'));
    }
    EXPECT_EQ(execArgument(QStringLiteral("/usr/bin/poteedit")), "/usr/bin/poteedit");
    EXPECT_EQ(execArgument(QStringLiteral("/a b/p")), "\"/a b/p\"");
    EXPECT_EQ(execArgument(QStringLiteral("/a\\b/p")), "\"/a\\\\\\\\b/p\"")
        << "a backslash is quoted, then escaped as a string: four in the file";
    EXPECT_FALSE(execProgram("\"/unclosed/poteedit %f"));
    EXPECT_FALSE(execProgram("   "));
}

TEST(DesktopEntry, EntryNamesTheProgramAndBothTypes) {
    const QString exe = QStringLiteral("/home/u/ぽてまる/poteedit");
    auto entry = DesktopKeyFile::parse(desktopEntryText(exe, true));
    ASSERT_TRUE(entry);
    EXPECT_EQ(execProgram(entry->value("Desktop Entry", "Exec").value_or("")), exe);
    EXPECT_EQ(entry->value("Desktop Entry", "MimeType"),
              "application/x-poteedit-document;text/plain;");
    EXPECT_EQ(entry->value("Desktop Entry", "Icon"), "poteedit");
    entry = DesktopKeyFile::parse(desktopEntryText(exe, false));
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->value("Desktop Entry", "MimeType"), "application/x-poteedit-document;");
}

TEST(DesktopEntry, PackagedFilesMatchWhatTheProgramWrites) {
    EXPECT_EQ(test::readAll(QStringLiteral(POTE_DESKTOP_ASSETS "/poteedit.desktop")),
              desktopEntryText(QStringLiteral("poteedit"), true));
    EXPECT_EQ(test::readAll(QStringLiteral(POTE_DESKTOP_ASSETS "/poteedit.xml")), mimePackageXml());
}

} // namespace
} // namespace pote
