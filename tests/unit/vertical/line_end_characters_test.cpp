// Which characters the line rules keep from a line's start or end, checked against a list
// written out here, apart from the layout's own table: a character mistyped in that table (a
// full-size ツ for the small ッ) moves a line break in every text that has it.

#include "core/cp932.h"
#include "vertical/layout.h"

#include <gtest/gtest.h>

namespace pote::vertical {
namespace {

// The first two lines on manuscript paper (20 cells to a line), as text.
std::pair<QString, QString> firstTwoLines(const QString& text) {
    SectionLayout layout(cp932::encode(text), {}, PageFormat::genkou());
    std::pair<QString, QString> lines;
    const QList<Line>& all = layout.page(0).lines;
    for (int i = 0; i < 2 && i < all.size(); ++i) {
        QString& line = i == 0 ? lines.first : lines.second;
        for (const Cell& c : all[i].cells)
            line += QChar(c.ch[0]);
    }
    return lines;
}

// Closing brackets and quotes, the marks that end or divide a clause, small kana, the long-vowel
// and iteration marks, in full and half width.
const QString kNoStart = QStringLiteral("，．・：；？！）］｝〕〉》」』】’”〟ヽヾゝゞ々ー゛゜"
                                        "ァィゥェォッャュョヮヵヶぁぃぅぇぉっゃゅょゎ"
                                        "､･ｰｧｨｩｪｫｬｭｮｯ｣ﾞﾟ");
// 、 and 。 instead hang below a full line.
const QString kHangs = QStringLiteral("、。");
// Opening brackets and quotes.
const QString kNoEnd = QStringLiteral("（［｛〔〈《【「『‘“〝｢");
// Their look-alikes and ordinary characters, which go wherever the line ends.
const QString kAnywhere = QStringLiteral("ツヤユヨワカケつやゆよわかけあア漢〇＝＋※→");

TEST(LineEndCharacters, ForbiddenAtTheStartOrTheEndOfALine) {
    const QString fill(19, QChar(u'あ'));
    const auto name = [](QChar c) { return QString(c).toStdString(); };
    for (const QChar c : kNoStart) {
        const auto [first, second] = firstTwoLines(fill + u'あ' + c + u'あ');
        EXPECT_EQ(second.left(2), QString(u'あ') + c) << "pushes its character out: " << name(c);
    }
    for (const QChar c : kHangs) {
        const auto [first, second] = firstTwoLines(fill + u'あ' + c + u'あ');
        EXPECT_EQ(first.right(1), QString(c)) << "hangs: " << name(c);
    }
    for (const QChar c : kNoEnd) {
        const auto [first, second] = firstTwoLines(fill + c + u'あ');
        EXPECT_EQ(first, fill) << "moves down: " << name(c);
    }
    for (const QChar c : kAnywhere) {
        EXPECT_EQ(firstTwoLines(fill + u'あ' + c).second, QString(c))
            << "starts a line: " << name(c);
        EXPECT_EQ(firstTwoLines(fill + c + u'あ').first, fill + c) << "ends a line: " << name(c);
    }
}

} // namespace
} // namespace pote::vertical
