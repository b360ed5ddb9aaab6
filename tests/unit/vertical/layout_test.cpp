#include "vertical/layout.h"

#include "core/cp932.h"
#include "support/test_files.h"
#include "vertical/half_width_runs.h"
#include "vertical/line_rules.h"

#include <QHash>
#include <QRandomGenerator>
#include <QSet>

#include <gtest/gtest.h>

namespace pote::vertical {
namespace {

using test::sjis;

// A cell as the reader sees it: [12] set 縦中横, (ab) set sideways.
QString cellText(const Cell& c) {
    QString s(QChar(c.ch[0]));
    if (c.ch[1]) s += QChar(c.ch[1]);
    switch (c.kind) {
    case CellKind::Upright:
        return s;
    case CellKind::TateChuYoko:
        return '[' + s + ']';
    case CellKind::Sideways:
        return '(' + s + ')';
    }
    return s;
}

// Lines joined by |, pages by " ‖ "; a run of あ written あ×N.
QString pagesText(SectionLayout& layout) {
    QStringList pages;
    for (int n = 0; n < layout.pageCount(); ++n) {
        QStringList lines;
        for (const Line& line : layout.page(n).lines) {
            QString s;
            int run = 0;
            const auto flush = [&] {
                if (run) s += run == 1 ? QStringLiteral("あ") : QStringLiteral("あ×%1").arg(run);
                run = 0;
            };
            for (qsizetype k = 0; k < line.cells.size(); ++k) {
                const Cell& c = line.cells[k];
                if (c.kind == CellKind::Upright && c.ch[0] == u'あ') {
                    ++run;
                    continue;
                }
                flush();
                // Sideways cells in a row are one run, set continuously.
                if (c.kind == CellKind::Sideways && k > 0 &&
                    line.cells[k - 1].kind == CellKind::Sideways) {
                    s.insert(s.size() - 1, cellText(c).mid(1, cellText(c).size() - 2));
                    continue;
                }
                s += cellText(c);
            }
            flush();
            lines.append(s);
        }
        pages.append(lines.join('|'));
    }
    return pages.join(QStringLiteral(" ‖ "));
}

QByteArray fill(int n) {
    return sjis("あ").repeated(n);
}

struct Row {
    const char* name;
    QByteArray text;
    const char* expected;
};

void PrintTo(const Row& row, std::ostream* os) {
    *os << row.name;
}

class LineRules : public testing::TestWithParam<Row> {};

TEST_P(LineRules, OnManuscriptPaper) {
    SectionLayout layout(GetParam().text, {}, PageFormat::genkou());
    EXPECT_EQ(pagesText(layout), QString::fromUtf8(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, LineRules,
    testing::Values(
        Row{"CommaAtCell21Hangs", fill(20) + sjis("、あ"), "あ×20、|あ"},
        Row{"CommaBeforeCloseCannotHangSoBothPushOut", fill(20) + sjis("、」"), "あ×19|あ、」"},
        Row{"OpenAtTheLastCellMovesDown", fill(19) + sjis("「あ」"), "あ×19|「あ」"},
        Row{"CloseAtCell21PushesOutItsCharacter", fill(20) + sjis("」"), "あ×19|あ」"},
        Row{"SmallKanaPushesOut", fill(20) + sjis("ょう"), "あ×19|あょう"},
        Row{"PushOutSkipsAnOpenBracket", fill(19) + sjis("「」"), "あ×19|「」"},
        Row{"DashAtTheLineEndMovesWhole", fill(19) + sjis("――あ"), "あ×19|――あ"},
        Row{"FourDashesSplitBetweenPairs", fill(18) + sjis("――――"), "あ×18――|――"},
        Row{"RubyOverTheKanjiRunStaysWhole", fill(19) + sjis("漢字《かんじ》"), "あ×19|漢字"},
        Row{"TwoDigitsTateChuYoko", sjis("12月"), "[12]月"},
        Row{"OneDigitTateChuYoko", sjis("第3章"), "第[3]章"},
        Row{"ThreeDigitsSideways", sjis("約120枚"), "約(120)枚"},
        Row{"RunsOfSignsAreOneRun", sjis("1/125秒、3.5倍、10%、ISO 400"),
            "(1/125)秒、(3.5)倍、(10%)、(ISO 400)"},
        Row{"RunTakesItsCellsRoundedUp", fill(17) + "1/125", "あ×17(1/125)"},
        Row{"RunMovesWholeToTheNextLine", fill(18) + "1/125", "あ×18|(1/125)"},
        Row{"RunLongerThanALineIsBroken", fill(19) + QByteArray("a").repeated(44),
            "あ×19(aa)|(aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa)|(aa)"},
        Row{"ExclamationPairs", sjis("!?と!!"), "[!?]と[!!]"},
        Row{"QuestionFirstPairsSideways", sjis("??と?!"), "(??)と(?!)"},
        Row{"LettersWithASpaceSideways", sjis("USB ok"), "(USB ok)"},
        Row{"DigitsWithUnitSideways", sjis("5kg"), "(5kg)"},
        Row{"LoneSpaceIsACell", sjis("a あ"), "(a) あ"},
        Row{"HalfWidthKanaUpright", sjis("ｱｲ"), "ｱｲ"},
        Row{"VoicedHalfWidthKanaOneCell", fill(18) + sjis("ｶﾞﾊﾟﾞ"), "あ×18[ｶﾞ]|[ﾊﾟ]ﾞ"},
        Row{"TateChuYokoIsOneCell", fill(19) + sjis("12"), "あ×19[12]"},
        Row{"EmptyLineTakesALine", sjis("あ\r\n\r\nい"), "あ||い"},
        Row{"LinesAreParagraphs", sjis("あ\rい\nう\r\n"), "あ|い|う"},
        Row{"PageBreakInALine", sjis("あ［＃改ページ］い"), "あ ‖ い"},
        Row{"PageBreakFirstMakesNoEmptyPage", sjis("［＃改ページ］あ"), "あ"},
        Row{"PageBreakLastMakesNoEmptyPage", sjis("あ\r\n［＃改ページ］\r\n"), "あ"},
        Row{"PageBreakThenEmptyLine", sjis("あ\r\n［＃改ページ］\r\n\r\nい"), "あ ‖ |い"},
        Row{"TwentyOneLinesTwoPages", sjis("あ\r\n").repeated(21),
            "あ|あ|あ|あ|あ|あ|あ|あ|あ|あ|"
            "あ|あ|あ|あ|あ|あ|あ|あ|あ|あ ‖ あ"},
        Row{"NoAllowedEndFillsTheLine", sjis("」").repeated(25),
            "」」」」」」」」」」」」」」」」」」」」|」」」」」"},
        Row{"TabIsACell", "a\tb", "(a)\t(b)"}, Row{"EmptyTextOneEmptyPage", "", ""}),
    [](const testing::TestParamInfo<Row>& row) { return row.param.name; });

TEST(Layout, FourHundredFillOnePageAndTheNextStartsASecondUnlessItHangs) {
    const PageFormat genkou = PageFormat::genkou();
    EXPECT_EQ(count_pages(fill(400), {}, genkou), 1);
    EXPECT_EQ(count_pages(fill(401), {}, genkou), 2);
    EXPECT_EQ(count_pages(fill(400) + sjis("、"), {}, genkou), 1);
    EXPECT_EQ(count_pages(fill(400) + sjis("」"), {}, genkou), 2);
    SectionLayout hanging(fill(400) + sjis("。"), {}, genkou);
    ASSERT_EQ(hanging.pageCount(), 1);
    EXPECT_EQ(hanging.page(0).lines.last().cells.size(), 21);
}

TEST(Layout, EmptySectionsShowAnEmptyPageAndCountNone) {
    for (const QByteArray& text :
         {QByteArray(), sjis("［＃改ページ］"), sjis("［＃改ページ］\r\n")}) {
        SectionLayout layout(text, sjis("章"), PageFormat::genkou());
        EXPECT_EQ(layout.pageCount(), 1);
        EXPECT_EQ(layout.lineCount(), 0);
        EXPECT_TRUE(layout.page(0).lines.isEmpty());
        EXPECT_EQ(count_pages(text, sjis("章"), PageFormat::genkou()), 0);
    }
    EXPECT_EQ(count_pages(sjis("\r\n"), {}, PageFormat::genkou()), 1);
}

TEST(Layout, OptionsPutTheNameFirstAndIndentParagraphs) {
    PageFormat format = PageFormat::fromName(u"10x10").value();
    format.sectionNameFirst = true;
    format.indentParagraphs = true;
    SectionLayout layout(sjis("あ\r\n「い」\r\n　う\r\n\r\n（え）"), sjis("序章《じょしょう》"),
                         format);
    // The name as typed, no markup read; no indent for what opens with a space or a bracket.
    EXPECT_EQ(pagesText(layout), QStringLiteral("序章《じょしょう》|　あ|「い」|　う||（え）"));
    EXPECT_EQ(layout.page(0).lines[0].cells[0].offset, 0u);
    EXPECT_EQ(count_pages(sjis("あ"), sjis("序章"), format), 1);
    EXPECT_EQ(count_pages({}, sjis("序章"), format), 1);
    // A name that fills more than a page.
    format.linesPerPage = 10;
    SectionLayout longName(sjis("あ"), fill(105), format);
    EXPECT_EQ(longName.pageCount(), 2);
    EXPECT_EQ(pagesText(longName).section(QStringLiteral(" ‖ "), 1), QStringLiteral("あ×5|　あ"));
}

TEST(Layout, MarksOverCells) {
    SectionLayout layout(sjis("吾輩は猫《ねこ》で《《強調》》する\r\n猫《ねこねこねこ》"), {},
                         PageFormat::genkou());
    const Page page = layout.page(0);
    ASSERT_EQ(page.ruby.size(), 2);
    // 中付き: one ruby character, half a cell, centred on the base's one cell.
    EXPECT_EQ(page.ruby[0], (RubyMark{0, 3, 4, QStringLiteral("ねこ"), 3.0, 1.0}));
    // Six ruby characters over one cell reach over its neighbours; at the top of the line they
    // start at the top instead of above it.
    EXPECT_EQ(page.ruby[1], (RubyMark{1, 0, 1, QStringLiteral("ねこねこねこ"), 0.0, 3.0}));
    ASSERT_EQ(page.emphasis.size(), 1);
    EXPECT_EQ(page.emphasis[0], (EmphasisMark{0, 5, 7}));

    // A base longer than a line is split, its reading shared out.
    const PageFormat tenByTen = PageFormat::fromName(u"10x10").value();
    SectionLayout split(sjis("｜") + sjis("漢").repeated(12) + sjis("《") +
                            sjis("か").repeated(24) + sjis("》"),
                        {}, tenByTen);
    const Page splitPage = split.page(0);
    ASSERT_EQ(splitPage.ruby.size(), 2);
    EXPECT_EQ(splitPage.ruby[0].reading.size(), 20);
    EXPECT_EQ(splitPage.ruby[0].lastCell, 10);
    EXPECT_EQ(splitPage.ruby[1].reading.size(), 4);
    EXPECT_EQ(splitPage.ruby[1].line, 1);
    // At the foot of the line a long reading is moved up to end at the line's end.
    EXPECT_EQ(placeRuby(9, 10, 6, 10).top, 7.0);
}

TEST(Layout, PageOfOffset) {
    // Page 1: 20 lines of one character (bytes 0-79); page 2 from byte 80.
    SectionLayout layout(sjis("あ\r\n").repeated(25), {}, PageFormat::genkou());
    EXPECT_EQ(layout.pageOfOffset(0), 0);
    EXPECT_EQ(layout.pageOfOffset(79), 0);
    EXPECT_EQ(layout.pageOfOffset(80), 1);
    EXPECT_EQ(layout.pageOfOffset(100000), 1);
}

TEST(Layout, AFormatSetByHandToNothingStillLaysOut) {
    PageFormat format;
    format.charsPerLine = 0;
    format.linesPerPage = -3;
    SectionLayout layout(sjis("あい、"), {}, format);
    EXPECT_EQ(layout.pageCount(), 2);
    EXPECT_EQ(layout.format().charsPerLine, 1);
    EXPECT_EQ(count_pages(sjis("あい、"), {}, format), 2);
}

TEST(PageFormatNames, ReadAndWritten) {
    EXPECT_EQ(PageFormat::fromName(u"genkou"), PageFormat::genkou());
    EXPECT_EQ(PageFormat::fromName(u"a4-40x30"), PageFormat::contest());
    const std::optional<PageFormat> custom = PageFormat::fromName(u"30x15");
    ASSERT_TRUE(custom);
    EXPECT_EQ(custom->charsPerLine, 30);
    EXPECT_EQ(custom->linesPerPage, 15);
    EXPECT_TRUE(custom->grid);
    EXPECT_EQ(custom->name(), QStringLiteral("30x15"));
    EXPECT_EQ(PageFormat::fromName(u"20x20")->name(), QStringLiteral("genkou"));
    EXPECT_EQ(PageFormat::contest().name(), QStringLiteral("a4-40x30"));
    for (const char16_t* bad : {u"", u"x", u"9x20", u"20x61", u"+20x20", u"20x 20", u"20X20",
                                u"020x20", u"20x20x20", u"A4", u"１０x１０"})
        EXPECT_FALSE(PageFormat::fromName(bad)) << QString::fromUtf16(bad).toStdString();
}

// Random prose with every kind of character the rules treat: brackets, small kana, marks that
// hang, dashes, half-width runs, markup, empty lines and page breaks.
QByteArray randomText(QRandomGenerator& random, bool withMarkup) {
    static const QList<QByteArray> plain = {
        sjis("あ"), sjis("猫"), sjis("、"), sjis("。"), sjis("「"),
        sjis("」"), sjis("ょ"), sjis("ー"), sjis("――"), sjis("……"),
        sjis("？"), sjis("（"), "12",       "1",        "123",
        "ab c",     "!?",       sjis("ｱ"),  sjis("　"), sjis("\r\n"),
        "\r\n\r\n", "\t",       sjis("―"),  sjis("』"), QByteArray(1, '\0'),
        "\x80",     "\xFF",     "\r"};
    static const QList<QByteArray> markup = {sjis("漢字《かんじ》"),
                                             sjis("《《強調》》"),
                                             sjis("［＃改ページ］"),
                                             sjis("｜ab《えーびー》"),
                                             sjis("猫［＃「猫」に傍点］"),
                                             sjis("《"),
                                             "\x81" /* a lead byte alone */};
    QByteArray text;
    const int pieces = random.bounded(400);
    for (int k = 0; k < pieces; ++k) {
        if (withMarkup && random.bounded(8) == 0)
            text += markup[random.bounded(markup.size())];
        else
            text += plain[random.bounded(plain.size())].repeated(1 + random.bounded(6));
    }
    return text;
}

PageFormat randomFormat(QRandomGenerator& random) {
    PageFormat f = PageFormat::fromName(u"10x10").value();
    f.charsPerLine = 10 + random.bounded(12);
    f.linesPerPage = 10 + random.bounded(5);
    f.indentParagraphs = random.bounded(2);
    return f;
}

// Every page's lines one after another, with marks moved to the line numbers of the whole.
Page allLines(SectionLayout& layout) {
    Page all;
    for (int n = 0; n < layout.pageCount(); ++n) {
        const Page page = layout.page(n);
        const int base = int(all.lines.size());
        all.lines += page.lines;
        for (RubyMark r : page.ruby) {
            r.line += base;
            all.ruby.append(r);
        }
        for (EmphasisMark e : page.emphasis) {
            e.line += base;
            all.emphasis.append(e);
        }
    }
    return all;
}

TEST(LayoutProperties, EveryCharacterOnceInOrder) {
    QRandomGenerator random(2701);
    for (int round = 0; round < 300; ++round) {
        const QByteArray text = randomText(random, true);
        PageFormat format = randomFormat(random);
        format.indentParagraphs = false;
        QString expected;
        QList<quint32> offsets;
        forEachParagraph(text, [&](const Paragraph& p) {
            for (const TextChar& c : p.chars) {
                expected += QChar(c.ch);
                offsets.append(c.offset);
            }
            return true;
        });
        SectionLayout layout(text, {}, format);
        QString shown;
        QList<quint32> shownOffsets;
        for (const Line& line : allLines(layout).lines) {
            ASSERT_LE(line.cells.size(), format.charsPerLine + 1);
            for (const Cell& c : line.cells) {
                shown += QChar(c.ch[0]);
                shownOffsets.append(c.offset);
                if (c.ch[1]) shown += QChar(c.ch[1]);
            }
        }
        ASSERT_EQ(shown, expected) << text.toHex().toStdString();
        for (quint32 offset : shownOffsets)
            ASSERT_TRUE(offsets.contains(offset));
    }
}

TEST(Layout, TenThousandCharacterLinesOfAnythingLayOut) {
    QRandomGenerator random(2704);
    for (int round = 0; round < 20; ++round) {
        QByteArray line;
        while (line.size() < 20000)
            line += randomText(random, true).replace('\r', ' ').replace('\n', ' ');
        SectionLayout layout(line, {}, PageFormat::genkou());
        const int pages = layout.pageCount();
        EXPECT_GT(pages, 10);
        EXPECT_EQ(layout.page(pages - 1), layout.page(pages - 1));
        EXPECT_EQ(layout.pageOfOffset(quint32(line.size() - 1)), pages - 1);
    }
}

TEST(LayoutProperties, LazyPagesAreTheWholeLayoutCutIntoPages) {
    QRandomGenerator random(2702);
    for (int round = 0; round < 300; ++round) {
        const QByteArray text = randomText(random, true);
        const PageFormat format = randomFormat(random);
        PageFormat tall = format;
        tall.linesPerPage = 1 << 30; // one page until a page break
        SectionLayout lazy(text, {}, format);
        SectionLayout whole(text, {}, tall);
        ASSERT_EQ(allLines(lazy), allLines(whole)) << text.toHex().toStdString();
        // Asked for out of order, from a fresh layout, each page is the same.
        SectionLayout fresh(text, {}, format);
        const int pages = lazy.pageCount();
        for (int n = pages - 1; n >= 0; n -= 2)
            ASSERT_EQ(fresh.page(n), lazy.page(n));
        const PageTally tally = tally_pages(text, {}, format);
        ASSERT_EQ(tally.lines, lazy.lineCount());
        ASSERT_EQ(tally.pages, lazy.lineCount() == 0 ? 0 : pages);
        // Every page but the last is full, unless a page break ended it.
        for (int n = 0; n + 1 < pages; ++n)
            if (lazy.page(n).lines.size() < format.linesPerPage) {
                ASSERT_TRUE(text.contains(sjis("［＃改ページ］")));
            }
    }
}

TEST(LayoutProperties, PageOfOffsetIsThePageThatShowsTheCharacter) {
    // With the name first (its characters count from the name's own start) and added indents;
    // the first round's name is longer than a page.
    QRandomGenerator random(2705);
    for (int round = 0; round < 300; ++round) {
        const QByteArray text = randomText(random, true);
        PageFormat format = randomFormat(random);
        format.sectionNameFirst = true;
        const int nameLength = round == 0 ? 300 : random.bounded(40);
        SectionLayout layout(text, sjis("ゑ").repeated(nameLength), format);
        QHash<quint32, int> firstPage;
        for (int n = 0; n < layout.pageCount(); ++n)
            for (const Line& line : layout.page(n).lines)
                for (const Cell& c : line.cells)
                    if (c.ch[0] != u'ゑ' && !firstPage.contains(c.offset))
                        firstPage.insert(c.offset, n);
        if (round == 0) ASSERT_GT(layout.pageCount(), 2);
        for (auto at = firstPage.cbegin(); at != firstPage.cend(); ++at)
            ASSERT_EQ(layout.pageOfOffset(at.key()), at.value())
                << "offset " << at.key() << " of " << text.toHex().toStdString();
    }
}

// Whether the dash or leader at `offset` is the second of a pair: an odd number of the same
// character right before it.
bool secondOfPair(const QByteArray& text, quint32 offset) {
    const QByteArray mark = text.sliced(offset, 2);
    int before = 0;
    for (qint64 at = qint64(offset) - 2; at >= 0 && text.sliced(at, 2) == mark; at -= 2)
        ++before;
    return before % 2 == 1;
}

TEST(LayoutProperties, NoLineBeginsWhereTheRulesForbidUnlessNoEndWasAllowed) {
    QRandomGenerator random(2703);
    for (int round = 0; round < 400; ++round) {
        const QByteArray text = randomText(random, false);
        const PageFormat format = randomFormat(random);
        SectionLayout layout(text, {}, format);
        const QList<Line> lines = allLines(layout).lines;
        const auto noStart = [](const Cell& c) { return charRules(c.ch[0]) & CharRule::NoStart; };
        const auto noEnd = [](const Cell& c) {
            return charRules(c.ch[c.ch[1] ? 1 : 0]) & CharRule::NoEnd;
        };
        const auto secondDash = [&](const Cell& c) {
            return (charRules(c.ch[0]) & CharRule::Paired) && secondOfPair(text, c.offset);
        };
        // A sideways run that fits on a line is never broken: the offsets of its later cells.
        QSet<quint32> insideWholeRun;
        forEachParagraph(text, [&](const Paragraph& p) {
            for (qsizetype i = 0; i < p.chars.size();) {
                if (!isHalfWidthGraphic(p.chars[i].ch)) {
                    ++i;
                    continue;
                }
                const qsizetype end = halfWidthRunEnd(p.chars, i, {});
                if (!standsUpright(p.chars, i, end) && (end - i + 1) / 2 <= format.charsPerLine)
                    for (qsizetype k = i + 2; k < end; k += 2)
                        insideWholeRun.insert(p.chars[k].offset);
                i = end;
            }
            return true;
        });
        const auto mayBegin = [&](const QList<Cell>& before, const Cell& c) {
            // An added indent has the offset of the character it stands before.
            const bool afterIndent = before.last().offset == c.offset;
            return !noStart(c) && !noEnd(before.last()) && !secondDash(c) && !afterIndent &&
                   !(c.kind == CellKind::Sideways && insideWholeRun.contains(c.offset));
        };
        for (qsizetype k = 1; k < lines.size(); ++k) {
            const QList<Cell>& before = lines[k - 1].cells;
            const QList<Cell>& line = lines[k].cells;
            if (line.isEmpty() || before.isEmpty()) continue;
            // Only lines of one paragraph: no line break between them.
            const QByteArray gap =
                text.sliced(before.last().offset, line.first().offset - before.last().offset);
            if (gap.contains('\n') || gap.contains('\r')) continue;
            if (mayBegin(before, line.first())) continue;
            // Allowed only when the line before is full and held no allowed place to end.
            ASSERT_EQ(before.size(), format.charsPerLine) << text.toHex().toStdString();
            for (qsizetype c = 1; c < before.size(); ++c)
                ASSERT_FALSE(mayBegin(before.first(c), before[c]))
                    << text.toHex().toStdString() << " line " << k;
        }
    }
}

} // namespace
} // namespace pote::vertical
