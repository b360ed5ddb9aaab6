// Vertical pages onto paper: a PDF read back with poppler's tools (pages, title, the embedded
// font), progress that stops the work, and the failures that must leave an old file as it was.

#include "vertical_fixture.h"

#include "vertical/document_pages.h"
#include "vertical/ui/page_printing.h"

#include "support/result_check.h"
#include "support/test_files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <unistd.h>

namespace pote::vertical::test {
namespace {

// Pages written by hand, as many as asked for, each with a few lines.
class HandPages : public PageSource {
public:
    HandPages(int count, PageFormat format) : m_count(count), m_format(format) {}
    const PageFormat& format() const override { return m_format; }
    int pageCount() override { return m_count; }
    Page page(int n) override {
        ++asked;
        Page p;
        p.lines.append(uprightLine(QStringLiteral("第%1頁、吾輩は猫である。").arg(n + 1)));
        p.lines.append(uprightLine(QStringLiteral("「名前はまだ無い」")));
        return p;
    }
    int asked = 0;

private:
    int m_count;
    PageFormat m_format;
};

QString run(const QString& program, const QStringList& arguments) {
    QProcess p;
    p.start(program, arguments);
    EXPECT_TRUE(p.waitForFinished(60000)) << program.toStdString();
    return QString::fromUtf8(p.readAllStandardOutput());
}

class PagePrinting : public VerticalDrawing {
protected:
    void SetUp() override {
        font = loadFont(VerticalFont::Forms::FontVertical);
        ASSERT_TRUE(font);
    }
    QString path(const QString& name) const { return dir.filePath(name); }

