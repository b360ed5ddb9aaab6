#include "vertical/notation.h"

#include "core/cp932.h"
#include "support/test_files.h"

#include <QRandomGenerator>

#include <gtest/gtest.h>

#include <cstring>

namespace pote::vertical {
namespace {

using test::sjis;

// A paragraph written out: {base:reading} for ruby, <...> for dots, # for a page break before
// it, " / " between paragraphs.
QString written(const QList<Paragraph>& paragraphs) {
    QStringList out;
    for (const Paragraph& p : paragraphs) {
        QString s = p.pageBreakBefore ? QStringLiteral("#") : QString();
        for (qsizetype i = 0; i <= p.chars.size(); ++i) {
            for (const RubySpan& r : p.ruby)
                if (r.last == i) s += QLatin1Char(':') + r.reading + QLatin1Char('}');
            for (const EmphasisSpan& e : p.emphasis)
                if (e.last == i) s += QLatin1Char('>');
            for (const EmphasisSpan& e : p.emphasis)
                if (e.first == i) s += QLatin1Char('<');
            for (const RubySpan& r : p.ruby)
                if (r.first == i) s += QLatin1Char('{');
            if (i < p.chars.size()) s += QChar(p.chars[i].ch);
        }
        out.append(s);
    }
    return out.join(QStringLiteral(" / "));
}

struct Row {
    const char* name;
    const char* line;
    const char* expected;
};

void PrintTo(const Row& row, std::ostream* os) {
    *os << row.name;
}

class Notation : public testing::TestWithParam<Row> {};

TEST_P(Notation, ReadsTheMarkupAndLeavesTheRestAsTyped) {
    EXPECT_EQ(written(parseLine(sjis(GetParam().line), 0)), QString::fromUtf8(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, Notation,
    testing::Values(
        Row{"RubyWithBar", "｜親文字《おやもじ》です", "{親文字:おやもじ}です"},
        Row{"RubyWithHalfWidthBar", "|abc《えーびーしー》", "{abc:えーびーしー}"},
        Row{"RubyOverTheKanjiRun", "吾輩は猫《ねこ》である", "吾輩は{猫:ねこ}である"},
        Row{"KanjiRunOfThree", "東京都《とうきょうと》へ", "{東京都:とうきょうと}へ"},
        Row{"IterationMarkIsKanji", "佐々木《ささき》", "{佐々木:ささき}"},
        Row{"SmallKeIsKanji", "一ヶ月《いっかげつ》", "{一ヶ月:いっかげつ}"},
        Row{"BarMarksWhereTheBaseStarts", "東｜京都《きょうと》", "東{京都:きょうと}"},
        Row{"RunStopsAtEarlierRuby", "｜東京《とうきょう》都《と》", "{東京:とうきょう}{都:と}"},
        Row{"RunStopsAtEarlierDots", "《《猫》》犬《いぬ》", "<猫>{犬:いぬ}"},
        Row{"DoubleBracketDots", "《《強調》》する", "<強調>する"},
        Row{"TripleBracketKeepsTheOuter", "《《《強調》》》", "《<強調>》"},
        Row{"DotsByNote", "これは強調です［＃「強調」に傍点］", "これは<強調>です"},
        Row{"NoteTakesTheNearestOccurrence", "猫と猫［＃「猫」に傍点］", "猫と<猫>"},
        Row{"SecondNoteTakesTheOneBefore", "猫と猫［＃「猫」に傍点］［＃「猫」に傍点］",
            "<猫>と<猫>"},
        Row{"NoteAfterLaterDotsKeepsOrder", "猫《《犬》》［＃「猫」に傍点］", "<猫><犬>"},
        Row{"NoteRightAfterDotsTakesTheTextBesideThem", "猫《《犬》》猫［＃「猫」に傍点］",
            "猫<犬><猫>"},
        Row{"PageBreakSplitsTheLine", "前［＃改ページ］後", "前 / #後"},
        Row{"LinePageBreakAlone", "［＃改ページ］", "#"},
        Row{"PageBreakAtTheEnd", "前［＃改ページ］", "前 / #"},
        Row{"PageBreakAtTheStart", "［＃改ページ］後", "#後"},
        Row{"TwoPageBreaksAreOne", "［＃改ページ］［＃改ページ］後", "#後"},
        Row{"DotsStayInTheirParagraph", "猫［＃改ページ］［＃「猫」に傍点］",
            "猫 / #［＃「猫」に傍点］"},
        Row{"BarBeforeOpenIsALiteralBracket", "｜《るび》", "《るび》"},
        Row{"HalfBarBeforeOpen", "漢|《かん》", "漢《かん》"},
        Row{"LiteralBracketIsNoRubyStart", "漢字｜《かんじ》", "漢字《かんじ》"},
        Row{"OpenWithoutClose", "漢字《かんじ", "漢字《かんじ"},
        Row{"BarAtTheEnd", "漢字｜", "漢字｜"}, Row{"BarWithoutRuby", "a|b", "a|b"},
        Row{"CloseAlone", "》だけ", "》だけ"},
        Row{"NoKanjiBeforeOpen", "かな《かな》", "かな《かな》"},
        Row{"EmptyReading", "漢字《》", "漢字《》"}, Row{"EmptyDots", "《《》》", "《《》》"},
        Row{"EmptyRubyBase", "｜《》", "《》"},
        Row{"DoubleOpenInsideRuby", "｜漢字《《かんじ》》", "｜漢字<かんじ>"},
        Row{"DotsInsideAReading", "漢字《か《《ん》》じ》", "漢字《か<ん>じ》"},
        Row{"UnknownNote", "［＃ここから２字下げ］", "［＃ここから２字下げ］"},
        Row{"NoteWithoutClose", "［＃改ページ", "［＃改ページ"},
        Row{"DotsForAbsentText", "犬［＃「猫」に傍点］", "犬［＃「猫」に傍点］"},
        Row{"EmptyQuote", "猫［＃「」に傍点］", "猫［＃「」に傍点］"}, Row{"EmptyLine", "", ""}),
    [](const testing::TestParamInfo<Row>& row) { return row.param.name; });

TEST(Notation, ADotsNoteReachesAThousandCharactersBack) {
    // The note looks no further back, so a long line of notes that find nothing stays linear.
    const QByteArray note = sjis("［＃「猫」に傍点］");
    const QList<Paragraph> near = parseLine(sjis("猫") + sjis("あ").repeated(999) + note, 0);
    ASSERT_EQ(near.size(), 1);
    EXPECT_EQ(near[0].emphasis, (QList<EmphasisSpan>{{0, 1}}));
    EXPECT_EQ(near[0].chars.size(), 1000);
    const QList<Paragraph> far = parseLine(sjis("猫") + sjis("あ").repeated(1000) + note, 0);
    EXPECT_TRUE(far[0].emphasis.isEmpty());
    EXPECT_EQ(far[0].chars.size(), 1001 + 9) << "the note stays text";
}

TEST(Notation, RubyUpToFiftyCharactersLongerIsText) {
    const QString fifty = QString(50, QChar(u'か'));
    const QList<Paragraph> fits = parseLine(sjis("猫《") + cp932::encode(fifty) + sjis("》"), 0);
    ASSERT_EQ(fits.size(), 1);
    ASSERT_EQ(fits[0].ruby.size(), 1);
    EXPECT_EQ(fits[0].ruby[0].reading, fifty);

    const QByteArray tooLong = sjis("猫《") + cp932::encode(fifty + u'か') + sjis("》");
    EXPECT_EQ(written(parseLine(tooLong, 0)), cp932::decode(tooLong));
    const QByteArray longBase = sjis("｜") + sjis("あ").repeated(51) + sjis("《か》");
    EXPECT_EQ(written(parseLine(longBase, 0)), cp932::decode(longBase));
    // Without ｜, the base is the last fifty kanji of a longer run.
    const QList<Paragraph> run = parseLine(sjis("漢").repeated(51) + sjis("《か》"), 0);
    ASSERT_EQ(run[0].ruby.size(), 1);
    EXPECT_EQ(run[0].ruby[0].first, 1);
    EXPECT_EQ(run[0].ruby[0].last, 51);
}

TEST(Notation, OffsetsAreWhereEachCharactersBytesStart) {
    // a(0) 漢(1) 《(3) か(5) 》(7) b(9) NUL(10) stray 0x80(11) 字(12)
    const QByteArray line = sjis("a漢《か》b") + QByteArray("\0\x80", 2) + sjis("字");
    const QList<Paragraph> p = parseLine(line, 100);
    ASSERT_EQ(p.size(), 1);
    const QList<TextChar> expected{{u'a', 100}, {u'漢', 101},  {u'b', 109},
                                   {0, 110},    {0xDC80, 111}, {u'字', 112}};
    EXPECT_EQ(p[0].chars, expected);
}

TEST(Notation, ParagraphsFollowEveryKindOfLineBreak) {
    const QByteArray text = sjis("一\r\n\r\n二\r三\n［＃改ページ］四\r\n");
    QStringList seen;
    QList<quint32> starts;
    forEachParagraph(text, [&](const Paragraph& p) {
        seen.append(written({p}));
        starts.append(p.chars.isEmpty() ? 0xFFFF : p.chars[0].offset);
        return true;
    });
    EXPECT_EQ(seen, (QStringList{"一", "", "二", "三", "#四"}));
    EXPECT_EQ(starts, (QList<quint32>{0, 0xFFFF, 6, 9, 26}));

    int visited = 0;
    forEachParagraph(text, [&](const Paragraph&) { return ++visited < 2; });
    EXPECT_EQ(visited, 2);
    forEachParagraph("", [&](const Paragraph&) { return ++visited > 0; });
    EXPECT_EQ(visited, 2);
}

// Pieces that make markup and break it: brackets alone and in pairs, bars, notes, and bytes
// that are no characters.
QByteArray randomLine(QRandomGenerator& random) {
    static const QList<QByteArray> pieces = {sjis("｜"),
                                             "|",
                                             sjis("《"),
                                             sjis("》"),
                                             sjis("《《"),
                                             sjis("》》"),
                                             sjis("［＃"),
                                             sjis("］"),
                                             sjis("「"),
                                             sjis("」に傍点"),
                                             sjis("改ページ"),
                                             sjis("漢字"),
                                             sjis("かな"),
                                             sjis("々"),
                                             QByteArray("\0", 1),
                                             "\t",
                                             "\x80",
                                             "\xFF",
                                             "\x81",
                                             "ab12",
                                             sjis("猫"),
                                             sjis("、")};
    QByteArray line;
    const int count = random.bounded(40);
    for (int k = 0; k < count; ++k)
        line += pieces[random.bounded(pieces.size())];
    return line;
}

// The same without any character that can begin markup.
QByteArray plainOnly(QByteArray line) {
    const QString text = cp932::decode(line);
    QString plain;
    for (QChar c : text)
        if (c != u'｜' && c != u'|' && c != u'《' && c != u'［') plain += c;
    return cp932::encode(plain);
}

TEST(Notation, RandomLinesKeepEveryShownCharacterWhereItWasTyped) {
    QRandomGenerator random(27);
    LineParser parser;
    for (int round = 0; round < 20000; ++round) {
        const QByteArray line = randomLine(random);
        const quint32 lineOffset = random.bounded(1000u);
        const QString typed = cp932::decode(line);
        const std::span<const Paragraph> paragraphs = parser.parse(line, lineOffset);
        ASSERT_FALSE(paragraphs.empty());
        qint64 previous = -1;
        for (const Paragraph& p : paragraphs) {
            for (const TextChar& c : p.chars) {
                // Each shown character is the one typed at its offset, in the typed order.
                ASSERT_GT(qint64(c.offset), previous) << line.toHex().toStdString();
                const qsizetype byte = c.offset - lineOffset;
                const qsizetype unit = cp932::byteToUnitOffset(typed, byte);
                ASSERT_EQ(cp932::unitToByteOffset(typed, unit), byte);
                ASSERT_EQ(typed[unit].unicode(), c.ch);
                previous = c.offset;
            }
            for (const RubySpan& r : p.ruby) {
                ASSERT_TRUE(0 <= r.first && r.first < r.last && r.last <= p.chars.size());
                ASSERT_TRUE(!r.reading.isEmpty() && r.reading.size() <= 50);
            }
            for (qsizetype k = 0; k < p.emphasis.size(); ++k) {
                const EmphasisSpan& e = p.emphasis[k];
                ASSERT_TRUE(0 <= e.first && e.first < e.last && e.last <= p.chars.size());
                if (k > 0) {
                    ASSERT_LE(p.emphasis[k - 1].last, e.first);
                }
            }
            for (qsizetype k = 1; k < p.ruby.size(); ++k)
                ASSERT_LE(p.ruby[k - 1].last, p.ruby[k].first);
        }
        // Only the first paragraph comes without a break, and only a break can leave one empty
        // (the line's own paragraph, when the line is empty).
        for (size_t k = 1; k < paragraphs.size(); ++k)
            ASSERT_TRUE(paragraphs[k].pageBreakBefore);
        // A line with nothing that begins markup is shown exactly as typed.
        const QByteArray plain = plainOnly(line);
        const std::span<const Paragraph> asTyped = parser.parse(plain, 0);
        ASSERT_EQ(asTyped.size(), 1u);
        ASSERT_EQ(written({asTyped[0]}), cp932::decode(plain));
    }
}

TEST(Notation, LongLinesOfMarkupAreReadInOneGo) {
    // Lines where every position could open markup that never closes: each bracket must not
    // start a scan of the rest of the line.
    for (const char* piece : {"《", "｜", "《《", "［＃", "漢《", "｜漢"}) {
        const QByteArray line = sjis(piece).repeated(200000 / int(std::strlen(piece)));
        const QList<Paragraph> p = parseLine(line, 0);
        ASSERT_EQ(p.size(), 1);
        EXPECT_EQ(written(p), cp932::decode(line)) << piece;
    }
}

} // namespace
} // namespace pote::vertical
