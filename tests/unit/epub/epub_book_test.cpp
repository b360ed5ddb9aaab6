// Whole books: the validator's verdict on a manuscript with every notation, on a horizontal
// book and on the inputs that break naive writers; the zip's layout; and what is left on disk
// when a book is refused, stopped or cannot be written.

#include "core/cp932.h"
#include "epub/epub_messages.h"
#include "epub/epub_writer.h"
#include "epub/package_files.h"
#include "support/epubcheck.h"
#include "support/result_check.h"
#include "support/test_files.h"
#include "textio/linked_text.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <ctime>

#include <gtest/gtest.h>

#include <zip.h>

namespace pote::epub {
namespace {

using test::epubcheckComplaints;
using test::readAll;
using test::sjis;
using test::writeAll;

struct Entry {
    QString name;
    int method = 0;
    QByteArray bytes;
};

std::vector<Entry> entriesOf(const QString& path) {
    std::vector<Entry> out;
    int error = 0;
    zip_t* zip = zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY, &error);
    if (!zip) return out;
    for (zip_int64_t i = 0; i < zip_get_num_entries(zip, 0); ++i) {
        zip_stat_t st;
        zip_stat_index(zip, static_cast<zip_uint64_t>(i), 0, &st);
        Entry e{QString::fromUtf8(st.name), st.comp_method, QByteArray(qsizetype(st.size), 0)};
        zip_file_t* f = zip_fopen_index(zip, static_cast<zip_uint64_t>(i), 0);
        zip_fread(f, e.bytes.data(), st.size);
        zip_fclose(f);
        out.push_back(std::move(e));
    }
    zip_close(zip);
    return out;
}

QByteArray entry(const QString& path, const QString& name) {
    for (const Entry& e : entriesOf(path))
        if (e.name == name) return e.bytes;
    return {};
}

Book bookOf(std::vector<BookSection> sections, bool horizontal = false) {
    Book book;
    book.sections = std::move(sections);
    book.options.title = QStringLiteral("窓辺の猫");
    book.options.author = QStringLiteral("ぽてまる");
    book.options.horizontal = horizontal;
    book.options.identifier = bookIdentifier(QStringLiteral("/home/猫/窓辺の猫.ptm"));
    book.options.modified = QDateTime(QDate(2024, 6, 11), QTime(9, 30), Qt::UTC);
    return book;
}

// A short story of four sections with ruby, emphasis, dialogue and page breaks, and a fifth
// section with what the story lacks.
Book manuscript(bool horizontal = false) {
    Utf8Choice utf8;
    const Result<LinkedTextRead> story =
        linked_text_read(test::dataPath(QStringLiteral("epub/窓辺の猫.txm")), utf8);
    EXPECT_TRUE(story.ok()) << test::errorText(story);
    std::vector<BookSection> sections;
    if (story)
        for (const DocumentContent::Entry& e : story->content.sections)
            sections.push_back({e.section.name, e.section.text});
    const QByteArray more = sjis("　|犬《いぬ》と［＃「犬」に傍点］。\r\n"
                                 "第12話!!　ｶﾀｶﾅ　Ａ＆Ｂ　a<b>&\"c\"\r\n");
    sections.push_back({sjis("おまけ"), more});
    return bookOf(std::move(sections), horizontal);
}

class EpubBook : public testing::Test {
protected:
    QString path(const QString& name) const { return m_dir.filePath(name); }
    QStringList filesHere() const {
        return QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    }
    QTemporaryDir m_dir;
};

TEST_F(EpubBook, ManuscriptWithEveryNotationPassesTheValidator) {
    const QString out = path(QStringLiteral("窓辺の猫.epub"));
    const Result<EpubWrite> written = write_epub(out, manuscript());
    ASSERT_TRUE(written) << test::errorText(written);
    EXPECT_EQ(written->droppedPlaces, 0);

    const std::vector<Entry> entries = entriesOf(out);
    ASSERT_GE(entries.size(), 8u);
    // The mimetype first, stored, with no extra field: its bytes sit at a fixed place.
    EXPECT_EQ(entries[0].name, QStringLiteral("mimetype"));
    EXPECT_EQ(entries[0].method, ZIP_CM_STORE);
    const QByteArray raw = readAll(out);
    EXPECT_EQ(raw.mid(28, 2), QByteArray(2, '\0')) << "extra field length";
    EXPECT_EQ(raw.mid(30, 28), QByteArray("mimetypeapplication/epub+zip"));

    // Four sections, two of them with a page break, and the fifth.
    const QByteArray opf = entry(out, kPackagePath);
    EXPECT_TRUE(opf.contains("<spine page-progression-direction=\"rtl\">"));
    EXPECT_EQ(opf.count("<itemref "), 8) << "the contents page and seven documents";
    EXPECT_TRUE(opf.contains("<dc:title>窓辺の猫</dc:title>"));
    EXPECT_TRUE(opf.contains("<dc:creator id=\"creator\">ぽてまる</dc:creator>"));
    EXPECT_TRUE(opf.contains("<meta property=\"dcterms:modified\">2024-06-11T09:30:00Z</meta>"));
    EXPECT_TRUE(entry(out, kStyleSheetPath).contains("writing-mode: vertical-rl;"));
    const QByteArray nav = entry(out, kNavigationPath);
    EXPECT_TRUE(nav.contains("<a href=\"text/p00001.xhtml\">第一話　窓辺の猫</a>"));
    EXPECT_TRUE(nav.contains("<a href=\"text/p00003.xhtml\">第二話　灯台の手紙</a>"));
    EXPECT_TRUE(nav.contains("<a href=\"text/p00007.xhtml\">おまけ</a>"));
    const QByteArray first = entry(out, QStringLiteral("EPUB/text/p00001.xhtml"));
    EXPECT_TRUE(first.contains("<h1>第一話　窓辺の猫</h1>"));
    EXPECT_TRUE(
        first.contains("名前を<ruby>大福<rp>（</rp><rt>だいふく</rt><rp>）</rp></ruby>という。"));
    EXPECT_TRUE(first.contains("<span class=\"tcy\">6</span>時きっかり"));
    EXPECT_TRUE(first.contains("<span class=\"em-sesame\">じっと</span>"));
    EXPECT_TRUE(entry(out, QStringLiteral("EPUB/text/p00002.xhtml"))
                    .contains("<span class=\"em-sesame\">見放された</span>"));
    const QByteArray more = entry(out, QStringLiteral("EPUB/text/p00007.xhtml"));
    EXPECT_TRUE(more.contains(
        "<ruby><span class=\"em-sesame\">犬</span><rp>（</rp><rt>いぬ</rt><rp>）</rp></ruby>"));
    EXPECT_TRUE(more.contains("第<span class=\"tcy\">12</span>話<span class=\"tcy\">!!</span>"));
    EXPECT_TRUE(more.contains("a&lt;b&gt;&amp;&quot;c&quot;"));

    SKIP_WITHOUT_EPUBCHECK();
    EXPECT_EQ(epubcheckComplaints(out).toStdString(), "");
}

TEST_F(EpubBook, HorizontalBookPassesTheValidator) {
    const QString out = path(QStringLiteral("横書き.epub"));
    ASSERT_TRUE(write_epub(out, manuscript(true)).ok());
    EXPECT_TRUE(entry(out, kPackagePath).contains("<spine page-progression-direction=\"ltr\">"));
    EXPECT_TRUE(entry(out, kStyleSheetPath).contains("writing-mode: horizontal-tb;"));
    SKIP_WITHOUT_EPUBCHECK();
    EXPECT_EQ(epubcheckComplaints(out).toStdString(), "");
}

TEST_F(EpubBook, InputsThatBreakNaiveWritersStillGiveValidBooks) {
    // 500 empty sections without names: every one still has an entry in the contents.
    std::vector<BookSection> empty(500);
    const QString emptyBook = path(QStringLiteral("空.epub"));
    ASSERT_TRUE(write_epub(emptyBook, bookOf(empty)).ok());
    const QByteArray nav = entry(emptyBook, kNavigationPath);
    EXPECT_TRUE(nav.contains(">No.001</a>"));
    EXPECT_TRUE(nav.contains("<a href=\"text/p00500.xhtml\">No.500</a>"));

    // Names and texts full of what markup and XML give a meaning to, NULs, control codes and
    // stray bytes, markup left open, and a 10 MB section.
    const QByteArray nul("\0", 1);
    std::vector<BookSection> bad = {
        {sjis("<b>&amp;\"名前\"</b>"), sjis("本文&<>\"\r\n")},
        {sjis("名") + nul + "\x01\x80" + sjis("前"), sjis("一行目\r\n二") + nul + sjis("行目\r\n")},
        {QByteArray(" \x80 ", 3), sjis("｜開いた《まま\r\n《《傍点\r\n［＃「ない」に傍点］\r\n｜")},
        {{}, sjis("［＃改ページ］\r\n［＃改ページ］\r\n")},
        {sjis("長い"), sjis("　猫《ねこ》は12時に《《起きる》》!?\r\n").repeated(10'000'000 / 40)},
    };
    const QString badBook = path(QStringLiteral("悪い入力.epub"));
    const Result<EpubWrite> written = write_epub(badBook, bookOf(bad));
    ASSERT_TRUE(written) << test::errorText(written);
    // The places are told: the second section's name and its second line, the third's name.
    EXPECT_EQ(written->dropped, (QList<DroppedPlace>{{1, 0}, {1, 2}, {2, 0}}));
    EXPECT_EQ(written->droppedPlaces, 3);
    const QByteArray badNav = entry(badBook, kNavigationPath);
    EXPECT_TRUE(badNav.contains(">&lt;b&gt;&amp;amp;&quot;名前&quot;&lt;/b&gt;</a>"));
    EXPECT_TRUE(badNav.contains(">名前</a>"));
    EXPECT_TRUE(badNav.contains(">No.003</a>")) << "a name of blanks is no name";

    SKIP_WITHOUT_EPUBCHECK();
    EXPECT_EQ(epubcheckComplaints(emptyBook).toStdString(), "");
    EXPECT_EQ(epubcheckComplaints(badBook).toStdString(), "");
}

TEST_F(EpubBook, RefusedStoppedOrUnwritableBooksLeaveTheOldFileAndNothingElse) {
    const QString out = path(QStringLiteral("本.epub"));
    writeAll(out, "old book");

    // Too many page breaks: refused before anything is written.
    const std::vector<BookSection> breaks = {
        {{}, sjis("［＃改ページ］\r\n").repeated(kMaxContentDocuments)}};
    const Result<EpubWrite> refused = write_epub(out, bookOf(breaks));
    ASSERT_EQ(test::failureOf(refused), Error::Kind::Refused);
    EXPECT_EQ(refused.error().text, epubmsg::tooManyPages(kMaxContentDocuments));

    // Stopped half-way, from the progress report of the first section.
    std::vector<BookSection> many(50, {sjis("章"), sjis("本文です。\r\n").repeated(2000)});
    std::atomic<bool> cancel{false};
    int reports = 0;
    const Result<EpubWrite> stopped =
        write_epub(out, bookOf(many), &cancel, [&](qint64 done, qint64) {
            if (done > 0 && ++reports == 1) cancel = true;
        });
    EXPECT_EQ(test::failureOf(stopped), Error::Kind::Cancelled);
    EXPECT_EQ(reports, 1);

    // A folder where the book should go, and a folder that does not exist.
    QDir(m_dir.path()).mkdir(QStringLiteral("フォルダ.epub"));
    for (const QString& target :
         {path(QStringLiteral("フォルダ.epub")), path(QStringLiteral("無い/本.epub"))}) {
        const Result<EpubWrite> failed = write_epub(target, bookOf(many));
        ASSERT_FALSE(failed.ok()) << target.toStdString();
        EXPECT_NE(failed.error().kind, Error::Kind::Cancelled) << target.toStdString();
        EXPECT_EQ(failed.error().path, target) << "the box names the file";
    }

    EXPECT_EQ(readAll(out), QByteArray("old book"));
    EXPECT_EQ(filesHere(), QStringList{QStringLiteral("本.epub")});

    // And a book that is written replaces it whole.
    ASSERT_TRUE(write_epub(out, bookOf(many)).ok());
    EXPECT_EQ(entriesOf(out).size(), 55u);
    EXPECT_EQ(filesHere(), QStringList{QStringLiteral("本.epub")});
}

// A 1 x 1 PNG.
const QByteArray kPng("\x89\x50\x4e\x47\x0d\x0a\x1a\x0a\x00\x00\x00\x0d\x49\x48\x44\x52\x00\x00"
                      "\x00\x01\x00\x00\x00\x01\x08\x02\x00\x00\x00\x90\x77\x53\xde\x00\x00\x00"
                      "\x0c\x49\x44\x41\x54\x78\x9c\x63\xf8\x7f\x66\x26\x00\x05\x32\x02\x65\xff"
                      "\x35\x86\x36\x00\x00\x00\x00\x49\x45\x4e\x44\xae\x42\x60\x82",
                      69);

TEST_F(EpubBook, ABookAsAStoreAndAReaderTakeIt) {
    // A cover image, ruby and an ideographic blank for names, a 5 MB section, and user-defined
    // characters (CP932 F040) in a name and on a line.
    const QByteArray userDefined("\xF0\x40", 2);
    std::vector<BookSection> sections = {
        {sjis("「｜黒猫《くろねこ》」") + userDefined, sjis("北条美咲《ほうじょうみさき》は\r\n")},
        {sjis("　　"), sjis("二\r\n")},
        {sjis("長い章"),
         sjis("一\r\n二\r\n") + userDefined +
             sjis("　｜吾輩《わがはい》は猫である。名前はまだ無い。\r\n").repeated(5'000'000 / 50)},
    };
    Book book = bookOf(std::move(sections));
    book.options.authorSort = QStringLiteral("ぽてまる");
    book.options.cover = {BookCover::Format::Png, kPng};
    const QString out = path(QStringLiteral("店.epub"));
    const Result<EpubWrite> written = write_epub(out, book);
    ASSERT_TRUE(written) << test::errorText(written);
    EXPECT_EQ(written->userDefined, (QList<DroppedPlace>{{0, 0}, {2, 3}}));
    EXPECT_EQ(written->droppedPlaces, 0);

    const QByteArray opf = entry(out, kPackagePath);
    for (const char* line :
         {"<meta refines=\"#creator\" property=\"role\" scheme=\"marc:relators\">aut</meta>",
          "<meta refines=\"#creator\" property=\"file-as\">ぽてまる</meta>",
          "<meta name=\"primary-writing-mode\" content=\"vertical-rl\"/>",
          "<meta property=\"schema:accessMode\">textual</meta>",
          "<meta property=\"schema:accessModeSufficient\">textual</meta>",
          "<meta property=\"schema:accessibilityFeature\">rubyAnnotations</meta>",
          "<meta property=\"schema:accessibilityFeature\">readingOrder</meta>",
          "<meta property=\"schema:accessibilityHazard\">none</meta>",
          "<meta property=\"schema:accessibilitySummary\">",
          "<item id=\"cover-image\" href=\"images/cover.png\" media-type=\"image/png\" "
          "properties=\"cover-image\"/>",
          "<spine page-progression-direction=\"rtl\">\n<itemref idref=\"cover\"/>\n"
          "<itemref idref=\"nav\"/>\n<itemref idref=\"p00001\"/>"})
        EXPECT_TRUE(opf.contains(line)) << line;
    EXPECT_EQ(entry(out, QStringLiteral("EPUB/images/cover.png")), kPng);
    EXPECT_TRUE(entry(out, QString::fromLatin1(kCoverPagePath))
                    .contains("<img src=\"../images/cover.png\" alt=\"窓辺の猫\"/>"));

    // A name's ruby is ruby in the heading and plain in the contents and the title.
    const QString userDefinedText = QString(QChar(0xE000));
    const QByteArray nav = entry(out, kNavigationPath);
    EXPECT_TRUE(nav.contains(">「黒猫」" + userDefinedText.toUtf8() + "</a>"));
    EXPECT_TRUE(nav.contains(">No.002</a>")) << "ideographic blanks are no name";
    EXPECT_TRUE(nav.contains("<a epub:type=\"cover\" href=\"text/cover.xhtml\">"));
    EXPECT_TRUE(nav.contains("<a epub:type=\"bodymatter\" href=\"text/p00001.xhtml\">"));
    const QByteArray first = entry(out, QStringLiteral("EPUB/text/p00001.xhtml"));
    EXPECT_TRUE(first.contains("<title>「黒猫」" + userDefinedText.toUtf8() + "</title>"));
    EXPECT_TRUE(first.contains("<h1>「<ruby>黒猫<rp>（</rp><rt>くろねこ</rt><rp>）</rp></ruby>」"));

    // The long section: files of a readable size, listed once.
    int parts = 0;
    for (const Entry& e : entriesOf(out)) {
        if (!e.name.startsWith(QLatin1String("EPUB/text/p"))) continue;
        EXPECT_LT(e.bytes.size(), 300'000) << e.name.toStdString();
        ++parts;
    }
    EXPECT_GT(parts, 20);
    EXPECT_EQ(nav.count("長い章"), 1);

    SKIP_WITHOUT_EPUBCHECK();
    EXPECT_EQ(epubcheckComplaints(out).toStdString(), "");
}

TEST_F(EpubBook, TheSameBookInAnyTimeZone) {
    const QByteArray zone = qgetenv("TZ");
    QByteArray made[2];
    const char* zones[2] = {"UTC", "Asia/Tokyo"};
    for (int i = 0; i < 2; ++i) {
        qputenv("TZ", zones[i]);
        tzset();
        const QString out = path(QStringLiteral("%1.epub").arg(i));
        ASSERT_TRUE(write_epub(out, manuscript()).ok());
        made[i] = readAll(out);
    }
    if (zone.isNull())
        qunsetenv("TZ");
    else
        qputenv("TZ", zone);
    tzset();
    EXPECT_EQ(made[0], made[1]);
    // The first entry's time and date fields: 09:30:00 on 2024-06-11, as the book's date says.
    EXPECT_EQ(made[0].mid(10, 4), QByteArray("\xC0\x4B\xCB\x58", 4));
}

TEST_F(EpubBook, TheSameDocumentMakesTheSameBook) {
    // Same path, same identifier; the same book from the same text, byte for byte.
    const QString id = bookIdentifier(QStringLiteral("/home/猫/窓辺の猫.ptm"));
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^urn:uuid:[0-9a-f]{8}-[0-9a-f]{4}-5[0-9a-f]{3}-"
                                                  "[89ab][0-9a-f]{3}-[0-9a-f]{12}$"))
                    .match(id)
                    .hasMatch())
        << id.toStdString();
    EXPECT_EQ(bookIdentifier(QStringLiteral("/home/猫/../猫/窓辺の猫.ptm")), id);
    EXPECT_NE(bookIdentifier(QStringLiteral("/home/猫/窓辺の犬.ptm")), id);

    const QString a = path(QStringLiteral("a.epub")), b = path(QStringLiteral("b.epub"));
    ASSERT_TRUE(write_epub(a, manuscript()).ok());
    ASSERT_TRUE(write_epub(b, manuscript()).ok());
    EXPECT_EQ(readAll(a), readAll(b));
}

} // namespace
} // namespace pote::epub
