#include "core/document_file.h"
#include "core/export_target.h"
#include "core/file_io.h"
#include "support/run_program.h"
#include "support/test_files.h"
#include "textio/text_messages.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

namespace pote {
namespace {

using Outcome = test::ProgramRun;

Outcome ptmtool(const QStringList& args) {
    return test::runProgram(QStringLiteral(PTMTOOL_PATH), args);
}

// A document with every field set, names and texts given as bytes, one text not CP932.
const char* const kDocument = R"({
  "header_reserved": 4660,
  "password": "Tama2024",
  "groups": [ {"name_hex": "91e688ea9594"}, {"name": "資料"} ],
  "sections": [
    {"name_hex": "82cd82b682df82c9", "text_hex": "8ce1947982cd",
     "group": 1, "r1": 1, "r2": 2, "r3": 65535},
    {"name": "ぽてまる", "text": "にゃ。\r\n", "group": 2},
    {"name_hex": "", "text_hex": "ff80fd0000410d"},
    {}
  ]
})";

class PtmtoolTest : public ::testing::Test {
protected:
    QString path(const QString& name) const { return m_dir.filePath(name); }

    // Packs json into a document and returns its path.
    QString packed(const QByteArray& json, const QString& name = QStringLiteral("文書.ptm")) {
        const QString jsonPath = path(name + QStringLiteral(".json"));
        test::writeAll(jsonPath, json);
        const Outcome r = ptmtool({"pack", jsonPath, path(name), "--seed", "7"});
        EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
        return path(name);
    }

    static QByteArray documentJson() { return kDocument; }

    QTemporaryDir m_dir;
};

