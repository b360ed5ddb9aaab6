#include "revision/revision_check.h"

#include "core/cp932.h"
#include "support/test_files.h"

#include <gtest/gtest.h>

#include <random>
#include <set>

namespace pote::revision {
namespace {

using test::sjis;

// Pieces a manuscript is made of, notation and bad bytes among them.
QByteArray randomText(std::mt19937& rng) {
    static const std::vector<QByteArray> pieces = {
        sjis("子供"),
        sjis("子ども"),
        sjis("が"),
        sjis("のの"),
        sjis("見れる"),
        sjis("食べれ"),
        sjis("出来る"),
        sjis("できた"),
        sjis("歩いた"),
        sjis("。"),
        sjis("、"),
        sjis("！"),
        "!",
        "?",
        "!?",
        sjis("「"),
        sjis("」"),
        sjis("『"),
        sjis("（"),
        sjis("）"),
        sjis("｜漢字《かんじ》"),
        sjis("漢字《かんじ》"),
        sjis("《《強調》》"),
        sjis("［＃改ページ］"),
        sjis("［＃「強調」に傍点］"),
        sjis("ｱｲｳ"),
        "abc",
        " ",
        sjis("　"),
        "\r\n",
        "\r\n",
        "\r",
        "\n",
        QByteArray("\0", 1),
        "\x80",
        "\xff",
        "\x82",
        sjis("彼は静かに扉を開けて長い廊下を歩いていった")};
    QByteArray text;
    const int count = std::uniform_int_distribution<int>(0, 120)(rng);
    for (int i = 0; i < count; ++i)
        text += pieces[std::uniform_int_distribution<size_t>(0, pieces.size() - 1)(rng)];
    return text;
}

bool isNotation(QChar c) {
    return QStringView(u"｜|《》［］＃").contains(c);
}

TEST(FindingOffsets, PointAtTheStoredBytesOfWhatTheyFlag) {
    std::mt19937 rng(20261208);
    RevisionOptions options;
    options.longSentence = 12;
    int checkedFindings = 0;
    for (int round = 0; round < 400; ++round) {
        std::vector<SectionToCheck> sections;
        for (int s = 0; s < 3; ++s)
            sections.push_back({s, randomText(rng)});
        const RevisionOutcome outcome = checkSections(sections, options);
        ASSERT_TRUE(outcome.skipped.isEmpty());
        for (const Finding& f : outcome.findings) {
            const QByteArray& text = sections[size_t(f.section)].text;
            ASSERT_GT(f.length, 0u);
            ASSERT_LE(qsizetype(f.offset) + f.length, text.size());
            // Both ends on a character boundary, as the codec splits the bytes.
            std::set<qsizetype> starts;
            for (qsizetype i = 0; i < text.size(); i += cp932::charLengthAt(text, i))
                starts.insert(i);
            ASSERT_TRUE(starts.count(f.offset)) << f.offset;
            ASSERT_TRUE(starts.count(f.offset + f.length) || f.offset + f.length == text.size());
            const QString stored = cp932::decode(QByteArrayView(text).sliced(f.offset, f.length));
            ASSERT_FALSE(stored.contains(u'\r') || stored.contains(u'\n')) << stored.toStdString();
            if (f.rule == Rule::Variants) continue; // its text is the word's dictionary form
            ASSERT_FALSE(f.text.isEmpty());
            EXPECT_EQ(stored.front(), f.text.front());
            EXPECT_EQ(stored.back(), f.text.back());
            if (std::none_of(stored.begin(), stored.end(), isNotation)) {
                EXPECT_EQ(stored, f.text);
            }
            ++checkedFindings;
        }
    }
    EXPECT_GT(checkedFindings, 1000);
}

} // namespace
} // namespace pote::revision
