#include "vertical/document_layout.h"

#include "support/test_files.h"

#include <QRandomGenerator>

#include <gtest/gtest.h>

namespace pote::vertical {
namespace {

using test::sjis;
using Place = DocumentLayout::Place;

// Lines of one character: n of them fill ceil(n / 20) manuscript pages.
QByteArray linesOf(int n) {
    return sjis("猫\r\n").repeated(n);
}

TEST(DocumentLayout, SectionsFollowEachOtherAndEmptyOnesTakeNoPage) {
    const QList<SectionSource> sources{{{}, sjis("空")},
                                       {linesOf(45), sjis("一")},
                                       {sjis("［＃改ページ］"), sjis("改")},
                                       {linesOf(21), sjis("二")}};
    DocumentLayout document(sources, PageFormat::genkou());
    // Finding the first page counts the sections up to the first one that shows something.
    EXPECT_EQ(document.placeOfPage(0), (Place{1, 0}));
    EXPECT_EQ(document.countedSections(), 2);
    EXPECT_EQ(document.pageCount(), 5);
    EXPECT_EQ(document.placeOfPage(2), (Place{1, 2}));
    EXPECT_EQ(document.placeOfPage(3), (Place{3, 0}));
    EXPECT_EQ(document.placeOfPage(4), (Place{3, 1}));
    EXPECT_EQ(document.placeOfPage(99), (Place{3, 1}));
    SectionLayout second(linesOf(21), {}, PageFormat::genkou());
    EXPECT_EQ(document.page(4), second.page(1));
    EXPECT_TRUE(document.page(5).lines.isEmpty());
    EXPECT_TRUE(document.page(-1).lines.isEmpty());
    EXPECT_EQ(document.firstPageOfSection(0), 0);
    EXPECT_EQ(document.firstPageOfSection(1), 0);
    EXPECT_EQ(document.firstPageOfSection(2), 2); // shows nothing: the page before
    EXPECT_EQ(document.firstPageOfSection(3), 3);
    EXPECT_EQ(document.pageOfOffset(1, 4 * 40), 2);
    EXPECT_EQ(document.pageOfOffset(3, 4 * 20), 4);
    EXPECT_EQ(document.pageOfOffset(2, 0), 2);
    EXPECT_EQ(document.pageOfOffset(9, 0), 3);
}

TEST(DocumentLayout, ADocumentThatShowsNothingHasOneEmptyPage) {
    for (const QList<SectionSource>& sources :
         {QList<SectionSource>{}, QList<SectionSource>{{{}, sjis("章")}, {{}, {}}}}) {
        DocumentLayout document(sources, PageFormat::genkou());
        EXPECT_EQ(document.pageCount(), 1);
        EXPECT_EQ(document.placeOfPage(0), (Place{0, 0}));
        EXPECT_TRUE(document.page(0).lines.isEmpty());
        EXPECT_EQ(document.pageOfOffset(0, 0), 0);
        EXPECT_EQ(document.firstPageOfSection(1), 0);
    }
}

TEST(DocumentLayout, CountingBitByBitGivesTheSamePages) {
    QRandomGenerator random(2705);
    for (int round = 0; round < 30; ++round) {
        QList<SectionSource> sources;
        int expected = 0;
        const int sections = 1 + random.bounded(12);
        for (int s = 0; s < sections; ++s) {
            const QByteArray text =
                random.bounded(3) == 0 ? QByteArray() : linesOf(random.bounded(70));
            sources.append({text, sjis("名")});
            expected += count_pages(text, sjis("名"), PageFormat::genkou());
        }
        DocumentLayout stepwise(sources, PageFormat::genkou());
        while (stepwise.countNextSection()) {
        }
        DocumentLayout whole(sources, PageFormat::genkou());
        ASSERT_EQ(whole.pageCount(), std::max(1, expected));
        ASSERT_EQ(stepwise.pageCount(), whole.pageCount());
        for (int page = 0; page < whole.pageCount(); ++page) {
            const Place place = whole.placeOfPage(page);
            ASSERT_EQ(stepwise.page(page), whole.section(place.section).page(place.page));
            ASSERT_GE(whole.pageOfOffset(place.section, 0),
                      whole.firstPageOfSection(place.section));
        }
    }
}

} // namespace
} // namespace pote::vertical