QJsonObject parsed(const QByteArray& out) {
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(out, &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << out.toStdString();
    return doc.object();
}

TEST_F(PtmtoolTest, PackThenDumpGivesTheSameBytes) {
    const QString file = packed(documentJson());
    const Outcome r = ptmtool({"dump", file, "--password", "Tama2024"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QJsonObject dump = parsed(r.out);
    EXPECT_EQ(dump["version"].toInt(), 2);
    EXPECT_EQ(dump["header_reserved"].toInt(), 4660);
    EXPECT_EQ(dump["password"].toString(), "Tama2024");

    const QJsonArray groups = dump["groups"].toArray();
    ASSERT_EQ(groups.size(), 2);
    EXPECT_EQ(groups[0]["name_hex"].toString(), "91e688ea9594");
    EXPECT_EQ(groups[0]["name"].toString(), QStringLiteral("第一部"));
    EXPECT_EQ(groups[1]["name_hex"].toString(), test::sjis("資料").toHex());

    const QJsonArray sections = dump["sections"].toArray();
    ASSERT_EQ(sections.size(), 4);
    EXPECT_EQ(sections[0]["name_hex"].toString(), "82cd82b682df82c9");
    EXPECT_EQ(sections[0]["text_hex"].toString(), "8ce1947982cd");
    EXPECT_EQ(sections[0]["text"].toString(), QStringLiteral("吾輩は"));
    EXPECT_EQ(sections[0]["group"].toInt(), 1);
    EXPECT_EQ(sections[0]["r1"].toInt(), 1);
    EXPECT_EQ(sections[0]["r2"].toInt(), 2);
    EXPECT_EQ(sections[0]["r3"].toInt(), 65535);
    EXPECT_EQ(sections[1]["name_hex"].toString(), test::sjis("ぽてまる").toHex());
    EXPECT_EQ(sections[1]["text_hex"].toString(), QByteArray("82c982e181420d0a"));
    EXPECT_EQ(sections[2]["text_hex"].toString(), "ff80fd0000410d");
    EXPECT_EQ(sections[2]["text"].toString(), QStringLiteral("\uFFFD\uFFFD\uFFFD\0\0A\r").left(7))
        << "bytes that are not CP932 read as U+FFFD";
    EXPECT_EQ(sections[3]["name_hex"].toString(), "");
    EXPECT_EQ(sections[3]["group"].toInt(), 0);

    // The dump packs back into the very same file.
    const QString again = packed(r.out, QStringLiteral("もう一度.ptm"));
    EXPECT_EQ(test::readAll(again), test::readAll(file));
}

TEST_F(PtmtoolTest, SeedMakesFillerWordsRepeatable) {
    const QString json = path("d.json");
    test::writeAll(json, documentJson());
    ASSERT_EQ(ptmtool({"pack", json, path("a.ptm"), "--seed", "1"}).exitCode, 0);
    ASSERT_EQ(ptmtool({"pack", json, path("b.ptm"), "--seed", "1"}).exitCode, 0);
    EXPECT_EQ(test::readAll(path("a.ptm")), test::readAll(path("b.ptm")));
}

TEST_F(PtmtoolTest, ProtectedDocumentsNeedTheRightPassword) {
    const QString file = packed(documentJson());
    const struct {
        const char* name;
        QStringList args;
        int exitCode;
    } rows[] = {
        {"dump without password", {"dump", file}, 3},
        {"dump with a wrong password", {"dump", file, "--password", "Tama2025"}, 3},
        {"dump with the password in other case", {"dump", file, "--password", "tama2024"}, 3},
        {"cat without password", {"cat", file, "1"}, 3},
        {"cat with the password", {"cat", file, "1", "--password", "Tama2024"}, 0},
        {"info needs no password", {"info", file}, 0},
    };
    for (const auto& row : rows) {
        const Outcome r = ptmtool(row.args);
        EXPECT_EQ(r.exitCode, row.exitCode) << row.name << ": " << r.err.toStdString();
        EXPECT_EQ(r.err.isEmpty(), row.exitCode == 0) << row.name;
    }
}

TEST_F(PtmtoolTest, RefusedFilesShowTheReadersMessage) {
    const QString truncated = path(QStringLiteral("切れた.ptm"));
    test::writeAll(truncated, test::readAll(packed(documentJson())).left(40));
    const QString version = path(QStringLiteral("版違い.ptm"));
    test::writeAll(version, QByteArray("PTM0\x03\0\x01\0", 8) + QByteArray(12, '\0'));
    const struct {
        const char* name;
        QStringList args;
        QString message;
    } rows[] = {
        {"dump of a truncated file", {"dump", truncated}, docfile::truncatedFileMessage()},
        {"info of a truncated file", {"info", truncated}, docfile::truncatedFileMessage()},
        {"cat of an unknown version", {"cat", version, "1"}, docfile::unknownVersionMessage()},
    };
    for (const auto& row : rows) {
        const Outcome r = ptmtool(row.args);
        EXPECT_EQ(r.exitCode, 2) << row.name;
        EXPECT_TRUE(r.err.contains(row.message.toUtf8()))
            << row.name << ": " << r.err.toStdString();
        EXPECT_TRUE(r.out.isEmpty()) << row.name;
    }
}

TEST_F(PtmtoolTest, UsageErrorsAndUnreadableFilesExitWithOne) {
    const QString file = packed(documentJson());
    const QString folder = m_dir.path();
    const struct {
        const char* name;
        QStringList args;
    } rows[] = {
        {"no command", {}},
        {"unknown command", {"show", file}},
        {"unknown option", {"info", file, "--verbose"}},
        {"missing file", {"info", path("ない.ptm")}},
        {"a folder", {"dump", folder}},
        {"password without value", {"dump", file, "--password"}},
        {"section 0", {"cat", file, "0", "--password", "Tama2024"}},
        {"section past the end", {"cat", file, "5", "--password", "Tama2024"}},
        {"section not a number", {"cat", file, "x"}},
        {"seed not a number", {"pack", path("d.json"), path("o.ptm"), "--seed", "x"}},
        {"pack of a missing JSON", {"pack", path("ない.json"), path("o.ptm")}},
        {"pack into a folder", {"pack", path("ok.json"), folder}},
    };
    test::writeAll(path("ok.json"), documentJson());
    for (const auto& row : rows) {
        const Outcome r = ptmtool(row.args);
        EXPECT_EQ(r.exitCode, 1) << row.name;
        EXPECT_FALSE(r.err.isEmpty()) << row.name;
    }
}

TEST_F(PtmtoolTest, HelpAndVersionAnswerOnStandardOutput) {
    const Outcome help = ptmtool({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.startsWith("usage: ptmtool info FILE\n"));
    const Outcome version = ptmtool({"--version"});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_TRUE(version.out.startsWith("ptmtool "));
}

TEST_F(PtmtoolTest, OnlyRegularFilesAreReadOrReplaced) {
    const QString pipe = path(QStringLiteral("管.ptm"));
    if (::mkfifo(QFile::encodeName(pipe).constData(), 0600) != 0)
        GTEST_SKIP() << "this file system cannot hold a named pipe";
    test::writeAll(path("ok.json"), documentJson());
    // Nobody ever writes into the pipe: a reader that opened it would wait forever (and the
    // helper gives up after a minute).
    const struct {
        const char* name;
        QStringList args;
        QString message;
    } rows[] = {
        {"info of a pipe", {"info", pipe}, notAFileToReadMessage()},
        {"dump of a pipe", {"dump", pipe}, notAFileToReadMessage()},
        {"cat of a device", {"cat", "/dev/zero", "1"}, notAFileToReadMessage()},
        {"pack onto a pipe", {"pack", path("ok.json"), pipe}, notAFileToWriteMessage()},
        {"pack of a pipe", {"pack", pipe, path("p.ptm")}, notAFileToReadMessage()},
        {"txm-import of a pipe", {"txm-import", pipe, path("t.ptm")}, notAFileToReadMessage()},
    };
    for (const auto& row : rows) {
        const Outcome r = ptmtool(row.args);
        EXPECT_EQ(r.exitCode, 1) << row.name;
        EXPECT_TRUE(r.err.contains(row.message.toUtf8()))
            << row.name << ": " << r.err.toStdString();
    }
    struct stat st {};
    ASSERT_EQ(::lstat(QFile::encodeName(pipe).constData(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode)) << "the pipe is still a pipe";
}

TEST_F(PtmtoolTest, AnEmptyFileNameIsAUsageErrorWithoutAToolkitWarning) {
    for (const QStringList& args : {QStringList{"dump", ""}, QStringList{"info", ""},
                                    QStringList{"pack", "", path("o.ptm")}}) {
        const Outcome r = ptmtool(args);
        EXPECT_EQ(r.exitCode, 1) << args.join(' ').toStdString();
        EXPECT_TRUE(r.err.startsWith("ptmtool: ")) << r.err.toStdString();
        EXPECT_FALSE(r.err.contains("QFSFileEngine")) << r.err.toStdString();
    }
}

TEST_F(PtmtoolTest, PackRefusesInvalidJsonSayingWhere) {
    QByteArray many = R"({"sections": [)";
    for (int i = 0; i < 501; ++i)
        many += i ? ",{}" : "{}";
    many += "]}";
    const struct {
        const char* name;
        QByteArray json;
        const char* mentions;
    } rows[] = {
        {"not JSON", "{", "not JSON"},
        {"not an object", "[]", "object"},
        {"no sections", R"({"groups": []})", "sections"},
        {"empty sections", R"({"sections": []})", "sections"},
        {"501 sections", many, "501"},
        {"group out of range", R"({"groups": [{}], "sections": [{"group": 2}]})",
         "sections[0].group"},
        {"negative group", R"({"sections": [{"group": -1}]})", "sections[0].group"},
        {"fractional r1", R"({"sections": [{"r1": 1.5}]})", "sections[0].r1"},
        {"r3 past 16 bits", R"({"sections": [{"r3": 65536}]})", "sections[0].r3"},
        {"odd hex", R"({"sections": [{"text_hex": "abc"}]})", "sections[0].text_hex"},
        {"not hex", R"({"sections": [{"name_hex": "zz"}]})", "sections[0].name_hex"},
        {"full-width digits", R"({"sections": [{"text_hex": "４１４２"}]})",
         "sections[0].text_hex"},
        {"some full-width digits", R"({"sections": [{"text_hex": "41４２"}]})",
         "sections[0].text_hex"},
        {"Arabic-Indic digits", R"({"groups": [{"name_hex": "٤١"}], "sections": [{}]})",
         "groups[0].name_hex"},
        {"hex with a space", R"({"sections": [{"text_hex": "41 42"}]})", "sections[0].text_hex"},
        {"null", "null", "must be a JSON object, not null"},
        {"a number", "42", "must be a JSON object, not a number"},
        {"a string", R"("text")", "must be a JSON object, not a string"},
        {"true", "true", "must be a JSON object, not true or false"},
        {"an array", "[{}]", "must be a JSON object, not an array"},
        {"two values", "1 2", "not JSON"},
        {"name not a string", R"({"sections": [{"name": 5}]})", "sections[0].name"},
        {"text not CP932", R"({"sections": [{"text": "😺"}]})", "sections[0].text"},
        {"section not an object", R"({"sections": [1]})", "sections[0]"},
        {"short password", R"({"password": "abc", "sections": [{}]})", "password"},
        {"long password", R"({"password": "abcdefghi", "sections": [{}]})", "password"},
        {"password with a symbol", R"({"password": "abc-de", "sections": [{}]})", "password"},
        {"password not ASCII", R"({"password": "ａｂｃｄ", "sections": [{}]})", "password"},
        {"header word too big", R"({"header_reserved": 70000, "sections": [{}]})",
         "header_reserved"},
    };
    for (const auto& row : rows) {
        test::writeAll(path("bad.json"), row.json);
        const Outcome r = ptmtool({"pack", path("bad.json"), path("out.ptm")});
        EXPECT_EQ(r.exitCode, 1) << row.name;
        EXPECT_TRUE(r.err.contains(row.mentions)) << row.name << ": " << r.err.toStdString();
        EXPECT_FALSE(QFile::exists(path("out.ptm"))) << row.name;
    }
}

TEST_F(PtmtoolTest, CatPrintsOneSection) {
    const QString file = packed(documentJson());
    const Outcome raw = ptmtool({"cat", file, "3", "--raw", "--password", "Tama2024"});
    EXPECT_EQ(raw.exitCode, 0);
    EXPECT_EQ(raw.out, QByteArray::fromHex("ff80fd0000410d"));
    const Outcome text = ptmtool({"cat", file, "2", "--password", "Tama2024"});
    EXPECT_EQ(text.exitCode, 0);
    EXPECT_EQ(text.out, QByteArray("にゃ。\r\n"));
    const Outcome empty = ptmtool({"cat", file, "4", "--password", "Tama2024", "--raw"});
    EXPECT_EQ(empty.exitCode, 0);
    EXPECT_TRUE(empty.out.isEmpty());
}

TEST_F(PtmtoolTest, InfoGivesTheFigures) {
    const struct {
        const char* name;
        QString file;
        QByteArray expected;
    } rows[] = {
        {"protected", packed(documentJson()),
         "version: 2\nsections: 4\ngroups: 2\npassword: yes\ntext bytes: 21\n"
         "header reserved: 4660\n"},
        {"old format", test::dataPath(QStringLiteral("旧形式.ptm")),
         "version: 0\nsections: 2\ngroups: 0\npassword: no\ntext bytes: 30\n"
         "header reserved: 0\n"},
    };
    for (const auto& row : rows) {
        const Outcome r = ptmtool({"info", row.file});
        EXPECT_EQ(r.exitCode, 0) << row.name;
        EXPECT_EQ(r.out.toStdString(), row.expected.toStdString()) << row.name;
    }
}

TEST_F(PtmtoolTest, OldFormatDumpsAsVersionZero) {
    const Outcome r = ptmtool({"dump", test::dataPath(QStringLiteral("旧形式.ptm"))});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QJsonObject dump = parsed(r.out);
    EXPECT_EQ(dump["version"].toInt(), 0);
    EXPECT_TRUE(dump["password"].isNull());
    EXPECT_EQ(dump["sections"].toArray().at(0).toObject()["name"].toString(),
              QStringLiteral("むかしの話"));
}

// A plain document: a named section, an unnamed one, one whose name would climb out of a folder.
const char* const kTextDocument = R"({
  "sections": [
    {"name": "はじめに", "text": "吾輩は猫である。\r\n"},
    {"name": "", "text": "名前はまだ無い。"},
    {"name": "../../evil", "text": "x"}
  ]
})";

TEST_F(PtmtoolTest, LinkedTextOutAndBackIn) {
    const QString file = packed(kTextDocument);
    const QString txm = path("連結.txm");
    const Outcome out = ptmtool({"txm-export", file, txm});
    ASSERT_EQ(out.exitCode, 0) << out.err.toStdString();
    EXPECT_TRUE(out.err.isEmpty());
    EXPECT_EQ(test::readAll(txm), test::sjis("*section はじめに\r\n吾輩は猫である。\r\n"
                                             "*section \r\n名前はまだ無い。"
                                             "*section ../../evil\r\nx\r\n"));

    const QString back = path("戻した.ptm");
    const Outcome in = ptmtool({"txm-import", txm, back});
    ASSERT_EQ(in.exitCode, 0) << in.err.toStdString();
    const QJsonArray sections = parsed(ptmtool({"dump", back}).out)["sections"].toArray();
    ASSERT_EQ(sections.size(), 3);
    EXPECT_EQ(sections[0]["name"].toString(), QStringLiteral("はじめに"));
    EXPECT_EQ(sections[0]["text"].toString(), QStringLiteral("吾輩は猫である。\r\n"));
    EXPECT_EQ(sections[1]["name"].toString(), QString());
    EXPECT_EQ(sections[1]["text"].toString(), QStringLiteral("名前はまだ無い。"));
    EXPECT_EQ(sections[2]["text"].toString(), QStringLiteral("x\r\n"));
}

TEST_F(PtmtoolTest, LinkedTextExportWarnsAboutTheMarkAndRefusesWhatItCannotRead) {
    const QString marked = packed(R"({"sections": [{"text": "a *section b"}, {}]})");
    const Outcome warned = ptmtool({"txm-export", marked, path("m.txm")});
    EXPECT_EQ(warned.exitCode, 0);
    EXPECT_TRUE(warned.err.contains("sections 1 hold")) << warned.err.toStdString();
    EXPECT_TRUE(QFile::exists(path("m.txm")));
    const QString cut =
        packed(R"({"sections": [{}, {"text_hex": "610062"}, {}]})", QStringLiteral("nul.ptm"));
    const Outcome nul = ptmtool({"txm-export", cut, path("n.txm")});
    EXPECT_EQ(nul.exitCode, 0);
    EXPECT_TRUE(nul.err.contains("sections 2 hold a NUL byte")) << nul.err.toStdString();
    EXPECT_FALSE(warned.err.contains("NUL")) << warned.err.toStdString();
    EXPECT_TRUE(QFile::exists(path("n.txm")));

    const QString truncated = path("切れた.ptm");
    test::writeAll(truncated, test::readAll(packed(documentJson())).left(40));
    const Outcome refused = ptmtool({"txm-export", truncated, path("t.txm")});
    EXPECT_EQ(refused.exitCode, 2);
    EXPECT_TRUE(refused.err.contains(docfile::truncatedFileMessage().toUtf8()));
    EXPECT_EQ(ptmtool({"txm-export", packed(documentJson()), path("p.txm")}).exitCode, 3);
    EXPECT_FALSE(QFile::exists(path("t.txm")));
    EXPECT_FALSE(QFile::exists(path("p.txm")));
}

TEST_F(PtmtoolTest, LinkedTextImportRefusals) {
    QByteArray many;
    for (int k = 0; k < 501; ++k)
        many += "*section " + QByteArray::number(k) + "\r\n";
    const struct {
        const char* name;
        QByteArray file;
        QString message;
    } rows[] = {
        {"no header", "just text\r\n", textmsg::notLinkedText()},
        {"501 headers", many, textmsg::tooManyLinkedSections(501)},
    };
    for (const auto& row : rows) {
        test::writeAll(path("in.txm"), row.file);
        const Outcome r = ptmtool({"txm-import", path("in.txm"), path("out.ptm")});
        EXPECT_EQ(r.exitCode, 2) << row.name;
        EXPECT_TRUE(r.err.contains(row.message.toUtf8()))
            << row.name << ": " << r.err.toStdString();
        EXPECT_FALSE(QFile::exists(path("out.ptm"))) << row.name;
    }
    EXPECT_EQ(ptmtool({"txm-import", path("ない.txm"), path("out.ptm")}).exitCode, 1);
}

TEST_F(PtmtoolTest, LinkedTextImportConvertsUtf8OnRequest) {
    test::writeAll(path("u.txm"), "\xEF\xBB\xBF*section 猫\r\né\r\n");
    const Outcome asIs = ptmtool({"txm-import", path("u.txm"), path("a.ptm")});
    EXPECT_EQ(asIs.exitCode, 0);
    EXPECT_TRUE(asIs.err.contains("--utf8")) << asIs.err.toStdString();
    const Outcome converted = ptmtool({"txm-import", path("u.txm"), path("b.ptm"), "--utf8"});
    EXPECT_EQ(converted.exitCode, 0);
    EXPECT_TRUE(converted.err.contains("1 characters")) << converted.err.toStdString();
    const QJsonArray sections = parsed(ptmtool({"dump", path("b.ptm")}).out)["sections"].toArray();
    EXPECT_EQ(sections[0]["name"].toString(), QStringLiteral("猫"));
    EXPECT_EQ(sections[0]["text"].toString(), QStringLiteral("?\r\n"));
}

TEST_F(PtmtoolTest, FolderExportWritesEverySectionAndOverwritesOnlyWhenTold) {
    const QString file = packed(kTextDocument, QStringLiteral("文書.ptm"));
    const QString dir = path("書き出し/中");
    ASSERT_EQ(ptmtool({"folder-export", file, dir}).exitCode, 0);
    const QDir out(dir);
    EXPECT_EQ(out.entryList(QDir::Files | QDir::Hidden, QDir::Name),
              QStringList({"..／..／evil.txt", "はじめに.txt", "文書2.txt"}));
    EXPECT_EQ(test::readAll(out.filePath("はじめに.txt")), test::sjis("吾輩は猫である。\r\n\r\n"));
    EXPECT_EQ(test::readAll(out.filePath("文書2.txt")), test::sjis("名前はまだ無い。\r\n"));
    EXPECT_FALSE(QFile::exists(path("evil.txt")));

    test::writeAll(out.filePath("文書2.txt"), "mine");
    const Outcome kept = ptmtool({"folder-export", file, dir});
    EXPECT_EQ(kept.exitCode, 0);
    EXPECT_TRUE(kept.out.contains("skipped (exists): 文書2.txt")) << kept.out.toStdString();
    EXPECT_EQ(kept.out.count('\n'), 3);
    EXPECT_EQ(test::readAll(out.filePath("文書2.txt")), "mine");

    const Outcome replaced = ptmtool({"folder-export", file, dir, "--overwrite"});
    EXPECT_EQ(replaced.exitCode, 0);
    EXPECT_TRUE(replaced.out.isEmpty());
    EXPECT_EQ(test::readAll(out.filePath("文書2.txt")), test::sjis("名前はまだ無い。\r\n"));
}

TEST_F(PtmtoolTest, HelpNamesEveryCommand) {
    const Outcome r = ptmtool({"--help"});
    EXPECT_EQ(r.exitCode, 0);
    for (const char* verb : {"info", "dump", "pack", "cat", "txm-export", "txm-import",
                             "folder-export", "count", "pages", "grep", "epub", "--overwrite",
                             "--utf8", "--format", "--horizontal", "--title", "--author"})
        EXPECT_TRUE(r.out.contains(verb)) << verb;
    EXPECT_EQ(ptmtool({"folder-export", "a.ptm", "d", "--raw"}).exitCode, 1);
    EXPECT_EQ(ptmtool({"txm-import", "a.txm"}).exitCode, 1);
}

TEST_F(PtmtoolTest, NoCommandWritesOverItsOwnInput) {
    // Reached by its name, a symbolic link or a hard link, the input is refused as OUT and stays
    // byte for byte; the folder export finds it among the files it would write.
    const QString file = packed(R"({"sections": [{"name": "link", "text": "本文"}]})");
    const QString json = file + QStringLiteral(".json");
    const QString txm = path(QStringLiteral("連結.txm"));
    test::writeAll(txm, "*section a\r\nx\r\n");
    const QString symlink = path(QStringLiteral("link.txt"));
    const QString hardLink = path(QStringLiteral("hard.epub"));
    ASSERT_TRUE(QFile::link(file, symlink));
    ASSERT_EQ(::link(QFile::encodeName(file).constData(), QFile::encodeName(hardLink).constData()),
              0);
    const QByteArray before = test::readAll(file);
    const QByteArray txmBefore = test::readAll(txm);
    for (const QStringList& args :
         {QStringList{"txm-export", file, file}, QStringList{"txm-export", file, symlink},
          QStringList{"epub", file, hardLink}, QStringList{"epub", symlink, file},
          QStringList{"folder-export", file, m_dir.path(), "--overwrite"},
          QStringList{"pack", json, json}, QStringList{"txm-import", txm, txm}}) {
        const Outcome r = ptmtool(args);
        EXPECT_EQ(r.exitCode, 1) << args.join(' ').toStdString();
        EXPECT_TRUE(r.err.contains(exportOverDocumentMessage().toUtf8()))
            << args.join(' ').toStdString() << r.err.toStdString();
        EXPECT_EQ(test::readAll(file), before) << args.join(' ').toStdString();
    }
    EXPECT_EQ(test::readAll(txm), txmBefore);
}

TEST_F(PtmtoolTest, EpubWritesTheBookAndWarnsWhereItLeftCharactersOut) {
    const QString file = packed(documentJson(), QStringLiteral("窓辺の猫.ptm"));
    const QString book = path(QStringLiteral("窓辺の猫.epub"));
    struct Row {
        const char* name;
        QStringList args;
        int exitCode;
    };
    const Row refusals[] = {
        {"a protected document needs its password", {"epub", file, book}, 3},
        {"no OUT", {"epub", file, "--password", "Tama2024"}, 1},
        {"an empty title", {"epub", file, book, "--password", "Tama2024", "--title", ""}, 1},
        {"options of other commands", {"epub", file, book, "--password", "Tama2024", "--raw"}, 1},
        {"epub's options elsewhere", {"count", file, "--horizontal"}, 1},
        {"an unreadable document", {"epub", path("無い.ptm"), book}, 1},
        {"the document itself as OUT", {"epub", file, file, "--password", "Tama2024"}, 1},
        {"a blank identifier",
         {"epub", file, book, "--password", "Tama2024", "--identifier", " "},
         1},
        {"a cover and none",
         {"epub", file, book, "--password", "Tama2024", "--cover", file, "--no-cover"},
         1},
        {"a cover that is no image",
         {"epub", file, book, "--password", "Tama2024", "--cover", file},
         2},
        {"a cover that is not there",
         {"epub", file, book, "--password", "Tama2024", "--cover", path("無い.png")},
         1},
        {"epub's cover elsewhere", {"count", file, "--no-cover"}, 1},
    };
    for (const Row& row : refusals) {
        const Outcome r = ptmtool(row.args);
        EXPECT_EQ(r.exitCode, row.exitCode) << row.name << ": " << r.err.toStdString();
        EXPECT_FALSE(QFileInfo::exists(book)) << row.name;
    }

    // The third section's text holds stray bytes and NULs on its first line.
    QProcess tool;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("SOURCE_DATE_EPOCH"), QStringLiteral("1718098200"));
    tool.setProcessEnvironment(env);
    const auto run = [&](const QStringList& args) {
        tool.start(QStringLiteral(PTMTOOL_PATH), args);
        EXPECT_TRUE(tool.waitForFinished(60000));
        return tool.exitCode();
    };
    const QStringList args = {"epub",       file,       book,       "--password",  "Tama2024",
                              "--no-cover", "--author", "ぽてまる", "--horizontal"};
    ASSERT_EQ(run(args), 0);
    EXPECT_EQ(QString::fromUtf8(tool.readAllStandardError()),
              QStringLiteral("ptmtool: warning: section 3, line 1: characters that are no text "
                             "were left out\n"));
    const QByteArray first = test::readAll(book);
    EXPECT_TRUE(first.startsWith(QByteArray("PK\3\4")));
    // Made again, the same book, byte for byte: same identifier, same date.
    ASSERT_EQ(run(args), 0);
    EXPECT_EQ(test::readAll(book), first);
    ASSERT_EQ(run(args + QStringList{"--title", "別の題"}), 0);
    const QByteArray titled = test::readAll(book);
    EXPECT_NE(titled, first);

    // Too many page breaks: refused, with the cat's message, and the book stays.
    const QString breaks =
        packed(R"({"sections": [{"text": ")" + QByteArray("［＃改ページ］\\r\\n").repeated(10000) +
                   R"("}]})",
               QStringLiteral("改ページ.ptm"));
    const Outcome refused = ptmtool({"epub", breaks, book});
    EXPECT_EQ(refused.exitCode, 2) << refused.err.toStdString();
    EXPECT_TRUE(refused.err.contains("改ページ"));
    EXPECT_EQ(test::readAll(book), titled) << "the old book stays";
}

