// A document's pages across its sections: each section from a new page, pages walked in both
// directions match the numbers counted and the pages taken by number, counts from elsewhere are
// taken only where none is known, a page is found from a character's offset, and a changed
// section or range of paragraphs gives the pages of the new text.

#include "vertical/document_pages.h"

#include "core/cp932.h"

#include <QRandomGenerator>

#include <gtest/gtest.h>

namespace pote::vertical {
namespace {

QByteArray sjis(const QString& text) {
    return cp932::encode(text);
}

// A text of `lines` paragraphs of `length` kanji each.
QByteArray paragraphs(int lines, int length) {
    QByteArray text;
    for (int i = 0; i < lines; ++i)
        text += sjis(QString(length, QChar(u'猫'))) + "\r\n";
    return text;
}

QList<SectionSource> randomDocument(QRandomGenerator& random) {
    QList<SectionSource> sections;
    const int count = random.bounded(1, 8);
    for (int i = 0; i < count; ++i)
        sections.append({paragraphs(random.bounded(0, 60), random.bounded(0, 50)),
                         sjis(QStringLiteral("第%1章").arg(i + 1))});
    return sections;
}

TEST(DocumentPages, WalkingForwardAndBackAgreesWithTheCounts) {
    QRandomGenerator random(27);
    for (int round = 0; round < 40; ++round) {
        const QList<SectionSource> sections = randomDocument(random);
        DocumentPages pages(sections, PageFormat{});
        const int total = pages.pageCount();
        std::atomic<bool> never{false};
        const QList<int> counted = countPages(sections, PageFormat{}, never);
        int sum = 0;
        for (int c : counted)
            sum += c;
        EXPECT_EQ(sum, total);
        // Forward from the first page, every page once, numbered in order.
        PagePlace place = pages.first();
        int n = 0;
        for (std::optional<PagePlace> p = place; p && n < total; p = pages.next(*p)) {
            EXPECT_EQ(pages.numberOf(*p), n);
            EXPECT_EQ(pages.pageAt(*p), pages.page(n)) << "round " << round << " page " << n;
            place = *p;
            ++n;
        }
        EXPECT_EQ(n, total);
        EXPECT_EQ(place, pages.last());
        // And back again.
        for (std::optional<PagePlace> p = place; p; p = pages.previous(*p))
            --n;
        EXPECT_EQ(n, 0);
    }
}

TEST(DocumentPages, NumbersWaitForTheCountsBeforeThemAndTakeOnlyWhatIsUnknown) {
    const QList<SectionSource> sections = {{paragraphs(45, 20), {}},  // 3 pages of 20 lines
                                           {paragraphs(10, 20), {}},  // 1
                                           {paragraphs(21, 20), {}}}; // 2
    DocumentPages pages(sections, PageFormat{});
    const PagePlace third{2, 1};
    EXPECT_EQ(pages.pageAt(third).lines.size(), 1);
    EXPECT_FALSE(pages.numberOf(third)) << "the first sections are not counted yet";
    EXPECT_FALSE(pages.knownPageCount());
    pages.adoptCounts({3, 99}); // the second count is stale: it is taken, being unknown
    EXPECT_EQ(pages.numberOf({1, 0}), 3);
    pages.setSection(1, {paragraphs(10, 20), {}});
    EXPECT_EQ(pages.pagesOf(1), 1);
    pages.adoptCounts({5, 7, 9}); // known counts stay
    EXPECT_EQ(pages.numberOf(third), 3 + 1 + 1);
    EXPECT_EQ(pages.knownPageCount(), 6);
}

TEST(DocumentPages, ThePageOfAnOffsetHoldsThatCharacter) {
    const QByteArray text = paragraphs(100, 30);
    DocumentPages pages({{"x", {}}, {text, {}}}, PageFormat{});
    QRandomGenerator random(3);
    for (int i = 0; i < 50; ++i) {
        // An offset at the start of a character: each line is 30 kanji and CR LF.
        const int line = random.bounded(100);
        const int column = random.bounded(30);
        const quint32 offset = quint32(line * 62 + column * 2);
        const PagePlace place = pages.placeOf(1, offset);
        EXPECT_EQ(place.section, 1);
        bool found = false;
        for (const Line& l : pages.pageAt(place).lines)
            for (const Cell& c : l.cells)
                found = found || c.offset == offset;
        EXPECT_TRUE(found) << "offset " << offset;
    }
}

TEST(DocumentPages, PagesByNumberFollowTheSectionsAndEmptyOnesTakeNoPage) {
    const QList<SectionSource> sections{{{}, sjis(u"空"_qs)},
                                        {paragraphs(45, 1), sjis(u"一"_qs)},
                                        {sjis(u"［＃改ページ］"_qs), sjis(u"改"_qs)},
                                        {paragraphs(21, 1), sjis(u"二"_qs)}};
    DocumentPages pages(sections, PageFormat::genkou());
    EXPECT_EQ(pages.first(), (PagePlace{1, 0}));
    EXPECT_EQ(pages.pageCount(), 5);
    SectionLayout fourth(paragraphs(21, 1), {}, PageFormat::genkou());
    EXPECT_EQ(pages.page(4), fourth.page(1));
    EXPECT_EQ(pages.page(3), fourth.page(0));
    EXPECT_TRUE(pages.page(5).lines.isEmpty());
    EXPECT_TRUE(pages.page(-1).lines.isEmpty());
    EXPECT_EQ(pages.placeOf(1, 4 * 40), (PagePlace{1, 2}));
    EXPECT_EQ(pages.placeOf(3, 4 * 20), (PagePlace{3, 1}));
    EXPECT_EQ(pages.placeOf(9, 0), (PagePlace{3, 0})) << "past the last section: the last";
}

// Edits in random places of a section with breaks, marks and a name line: after
// setSectionText (only what follows the edit's line laid out again), every page and the
// count are those of the new text laid out afresh.
TEST(DocumentPages, AChangedRangeOfParagraphsGivesThePagesOfTheNewText) {
    QRandomGenerator random(39);
    const QList<QByteArray> pieces{sjis(u"猫"_qs).repeated(30),
                                   "\r\n",
                                   sjis(u"［＃改ページ］"_qs),
                                   sjis(u"漢字《かんじ》"_qs),
                                   sjis(u"《《点》》"_qs),
                                   "\r",
                                   "\n",
                                   sjis(u"「あ」、。"_qs)};
    const auto randomText = [&](int count) {
        QByteArray text;
        for (int i = 0; i < count; ++i)
            text += pieces[random.bounded(int(pieces.size()))];
        return text;
    };
    for (int round = 0; round < 300; ++round) {
        PageFormat format = PageFormat::genkou();
        format.sectionNameFirst = round % 2 == 1;
        format.charsPerLine = 10 + random.bounded(3);
        format.linesPerPage = 10 + random.bounded(3);
        QByteArray text = randomText(random.bounded(1, 120));
        DocumentPages pages({{"x", {}}, {text, sjis(u"名"_qs).repeated(25)}}, format);
        for (int edit = 0; edit < 3; ++edit) {
            pages.pageCount(); // laid out before the edit, so that some pages are kept
            const int from = random.bounded(int(text.size()) + 1);
            const int removed = random.bounded(int(text.size()) - from + 1);
            text = text.left(from) + randomText(random.bounded(3)) + text.mid(from + removed);
            pages.setSectionText(1, text, quint32(from));
            DocumentPages fresh({{"x", {}}, {text, sjis(u"名"_qs).repeated(25)}}, format);
            ASSERT_EQ(pages.pagesOf(1), fresh.pagesOf(1)) << "round " << round << " edit " << edit;
            for (int n = 0; n < fresh.pagesOf(1); ++n)
                ASSERT_EQ(pages.pageAt({1, n}), fresh.pageAt({1, n}))
                    << "round " << round << " edit " << edit << " page " << n;
            const quint32 offset = quint32(random.bounded(int(text.size()) + 1));
            ASSERT_EQ(pages.placeOf(1, offset), fresh.placeOf(1, offset)) << "offset " << offset;
        }
    }
}

TEST(DocumentPages, AnEmptyDocumentStillHasAPageToShow) {
    for (const QList<SectionSource>& sections :
         {QList<SectionSource>{}, QList<SectionSource>{{{}, sjis(u"章"_qs)}, {}, {}}}) {
        DocumentPages pages(sections, PageFormat{});
        EXPECT_EQ(pages.pageCount(), 1);
        EXPECT_TRUE(pages.page(0).lines.isEmpty());
        EXPECT_EQ(pages.placeOf(1, 0), PagePlace{});
        EXPECT_FALSE(pages.next({}));
        EXPECT_FALSE(pages.previous({}));
        EXPECT_EQ(pages.numberOf(pages.last()), 0);
    }
}

TEST(DocumentPages, SectionsThatShowNothingTakeNoPageAsInTheCount) {
    const QList<SectionSource> sections = {
        {{}, {}}, {paragraphs(30, 20), {}}, {{}, {}}, {paragraphs(5, 20), {}}, {{}, {}}};
    DocumentPages pages(sections, PageFormat{});
    int counted = 0;
    for (const SectionSource& s : sections)
        counted += count_pages(s.text, s.name, PageFormat{});
    EXPECT_EQ(pages.pageCount(), counted);
    EXPECT_EQ(pages.first(), (PagePlace{1, 0}));
    EXPECT_EQ(pages.next({1, 1}), (PagePlace{3, 0}));
    EXPECT_EQ(pages.previous({3, 0}), (PagePlace{1, 1}));
    EXPECT_EQ(pages.last(), (PagePlace{3, 0}));
    // The caret in an empty section: the page where the document goes on.
    EXPECT_EQ(pages.placeOf(2, 0), (PagePlace{3, 0}));
    EXPECT_EQ(pages.placeOf(4, 0), (PagePlace{3, 0}));
}

} // namespace
} // namespace pote::vertical
