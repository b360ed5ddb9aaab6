// ptmtool pdf drives the built program with no display: the pages of all sections or one, the
// formats, the document's name as the title, the face embedded, and the usage and write errors
// with their exit codes.

#include "support/epubcheck.h"
#include "support/run_program.h"
#include "support/test_files.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace pote {
namespace {

struct Outcome {
    int exitCode = -1;
    QString out;
    QString err;
};

// With no display: ptmtool draws its pages offscreen on its own.
Outcome run(const QString& program, const QStringList& args) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    const test::ProgramRun r = test::runProgram(program, args, env);
    return {r.exitCode, QString::fromUtf8(r.out), QString::fromUtf8(r.err)};
}

Outcome ptmtool(const QStringList& args) {
    return run(QStringLiteral(PTMTOOL_PATH), args);
}

int pdfPages(const QString& pdf) {
    const QRegularExpressionMatch m = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)"))
                                          .match(run(QStringLiteral("pdfinfo"), {pdf}).out);
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

class PtmtoolPdf : public ::testing::Test {
protected:
    void SetUp() override {
        // Section 1: 45 lines of 20 (three manuscript pages); section 2: 10 lines (one page).
        QByteArray txm = "*section " + test::sjis("一章") + "\r\n";
        for (int i = 0; i < 45; ++i)
            txm += test::sjis("吾輩は猫である。名前はまだ無い。どこで生") + "\r\n";
        txm += "*section " + test::sjis("二章") + "\r\n";
        for (int i = 0; i < 10; ++i)
            txm += test::sjis("｜薔薇《ばら》が咲いた。") + "\r\n";
        test::writeAll(path(QStringLiteral("原稿.txm")), txm);
        ASSERT_EQ(ptmtool({"txm-import", path(QStringLiteral("原稿.txm")), document()}).exitCode,
                  0);
    }
    QString path(const QString& name) const { return m_dir.filePath(name); }
    QString document() const { return path(QStringLiteral("雨の日.ptm")); }

    QTemporaryDir m_dir;
};

TEST_F(PtmtoolPdf, WritesEveryPageOrOneSectionsInTheFormatAsked) {
    struct Row {
        QStringList options;
        int pages;
    };
    for (const Row& row : {Row{{}, 4}, Row{{"--section", "2"}, 1}, Row{{"--section", "1"}, 3},
                           Row{{"--format", "a4-40x30"}, 3}, Row{{"--format", "10x10"}, 9 + 1},
                           Row{{"--font", "IPAGothic"}, 4}}) {
        const QString out = path(QStringLiteral("出力.pdf"));
        const Outcome r = ptmtool(QStringList{"pdf", document(), out} + row.options);
        ASSERT_EQ(r.exitCode, 0) << row.options.join(' ').toStdString() << r.err.toStdString();
        EXPECT_EQ(pdfPages(out), row.pages) << row.options.join(' ').toStdString();
    }
    const QString out = path(QStringLiteral("出力.pdf"));
    EXPECT_TRUE(run(QStringLiteral("pdfinfo"), {out}).out.contains(QStringLiteral("雨の日")));
    EXPECT_TRUE(run(QStringLiteral("pdffonts"), {out})
                    .out.contains(QRegularExpression(QStringLiteral("IPA\\S*Gothic.*yes"))))
        << "the face asked for, embedded";

    // A face that is not there, or cannot set Japanese, is refused by name: no stand-in.
    QFile::remove(out);
    const struct {
        const char* face;
        const char* named;
    } refused[] = {{"NoSuchFace", "NoSuchFace"}, {"DejaVu Sans", "DejaVu Sans"}};
    for (const auto& row : refused) {
        const Outcome r = ptmtool({"pdf", document(), out, "--font", row.face});
        EXPECT_EQ(r.exitCode, 2) << row.face;
        EXPECT_TRUE(r.err.contains(QString::fromUtf8(row.named))) << r.err.toStdString();
        EXPECT_FALSE(QFileInfo::exists(out)) << row.face;
    }
}