const char* const kNovel = R"({
  "sections": [
    {"name": "序章", "text": "吾輩は猫である。\r\n名前はまだ無い。"},
    {"name": "二", "text": "Cat 123\r\n"},
    {"name": "三", "text": "猫と猫\r\n\r\nねこ、猫"}
  ]
})";

TEST_F(PtmtoolTest, EpubTakesItsIdentifierFromTheCommandLineTheSettingsOrThePath) {
    const QString file = packed(kNovel, QStringLiteral("猫.ptm"));
    const QString book = path(QStringLiteral("猫.epub"));
    QTemporaryDir config;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), config.path());
    const auto identifierOf = [&](const QStringList& more) {
        QProcess tool;
        tool.setProcessEnvironment(env);
        tool.start(QStringLiteral(PTMTOOL_PATH),
                   QStringList{"epub", file, book, "--no-cover"} + more);
        EXPECT_TRUE(tool.waitForFinished(60000));
        EXPECT_EQ(tool.exitCode(), 0) << tool.readAllStandardError().toStdString();
        QProcess unzip;
        unzip.start(QStringLiteral("unzip"), {"-p", book, "EPUB/package.opf"});
        unzip.waitForFinished(60000);
        const QByteArray opf = unzip.readAllStandardOutput();
        const QByteArray open = "<dc:identifier id=\"book-id\">";
        const qsizetype at = opf.indexOf(open) + open.size();
        return QString::fromUtf8(opf.mid(at, opf.indexOf("</dc:identifier>") - at));
    };
    if (QStandardPaths::findExecutable(QStringLiteral("unzip")).isEmpty())
        GTEST_SKIP() << "unzip is missing";

    // Nothing remembered: derived from the path, so made again it is the same.
    const QString derived = identifierOf({});
    EXPECT_TRUE(derived.startsWith(QStringLiteral("urn:uuid:"))) << derived.toStdString();
    EXPECT_EQ(identifierOf({}), derived);
    // What the window remembers for the document, read and left as it was.
    const QString settings = config.filePath(QStringLiteral("kumolab/potemaruED.conf"));
    QDir().mkpath(config.filePath(QStringLiteral("kumolab")));
    const QByteArray remembered = "[General]\nEpubBooks\\size=1\nEpubBooks\\1\\Path=" +
                                  QFileInfo(file).canonicalFilePath().toUtf8() +
                                  "\nEpubBooks\\1\\Identifier=urn:uuid:kept\n";
    test::writeAll(settings, remembered);
    EXPECT_EQ(identifierOf({}), QStringLiteral("urn:uuid:kept"));
    EXPECT_EQ(test::readAll(settings), remembered);
    // The command line's above all; a bare UUID is given its urn.
    EXPECT_EQ(identifierOf({"--identifier", "urn:isbn:9784000000000"}),
              QStringLiteral("urn:isbn:9784000000000"));
    EXPECT_EQ(identifierOf({"--identifier", "6B1E3C0A-5D2F-4C8E-9A47-2F0D8E6B7C31"}),
              QStringLiteral("urn:uuid:6b1e3c0a-5d2f-4c8e-9a47-2f0d8e6b7c31"));
}

