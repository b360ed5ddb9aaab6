// A section's text as content documents, over random texts full of markup, stray bytes and
// control codes: every document is well-formed UTF-8 XML, and what it says is the text the
// notation leaves, less only what a book cannot hold.

#include "core/cp932.h"
#include "epub/content_document.h"
#include "epub/xml_text.h"
#include "support/test_files.h"
#include "vertical/notation.h"

#include <QRandomGenerator>
#include <QStringList>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

namespace pote::epub {
namespace {

using test::sjis;

// Random text built mostly from the pieces markup is made of, so that every rule meets every
// other, with stray bytes, NULs, control codes and every kind of line break among them.
QByteArray randomText(QRandomGenerator& random) {
    static const QList<QByteArray> pieces = {sjis("｜"),
                                             sjis("《"),
                                             sjis("》"),
                                             sjis("《《"),
                                             sjis("》》"),
                                             sjis("［＃改ページ］"),
                                             sjis("［＃「"),
                                             sjis("」に傍点］"),
                                             sjis("漢字"),
                                             sjis("かな"),
                                             sjis("猫"),
                                             "|",
                                             "1",
                                             "12",
                                             "123",
                                             "!!",
                                             "!?",
                                             "a",
                                             "&",
                                             "<",
                                             ">",
                                             "\"",
                                             "\r\n",
                                             "\n",
                                             "\r",
                                             "\t",
                                             QByteArray("\0", 1),
                                             "\x01",
                                             "\x7f",
                                             "\x80",
                                             "\xa0",
                                             "\xff",
                                             "\x81",
                                             "\xfd",
                                             " "};
    QByteArray text;
    const int n = random.bounded(80);
    for (int i = 0; i < n; ++i) {
        if (random.bounded(8) == 0)
            text += char(random.bounded(256));
        else
            text += pieces[random.bounded(pieces.size())];
    }
    return text;
}

// What a reader sees in the documents: the text of each paragraph, without the readings, and
// the readings in order.
struct Seen {
    QStringList paragraphs;
    QStringList readings;
    QString error;
};

Seen read(const std::vector<QByteArray>& documents) {
    Seen seen;
    for (const QByteArray& doc : documents) {
        if (QString::fromUtf8(doc).toUtf8() != doc) seen.error = QStringLiteral("not UTF-8");
        QXmlStreamReader xml(doc);
        int inRt = 0;
        int inRp = 0; // the brackets around a reading, for readers without ruby
        bool inP = false;
        while (!xml.atEnd()) {
            switch (xml.readNext()) {
            case QXmlStreamReader::StartElement:
                if (xml.name() == QLatin1String("p")) {
                    inP = true;
                    seen.paragraphs.append(QString());
                }
                if (xml.name() == QLatin1String("rt")) {
                    ++inRt;
                    seen.readings.append(QString());
                }
                if (xml.name() == QLatin1String("rp")) ++inRp;
                break;
            case QXmlStreamReader::EndElement:
                if (xml.name() == QLatin1String("p")) inP = false;
                if (xml.name() == QLatin1String("rt")) --inRt;
                if (xml.name() == QLatin1String("rp")) --inRp;
                break;
            case QXmlStreamReader::Characters:
                if (inRp) break;
                if (inRt)
                    seen.readings.last() += xml.text();
                else if (inP)
                    seen.paragraphs.last() += xml.text();
                break;
            default:
                break;
            }
        }
        if (xml.hasError()) seen.error = xml.errorString();
    }
    return seen;
}

QString bookText(QStringView text) {
    return QString::fromUtf8(xmlText(text))
        .replace(QLatin1String("&amp;"), QLatin1String("&"))
        .replace(QLatin1String("&lt;"), QLatin1String("<"))
        .replace(QLatin1String("&gt;"), QLatin1String(">"))
        .replace(QLatin1String("&quot;"), QLatin1String("\""));
}

// The same, from the parser's paragraphs: the characters a book can hold; the readings.
Seen expected(const QByteArray& text) {
    Seen want;
    vertical::forEachParagraph(text, [&](const vertical::Paragraph& p) {
        if (p.pageBreakBefore && p.chars.isEmpty()) return true;
        QString s;
        for (const vertical::TextChar& c : p.chars)
            if (isBookCharacter(c.ch)) s += QChar(c.ch);
        want.paragraphs.append(s);
        for (const vertical::RubySpan& r : p.ruby)
            want.readings.append(bookText(r.reading));
        return true;
    });
    return want;
}

TEST(ContentDocuments, RandomTextsGiveWellFormedDocumentsThatSayTheText) {
    QRandomGenerator random(20240611);
    const ContentHead head{"題&amp;名", "見出し"};
    for (int round = 0; round < 3000; ++round) {
        const QByteArray text = randomText(random);
        const int count = contentDocumentCount(text);
        int breaks = 0;
        vertical::forEachParagraph(text, [&breaks](const vertical::Paragraph& p) {
            breaks += p.pageBreakBefore;
            return true;
        });
        ASSERT_EQ(count, 1 + breaks) << text.toHex().toStdString();
        const SectionDocuments docs = contentDocuments(text, head, planDocuments(text));
        ASSERT_EQ(static_cast<int>(docs.documents.size()), count) << text.toHex().toStdString();
        const Seen seen = read(docs.documents);
        ASSERT_TRUE(seen.error.isEmpty())
            << seen.error.toStdString() << " " << text.toHex().toStdString();
        const Seen want = expected(text);
        // An empty paragraph is shown as a line break, which has no text.
        ASSERT_EQ(seen.paragraphs, want.paragraphs) << text.toHex().toStdString();
        // A ruby whose base holds no character at all is left out with its reading.
        for (const QString& reading : seen.readings)
            ASSERT_TRUE(want.readings.contains(reading)) << text.toHex().toStdString();
        ASSERT_LE(seen.readings.size(), want.readings.size());
        // What was left out is what the parser's characters held that a book cannot.
        qsizetype notText = 0;
        vertical::forEachParagraph(text, [&](const vertical::Paragraph& p) {
            for (const vertical::TextChar& c : p.chars)
                notText += !isBookCharacter(c.ch);
            return true;
        });
        ASSERT_GE(docs.dropped.size(), notText) << text.toHex().toStdString();
    }
}

TEST(ContentDocuments, PageBreaksStartDocumentsAndOnlyTheFirstHasTheHeading) {
    const QByteArray text = sjis(
        "一\r\n［＃改ページ］\r\n二［＃改ページ］三\r\n\r\n［＃改ページ］\r\n［＃改ページ］四");
    ASSERT_EQ(contentDocumentCount(text), 5);
    const SectionDocuments docs = contentDocuments(text, {"t", "見出し"}, {5});
    ASSERT_EQ(docs.documents.size(), 5u);
    const QList<QByteArray> bodies = {"<h1>見出し</h1>\n<p>一</p>\n", "<p>二</p>\n",
                                      "<p>三</p>\n<p><br/></p>\n", "", "<p>四</p>\n"};
    for (int i = 0; i < 5; ++i) {
        const QByteArray& doc = docs.documents[static_cast<size_t>(i)];
        const qsizetype start = doc.indexOf("<body>\n") + 7;
        EXPECT_EQ(doc.mid(start, doc.indexOf("</body>") - start), bodies[i]) << i;
    }

    // A plan that counted fewer breaks keeps the rest of the text in its last document; one that
    // counted more gets empty ones.
    const SectionDocuments fewer = contentDocuments(text, {"t", {}}, {2});
    ASSERT_EQ(fewer.documents.size(), 2u);
    EXPECT_TRUE(fewer.documents[1].contains("<p>四</p>"));
    EXPECT_EQ(contentDocuments(text, {"t", {}}, {7}).documents.size(), 7u);
}

TEST(ContentDocuments, LongSectionsAreSplitAtLineStartsIntoFilesOfReadableSize) {
    // Lines of every length, page breaks among them, one line longer than a whole document,
    // and every kind of line break.
    QRandomGenerator random(20261208);
    const QList<QByteArray> breaks = {"\r\n", "\n", "\r"};
    QByteArray text;
    while (text.size() < 5'000'000) {
        const int kind = random.bounded(200);
        if (kind == 0)
            text += sjis("［＃改ページ］");
        else if (kind == 1 && text.size() > 2'000'000 && text.size() < 2'100'000)
            text += sjis("長").repeated(200'000);
        else
            text += sjis("｜猫《ねこ》が鳴いた。").repeated(random.bounded(1, 60));
        text += breaks[random.bounded(3)];
    }
    const DocumentPlan plan = planDocuments(text);
    const SectionDocuments docs = contentDocuments(text, {"t", "見出し"}, plan);
    ASSERT_EQ(static_cast<int>(docs.documents.size()), plan.count);
    EXPECT_GT(plan.fullAt.size(), 20);
    for (size_t i = 0; i < docs.documents.size(); ++i) {
        const QByteArray& doc = docs.documents[i];
        EXPECT_EQ(doc.contains("<h1>"), i == 0) << i;
        // Full at about 250 KB; only the line longer than that goes past it.
        if (!doc.contains("長長長")) EXPECT_LT(doc.size(), 300'000) << i;
    }
    const Seen seen = read(docs.documents);
    ASSERT_TRUE(seen.error.isEmpty()) << seen.error.toStdString();
    EXPECT_EQ(seen.paragraphs, expected(text).paragraphs) << "nothing lost or doubled at a split";
    // Each split is at the start of a line.
    for (qsizetype at : plan.fullAt)
        EXPECT_TRUE(text[at - 1] == '\n' || text[at - 1] == '\r') << at;
}

TEST(ContentDocuments, StopWhenCancelled) {
    const QByteArray text = sjis("行\r\n").repeated(10000);
    std::atomic<bool> cancel{true};
    EXPECT_TRUE(contentDocuments(text, {"t", {}}, {1}, &cancel).cancelled);
}

} // namespace
} // namespace pote::epub
