#include "core/stored_stretch.h"

#include "core/cp932.h"
#include "support/test_files.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace pote {
namespace {

using test::sjis;

// Random bytes weighted towards what makes positions and bytes part ways: pairs, stray lead
// bytes, and line breaks of every form.
QByteArray randomText(std::mt19937& rng, int length) {
    static const std::vector<QByteArray> pieces = {
        "a",        "\r\n",     "\r",       "\n",   "\r\r\n", "\x82\xA0",
        "\xED\x40", "\xFA\x5C", "\x87\x90", "\x81", "\x82",   "\x80",
        "\xA0",     "\xFF",     "\x82\r\n", "\xB1", "\t",     QByteArray(1, '\0')};
    std::uniform_int_distribution<std::size_t> pick(0, pieces.size() - 1);
    QByteArray text;
    while (text.size() < length)
        text += pieces[pick(rng)];
    return text;
}

// Against the pane form itself: any three cuts of a text give back its bytes, and each piece
// decodes to its positions of the whole text's pane form.
TEST(StoredStretch, PiecesOfRandomTextsDecodeToTheirPanePositions) {
    std::mt19937 rng(1357);
    for (int round = 0; round < 3000; ++round) {
        const QByteArray text = randomText(rng, round % 40);
        const QString pane = cp932::decodeForPane(text);
        std::uniform_int_distribution<qsizetype> at(0, pane.size());
        qsizetype a = at(rng), b = at(rng);
        if (a > b) std::swap(a, b);
        const QByteArray first = bytesOfPanePositions(text, 0, a);
        const QByteArray middle = bytesOfPanePositions(text, a, b);
        const QByteArray last = bytesOfPanePositions(text, b, pane.size());
        ASSERT_EQ(first + middle + last, text)
            << text.toHex(' ').toStdString() << " " << a << "-" << b;
        ASSERT_EQ(cp932::decodeForPane(middle), pane.mid(a, b - a))
            << text.toHex(' ').toStdString() << " " << a << "-" << b;
    }
}

TEST(StoredStretch, PositionsPastTheEndAndEmptyStretches) {
    const QByteArray text = sjis("一\r\n") + "\xED\x40";
    EXPECT_EQ(bytesOfPanePositions(text, 1, 99), "\r\n\xED\x40");
    EXPECT_EQ(bytesOfPanePositions(text, 5, 9), QByteArray());
    EXPECT_EQ(bytesOfPanePositions(text, 2, 2), QByteArray());
    EXPECT_EQ(bytesOfPanePositions(text, 2, 1), QByteArray());
    EXPECT_EQ(bytesOfPanePositions({}, 0, 3), QByteArray());
}

// Against a count of every pair's character: a character has duplicates where two codes or more
// decode to it.
TEST(StoredStretch, DuplicateCodedCharactersAreThoseOfSeveralCodes) {
    std::vector<int> codes(0x10000, 0);
    for (unsigned lead = 0x80; lead <= 0xFF; ++lead) {
        for (unsigned trail = 0; trail <= 0xFF; ++trail)
            ++codes[cp932::pairUnit(lead, trail)];
    }
    codes[0] = 0;
    int duplicated = 0;
    for (unsigned u = 1; u < 0x10000; ++u) {
        const QString one(1, QChar(char16_t(u)));
        ASSERT_EQ(hasDuplicateCodedCharacter(one), codes[u] > 1) << std::hex << u;
        duplicated += codes[u] > 1;
    }
    EXPECT_GT(duplicated, 300);
    EXPECT_TRUE(hasDuplicateCodedCharacter(u"あいう≒えお"));
    EXPECT_FALSE(hasDuplicateCodedCharacter(u"あいう\nえお"));
    EXPECT_FALSE(hasDuplicateCodedCharacter(u""));
}

} // namespace
} // namespace pote