TEST_F(PtmtoolTest, CountGivesOneLinePerSectionAndATotal) {
    const QString file = packed(kNovel);
    const Outcome r = ptmtool({"count", file});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    // number, characters, without spaces, lines, bytes, manuscript pages, name
    EXPECT_EQ(r.out.toStdString(), "1\t16\t16\t2\t34\t1\t序章\n"
                                   "2\t7\t6\t1\t9\t1\t二\n"
                                   "3\t7\t7\t3\t18\t1\t三\n"
                                   "total\t30\t29\t6\t61\t3\t\n");

    const Outcome json = ptmtool({"count", file, "--json"});
    ASSERT_EQ(json.exitCode, 0) << json.err.toStdString();
    const QJsonObject doc = parsed(json.out);
    EXPECT_EQ(doc["total"].toObject()["characters"].toInt(), 30);
    EXPECT_EQ(doc["total"].toObject()["manuscript_rows"].toInt(), 6);
    const QJsonObject first = doc["sections"].toArray().at(0).toObject();
    EXPECT_EQ(first["name"].toString(), QStringLiteral("序章"));
    EXPECT_EQ(first["section"].toInt(), 1);
    EXPECT_EQ(first["non_space"].toInt(), 16);
}

TEST_F(PtmtoolTest, PagesAgreeWithTheCountAndFollowTheFormat) {
    // Section 2: 30 lines of 25 characters, 、 hanging at the 21st: two lines each on 20 x 20
    // paper (3 pages); one line each at 40 characters (1 page of 30 lines); one line each and
    // two pages at 30 x 15. Section 3 shows nothing; section 4 is one page.
    QByteArray line = QByteArray("あ").repeated(20) + "、" + QByteArray("あ").repeated(4);
    line = (line + "\r\n").repeated(30);
    const QString file = packed(R"({"sections": [{"name": "序章", "text": "吾輩は猫である。"},
        {"name": "長い", "text": ")" +
                                line + R"("}, {"name": "", "text": ""},
        {"name": "改", "text": "猫《ねこ》［＃改ページ］\r\n"}]})");
    const Outcome r = ptmtool({"pages", file});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out.toStdString(), "1\t1\t序章\n2\t3\t長い\n3\t0\t\n4\t1\t改\ntotal\t5\n");
    const Outcome counted = ptmtool({"count", file, "--json"});
    EXPECT_EQ(parsed(counted.out)["total"].toObject()["manuscript_pages"].toInt(), 5);

    EXPECT_EQ(ptmtool({"pages", file, "--format", "a4-40x30"}).out.toStdString(),
              "1\t1\t序章\n2\t1\t長い\n3\t0\t\n4\t1\t改\ntotal\t3\n");
    EXPECT_EQ(ptmtool({"pages", file, "--format", "30x15"}).out.toStdString(),
              "1\t1\t序章\n2\t2\t長い\n3\t0\t\n4\t1\t改\ntotal\t4\n");
    for (const char* bad : {"9x20", "20x61", "A4", ""})
        EXPECT_EQ(ptmtool({"pages", file, "--format", bad}).exitCode, 1) << bad;
    EXPECT_EQ(ptmtool({"pages", file, "--format"}).exitCode, 1);
    EXPECT_EQ(ptmtool({"count", file, "--format", "genkou"}).exitCode, 1);
    EXPECT_EQ(ptmtool({"pages", file, "--json"}).exitCode, 1);
    EXPECT_EQ(ptmtool({"pages", path("無い.ptm")}).exitCode, 1);
    const QString protectedFile = packed(documentJson(), QStringLiteral("鍵.ptm"));
    EXPECT_EQ(ptmtool({"pages", protectedFile}).exitCode, 3);
    EXPECT_EQ(ptmtool({"pages", protectedFile, "--password", "Tama2024"}).exitCode, 0);
}