    std::unique_ptr<VerticalFont> font;
    QTemporaryDir dir;
};

TEST_F(PagePrinting, APdfHasOnePagePerPageItsTitleAndTheFaceEmbedded) {
    const QString out = path(QStringLiteral("雨の日.pdf"));
    PageFormat contest;
    contest.charsPerLine = 40;
    contest.linesPerPage = 30;
    contest.a4Landscape = true;
    contest.grid = false;
    for (const PageFormat& format : {PageFormat{}, contest}) {
        HandPages pages(7, format);
        const Result<int> written = writePdf(out, QStringLiteral("雨の日の原稿"), pages, *font, {});
        ASSERT_TRUE(written) << pote::test::errorText(written);
        EXPECT_EQ(*written, 7);
        const QString info = run(QStringLiteral("pdfinfo"), {out});
        EXPECT_TRUE(info.contains(QRegularExpression(QStringLiteral("Pages:\\s+7\\n"))))
            << info.toStdString();
        EXPECT_TRUE(info.contains(QStringLiteral("雨の日の原稿"))) << info.toStdString();
        EXPECT_TRUE(
            info.contains(QRegularExpression(QStringLiteral("84\\d\\S* x 595\\S* pts \\(A4\\)"))))
            << "landscape";
        const QString fonts = run(QStringLiteral("pdffonts"), {out});
        EXPECT_TRUE(fonts.contains(QRegularExpression(QStringLiteral("IPA\\S*Mincho.*yes"))))
            << fonts.toStdString();
        // Only the glyphs used: far smaller than the font file.
        EXPECT_LT(QFileInfo(out).size(), QFileInfo(font->file().path).size() / 20);
        // The text is text, in the reading order: not outlines.
        const QString text = run(QStringLiteral("pdftotext"), {out, QStringLiteral("-")});
        EXPECT_TRUE(text.contains(QStringLiteral("吾"))) << text.left(200).toStdString();
    }
}

// What a page says, read as it is read: each line from the top, its ruby after it, the page
// number last; no white space (a reader's tools put their own between glyphs).
QString readingOrder(const Page& page, int number) {
    QString text;
    for (int l = 0; l < page.lines.size(); ++l) {
        for (const Cell& c : page.lines[l].cells)
            for (char16_t ch : c.ch)
                if (ch > 0x20 && ch != 0x7F) text += QChar(ch);
        for (const RubyMark& r : page.ruby)
            if (r.line == l) text += r.reading;
    }
    return text + QString::number(number);
}

// The full-width space goes too: the PDF maps its glyph to U+3000, which poppler reports as
// white space like any other.
QString withoutSpaces(QString text) {
    text.remove(QRegularExpression(QStringLiteral("[ \\t\\r\\n\\f\\x{3000}]")));
    return text;
}

TEST_F(PagePrinting, ThePdfsTextIsThePagesCharactersInReadingOrder) {
    // Everything whose vertical form the font's character map does not know, half-width runs,
    // ruby, dots, a tab and the full-width space.
    const QByteArray text = pote::test::sjis(
        "　「ちょっと待っててください!!」と、彼女は言った。『コーヒー』――それは……\r\n"
        "｜珈琲《コーヒー》を一杯、1/125秒で。ISO 400、3.5倍、10%、ｶﾞﾊﾟ。\r\n"
        "《《本当に》》ぁぃぅぇぉゃゅょゎァィゥェォッャュョヮヵヶ\t〜ー―…‥\r\n");
    DocumentPages pages({{text.repeated(6), {}}}, PageFormat{});
    const QString out = path(QStringLiteral("本文.pdf"));
    ASSERT_TRUE(writePdf(out, QStringLiteral("t"), pages, *font, {}));
    const int total = pages.pageCount();
    ASSERT_GE(total, 2);
    for (int n = 0; n < total; ++n) {
        const QString page = QString::number(n + 1);
        const QString read = run(QStringLiteral("pdftotext"),
                                 {QStringLiteral("-raw"), QStringLiteral("-f"), page,
                                  QStringLiteral("-l"), page, out, QStringLiteral("-")});
        EXPECT_EQ(withoutSpaces(read).toStdU16String(),
                  withoutSpaces(readingOrder(pages.page(n), n + 1)).toStdU16String())
            << "page " << n + 1;
    }
}

TEST_F(PagePrinting, ProgressCountsEveryPageAndAStopLeavesTheOldFileAlone) {
    const QString out = path(QStringLiteral("old.pdf"));
    pote::test::writeAll(out, "old file");
    HandPages pages(40, PageFormat{});
    std::vector<int> seen;
    const Result<int> written =
        writePdf(out, QStringLiteral("t"), pages, *font, [&](int done, int total) {
            EXPECT_EQ(total, 40);
            seen.push_back(done);
            return done < 5;
        });
    EXPECT_EQ(pote::test::failureOf(written), Error::Kind::Cancelled);
    EXPECT_EQ(seen, (std::vector<int>{1, 2, 3, 4, 5}));
    EXPECT_EQ(pages.asked, 5) << "no page is laid out after the stop";
    EXPECT_EQ(pote::test::readAll(out), QByteArray("old file"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("old.pdf")})
        << "nothing half-written is left beside it";
}

TEST_F(PagePrinting, AReadOnlyFolderFailsWithItsReasonAndKeepsTheOldFile) {
    if (geteuid() == 0) GTEST_SKIP() << "root writes into read-only folders";
    const QString folder = path(QStringLiteral("読み取り専用"));
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString out = folder + QStringLiteral("/old.pdf");
    pote::test::writeAll(out, "old file");
    ASSERT_TRUE(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner));
    HandPages pages(3, PageFormat{});
    const Result<int> written = writePdf(out, QStringLiteral("t"), pages, *font, {});
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    ASSERT_FALSE(written);
    EXPECT_NE(written.error().kind, Error::Kind::Cancelled);
    EXPECT_FALSE(written.error().text.isEmpty());
    EXPECT_EQ(pote::test::readAll(out), QByteArray("old file"));
}

TEST_F(PagePrinting, AFolderAMissingFolderOrAFileInPlaceOfAFolderAsTargetFails) {
    HandPages pages(2, PageFormat{});
    const QString folder = path(QStringLiteral("原稿.pdf"));
    ASSERT_TRUE(QDir().mkpath(folder));
    // A file where the folder should be stops even root.
    const QString notFolder = path(QStringLiteral("メモ.txt"));
    pote::test::writeAll(notFolder, "memo");
    for (const QString& out :
         {folder, path(QStringLiteral("ない/原稿.pdf")), notFolder + QStringLiteral("/原稿.pdf")}) {
        const Result<int> written = writePdf(out, QStringLiteral("t"), pages, *font, {});
        ASSERT_FALSE(written) << out.toStdString();
        EXPECT_NE(written.error().kind, Error::Kind::Cancelled) << out.toStdString();
        EXPECT_FALSE(written.error().text.isEmpty());
    }
    EXPECT_TRUE(QFileInfo(folder).isDir());
    EXPECT_FALSE(QFileInfo::exists(path(QStringLiteral("ない"))));
    EXPECT_EQ(pote::test::readAll(notFolder), QByteArray("memo"));
}

} // namespace
} // namespace pote::vertical::test