TEST_F(PtmtoolPdf, UsageAndWriteErrorsSayWhatAndLeaveNoFile) {
    const QString out = path(QStringLiteral("出力.pdf"));
    for (const QStringList& args :
         {QStringList{"pdf", document()}, QStringList{"pdf", document(), out, "--format", "b5"},
          QStringList{"pdf", document(), out, "--format", "9x20"},
          QStringList{"pdf", document(), out, "--section", "0"},
          QStringList{"pdf", document(), out, "--section", "3"},
          QStringList{"pdf", document(), out, "--section"},
          QStringList{"pdf", document(), out, "-i"},
          QStringList{"cat", document(), "1", "--font", "IPA明朝"}}) {
        const Outcome r = ptmtool(args);
        EXPECT_EQ(r.exitCode, 1) << args.join(' ').toStdString();
        EXPECT_FALSE(r.err.isEmpty());
        EXPECT_FALSE(QFileInfo::exists(out)) << args.join(' ').toStdString();
    }
    test::writeAll(path(QStringLiteral("メモ")), "memo");
    const Outcome blocked = ptmtool({"pdf", document(), path(QStringLiteral("メモ/出力.pdf"))});
    EXPECT_EQ(blocked.exitCode, 1);
    EXPECT_TRUE(blocked.err.contains(QStringLiteral("メモ"))) << blocked.err.toStdString();
    EXPECT_EQ(test::readAll(path(QStringLiteral("メモ"))), QByteArray("memo"));
    const Outcome missing = ptmtool({"pdf", path(QStringLiteral("ない.ptm")), out});
    EXPECT_EQ(missing.exitCode, 1);

    // A NUL prints as a blank cell, and the sections that hold one are named.
    test::writeAll(path(QStringLiteral("nul.json")),
                   R"({"sections": [{"name": "a", "text": "x"}, {"text_hex": "82a0008ca2"}]})");
    ASSERT_EQ(ptmtool({"pack", path(QStringLiteral("nul.json")), path(QStringLiteral("nul.ptm"))})
                  .exitCode,
              0);
    const Outcome nul = ptmtool({"pdf", path(QStringLiteral("nul.ptm")), out});
    EXPECT_EQ(nul.exitCode, 0) << nul.err.toStdString();
    EXPECT_TRUE(nul.err.contains(QStringLiteral("warning: sections 2 hold a NUL byte")))
        << nul.err.toStdString();
    QFile::remove(out);

    // The document itself as OUT, by its name or through a link: refused, and it stays.
    const QByteArray before = test::readAll(document());
    ASSERT_TRUE(QFile::link(document(), path(QStringLiteral("l.pdf"))));
    for (const QString& target : {document(), path(QStringLiteral("l.pdf"))}) {
        const Outcome r = ptmtool({"pdf", document(), target});
        EXPECT_EQ(r.exitCode, 1) << target.toStdString();
        EXPECT_EQ(test::readAll(document()), before) << target.toStdString();
    }
}

TEST_F(PtmtoolPdf, EpubDrawsACoverFromTheTitleAndTheAuthor) {
    const QString book = path(QStringLiteral("雨の日.epub"));
    const Outcome r = ptmtool({"epub", document(), book, "--title", "｜雨《あめ》の日の猫",
                               "--author", "北条美咲", "--author-sort", "ほうじょうみさき"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_FALSE(r.err.contains(QLatin1String("warning"))) << r.err.toStdString();
    QProcess unzip;
    unzip.start(QStringLiteral("unzip"), {"-p", book, "EPUB/images/cover.png"});
    ASSERT_TRUE(unzip.waitForFinished(60000));
    const QByteArray png = unzip.readAllStandardOutput();
    // A PNG of 1600 x 2560, as the IHDR says.
    ASSERT_GT(png.size(), 24);
    EXPECT_EQ(png.mid(12, 12), QByteArray("IHDR\0\0\x06\x40\0\0\x0A\x00", 12));
    SKIP_WITHOUT_EPUBCHECK();
    EXPECT_EQ(test::epubcheckComplaints(book).toStdString(), "");
}

} // namespace
} // namespace pote