TEST_F(PtmtoolTest, GrepPrintsEachLineWithAHitLikeGrep) {
    const QString novel = packed(kNovel, QStringLiteral("小説.ptm"));
    const QString other =
        packed(R"({"sections": [{"text": "no cats here"}]})", QStringLiteral("other.ptm"));
    const QString protectedFile = packed(documentJson());
    const struct {
        const char* name;
        QStringList args;
        int exitCode;
        QByteArray out;
    } rows[] = {
        {"one line per line with hits",
         {"grep", "猫", novel},
         0,
         (novel + ":1:1:吾輩は猫である。\n" + novel + ":3:1:猫と猫\n" + novel + ":3:3:ねこ、猫\n")
             .toUtf8()},
        {"case matters", {"grep", "CAT", novel, other}, 1, ""},
        {"unless -i",
         {"grep", "-i", "CAT", novel, other},
         0,
         (novel + ":2:1:Cat 123\n" + other + ":1:1:no cats here\n").toUtf8()},
        {"nothing found", {"grep", "犬", novel}, 1, ""},
        {"a missing file is trouble, the others are still searched",
         {"grep", "猫", path("無い.ptm"), novel},
         2,
         (novel + ":1:1:吾輩は猫である。\n" + novel + ":3:1:猫と猫\n" + novel + ":3:3:ねこ、猫\n")
             .toUtf8()},
        {"a protected file needs its password", {"grep", "x", protectedFile}, 3, ""},
        {"with it",
         {"grep", "にゃ", protectedFile, "--password", "Tama2024"},
         0,
         (protectedFile + ":2:1:にゃ。\n").toUtf8()},
        {"no file", {"grep", "猫"}, 2, ""},
        {"an unknown option", {"grep", "猫", novel, "--raw"}, 2, ""},
    };
    for (const auto& row : rows) {
        const Outcome r = ptmtool(row.args);
        EXPECT_EQ(r.exitCode, row.exitCode) << row.name << ": " << r.err.toStdString();
        EXPECT_EQ(r.out.toStdString(), row.out.toStdString()) << row.name;
    }
}

} // namespace
} // namespace pote
