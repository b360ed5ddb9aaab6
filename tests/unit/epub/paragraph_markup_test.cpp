// The notation as book markup, line by line, and the text rules every file of a book follows:
// UTF-8, escaped, and nothing a reader would refuse.

#include "core/cp932.h"
#include "epub/paragraph_markup.h"
#include "epub/xml_text.h"
#include "support/test_files.h"
#include "vertical/line_rules.h"
#include "vertical/notation.h"

#include <gtest/gtest.h>

#include <QRandomGenerator>

namespace pote::epub {
namespace {

using test::sjis;
using vertical::Paragraph;

QByteArray markupOf(const Paragraph& p, QList<quint32>* dropped = nullptr) {
    QByteArray out;
    QList<quint32> offsets;
    appendParagraphMarkup(out, p, offsets);
    if (dropped) *dropped = offsets;
    return out;
}

// The markup of the line's paragraphs, each in brackets.
QByteArray markupOfLine(const QByteArray& line) {
    QByteArray out;
    for (const Paragraph& p : vertical::parseLine(line, 0))
        out += (p.pageBreakBefore ? "{break}[" : "[") + markupOf(p) + "]";
    return out;
}

Paragraph plain(const char* utf8) {
    return vertical::plainParagraph(sjis(utf8), 0);
}

TEST(ParagraphMarkup, NotationBecomesMarkup) {
    struct Row {
        const char* name;
        const char* line;
        const char* markup;
    };
    const Row rows[] = {
        {"ruby after a bar", "｜親文字《るび》です",
         "[<ruby>親文字<rp>（</rp><rt>るび</rt><rp>）</rp></ruby>です]"},
        {"ruby over the kanji run", "その漢字《かんじ》は",
         "[その<ruby>漢字<rp>（</rp><rt>かんじ</rt><rp>）</rp></ruby>は]"},
        {"two rubies side by side", "｜猫《ねこ》｜犬《いぬ》",
         "[<ruby>猫<rp>（</rp><rt>ねこ</rt><rp>）</rp></ruby><ruby>犬<rp>（</rp><rt>いぬ</"
         "rt><rp>）</rp></ruby>]"},
        {"emphasis in double brackets", "《《強調》》する",
         "[<span class=\"em-sesame\">強調</span>する]"},
        {"emphasis over a ruby's base", "｜漢字《かんじ》［＃「漢字」に傍点］",
         "[<ruby><span "
         "class=\"em-sesame\">漢字</span><rp>（</rp><rt>かんじ</rt><rp>）</rp></ruby>]"},
        {"one digit upright", "第3話", "[第<span class=\"tcy\">3</span>話]"},
        {"two digits upright", "12月", "[<span class=\"tcy\">12</span>月]"},
        {"three digits stay", "120枚", "[120枚]"},
        {"digits among letters stay", "5kgとUSB2", "[5kgとUSB2]"},
        {"!? upright", "本当!?　嘘", "[本当<span class=\"tcy\">!?</span>　嘘]"},
        {"?? and !!! stay", "え??　えっ!!!", "[え??　えっ!!!]"},
        {"digits with a space between are one run", "1 2と3",
         "[1 2と<span class=\"tcy\">3</span>]"},
        {"full-width digits stay", "１２月", "[１２月]"},
        {"upright inside emphasis", "《《第2章》》",
         "[<span class=\"em-sesame\">第<span class=\"tcy\">2</span>章</span>]"},
        {"upright in a ruby's base", "｜12《じゅうに》",
         "[<ruby><span class=\"tcy\">12</span><rp>（</rp><rt>じゅうに</rt><rp>）</rp></ruby>]"},
        {"a literal open bracket", "｜《ではない", "[《ではない]"},
        {"ruby left open stays text", "｜猫《ねこ", "[｜猫《ねこ]"},
        {"emphasis left open stays text", "《《開いたまま", "[《《開いたまま]"},
        {"a note left open stays text", "［＃改ページ", "[［＃改ページ]"},
        {"an unknown note stays text", "［＃ここで字下げ］", "[［＃ここで字下げ］]"},
        {"escaped characters", "a&b<c>\"d'", "[a&amp;b&lt;c&gt;&quot;d']"},
        {"markup characters in a reading", "｜A《&<>》",
         "[<ruby>A<rp>（</rp><rt>&amp;&lt;&gt;</rt><rp>）</rp></ruby>]"},
        {"a page break inside the line", "前［＃改ページ］後", "[前]{break}[後]"},
        {"a line of a page break", "［＃改ページ］", "{break}[]"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(markupOfLine(sjis(row.line)), QByteArray(row.markup)) << row.name;
}

TEST(ParagraphMarkup, MarksThatCrossNestAndBrokenMarksAreLeftOut) {
    struct Row {
        const char* name;
        QList<vertical::RubySpan> ruby;
        QList<vertical::EmphasisSpan> emphasis;
        const char* markup;
    };
    const QString reading = QStringLiteral("よみ");
    const Row rows[] = {
        {"emphasis that starts before a ruby and ends inside it",
         {{2, 4, reading}},
         {{1, 3}},
         "あ<span class=\"em-sesame\">い</span><ruby><span "
         "class=\"em-sesame\">う</span>え<rp>（</rp><rt>よみ</rt><rp>）</rp></ruby>お"
         "<span class=\"tcy\">12</span>"},
        {"emphasis that runs over a whole ruby and on",
         {{1, 2, reading}},
         {{0, 4}},
         "<span class=\"em-sesame\">あ</span><ruby><span "
         "class=\"em-sesame\">い</span><rp>（</rp><rt>よみ</rt><rp>）</rp></ruby><span "
         "class=\"em-sesame\">うえ</span>お"
         "<span class=\"tcy\">12</span>"},
        {"a run cut by an emphasis edge is two runs",
         {},
         {{3, 6}},
         "あいう<span class=\"em-sesame\">えお<span class=\"tcy\">1</span></span><span "
         "class=\"tcy\">2</span>"},
        {"marks out of range or out of order are left out",
         {{5, 9, reading}, {3, 2, reading}},
         {{4, 5}, {0, 10}, {2, 3}},
         "あいうえ<span class=\"em-sesame\">お</span><span class=\"tcy\">12</span>"},
        {"an empty ruby is left out",
         {{2, 2, reading}},
         {},
         "あいうえお<span class=\"tcy\">12</span>"},
    };
    for (const Row& row : rows) {
        Paragraph p = plain("あいうえお12");
        p.ruby = row.ruby;
        p.emphasis = row.emphasis;
        EXPECT_EQ(markupOf(p), QByteArray(row.markup)) << row.name;
    }
}

TEST(ParagraphMarkup, CharactersABookCannotHoldAreLeftOutAndTheirOffsetsTold) {
    // A stray byte (no CP932 character), a NUL and other control codes; a tab stays.
    const QByteArray line = QByteArray("a\x80", 2) + QByteArray("\0b\x01\x7f", 4) + "\tc";
    ASSERT_EQ(cp932::decode(QByteArrayView(line).sliced(1, 1)).at(0).unicode(), 0xDC80);
    QList<quint32> dropped;
    EXPECT_EQ(markupOf(vertical::plainParagraph(line, 100), &dropped), QByteArray("ab\tc"));
    EXPECT_EQ(dropped, (QList<quint32>{101, 102, 104, 105}));

    // A ruby whose base is nothing but stray bytes is no ruby; its reading's own strays count
    // at the base's offset.
    Paragraph p = vertical::plainParagraph(QByteArray("x\x80\x81", 3), 0);
    p.ruby = {{1, 2, QStringLiteral("よ\xdc80み")}};
    EXPECT_EQ(markupOf(p, &dropped), QByteArray("x"));
    EXPECT_EQ(dropped, (QList<quint32>{1, 2}));
    p.ruby = {{0, 2, QString::fromUtf16(u"よ\xdc80み")}};
    EXPECT_EQ(markupOf(p, &dropped),
              QByteArray("<ruby>x<rp>（</rp><rt>よみ</rt><rp>）</rp></ruby>"));
    EXPECT_EQ(dropped, (QList<quint32>{1, 0, 2}));
}

// The book and the pages must agree on which runs stand upright, whatever the mix of digits,
// signs, spaces and marks around them.
TEST(ParagraphMarkup, UprightRunsAreTheOnesThePagesSetUpright) {
    const char* pieces[] = {"1",
                            "2",
                            "12",
                            "!",
                            "?",
                            "a",
                            " ",
                            "あ",
                            "漢",
                            "｜",
                            "《",
                            "》",
                            "《《",
                            "》》",
                            "！",
                            "３",
                            "［＃「1」に傍点］"};
    QRandomGenerator random(20261208);
    vertical::ParagraphCells cells;
    for (int round = 0; round < 3000; ++round) {
        QByteArray line;
        for (int k = random.bounded(1, 14); k > 0; --k)
            line += sjis(pieces[random.bounded(int(std::size(pieces)))]);
        for (const Paragraph& p : vertical::parseLine(line, 0)) {
            QList<quint32> inBook;
            for (const CharRun& run : tateChuYokoRuns(p))
                inBook.append(p.chars[run.first].offset);
            cells.build(p, false, 20, true);
            QList<quint32> onPage;
            for (qsizetype c = 0; c < cells.size(); ++c)
                if (cells.cells()[c].kind == vertical::CellKind::TateChuYoko)
                    onPage.append(cells.offset(c));
            EXPECT_EQ(inBook, onPage) << line.toHex().constData();
        }
    }
}

TEST(XmlText, EscapesAndKeepsOnlyWhatXmlHolds) {
    struct Row {
        const char* name;
        QString text;
        QByteArray xml;
        qsizetype dropped;
    };
    const Row rows[] = {
        {"markup characters", QStringLiteral("&<>\"'"), "&amp;&lt;&gt;&quot;'", 0},
        {"Japanese", QStringLiteral("猫　ｶﾅ～"), "猫　ｶﾅ～", 0},
        {"a pair is one character", QString::fromUtf8("\xf0\x9f\x90\xb1"), "\xf0\x9f\x90\xb1", 0},
        {"a lone half of a pair", QString(QChar(0xD83D)) + QChar(u'a') + QChar(0xDC31), "a", 2},
        {"stray bytes", QString::fromUtf16(u"\xdc80x\xdcff"), "x", 2},
        {"tab stays, line breaks and C0 go", QString::fromUtf16(u"a\tb\nc\rd\x01"), "a\tbcd", 3},
        {"C1 and non-characters", QString::fromUtf16(u"\x7f\x85\xfffe\xffff\xfffd"), "\xef\xbf\xbd",
         4},
        {"private use stays", QString::fromUtf16(u"\xf8f0"), "\xef\xa3\xb0", 0},
    };
    for (const Row& row : rows) {
        qsizetype dropped = -1;
        EXPECT_EQ(xmlText(row.text, &dropped), row.xml) << row.name;
        EXPECT_EQ(dropped, row.dropped) << row.name;
    }
}

} // namespace
} // namespace pote::epub
