#include "editing/load_pieces.h"

#include "core/cp932.h"

#include <gtest/gtest.h>

#include <random>

namespace pote {
namespace {

// Bytes that stress the cuts: line breaks of every kind, double-byte characters, lead bytes
// without a trail, and long stretches without any line break.
QByteArray randomBytes(std::mt19937& rng, qsizetype size) {
    static const std::vector<QByteArray> parts = {"a",
                                                  "\r\n",
                                                  "\r",
                                                  "\n",
                                                  "\x82\xA0",
                                                  "\x88\x9F",
                                                  "\x81",
                                                  "\x81\r\n",
                                                  "\x81\n",
                                                  "\xE0@",
                                                  "\xFC\x40",
                                                  "\xFD",
                                                  "\x80",
                                                  "\xA0",
                                                  "\x82\r",
                                                  "\r\r\n\n",
                                                  "xyz",
                                                  QByteArray(40, 'q'),
                                                  QByteArray("\x8A\xBF", 2).repeated(30)};
    QByteArray out;
    std::uniform_int_distribution<size_t> pick(0, parts.size() - 1);
    while (out.size() < size)
        out += parts[pick(rng)];
    return out;
}

TEST(LoadPieces, DecodingPieceByPieceGivesTheWholeText) {
    std::mt19937 rng(4242);
    for (int round = 0; round < 3000; ++round) {
        const QByteArray bytes = randomBytes(rng, std::uniform_int_distribution<int>(0, 300)(rng));
        const qsizetype size = std::uniform_int_distribution<int>(2, 40)(rng);
        QString pieces;
        for (qsizetype from = 0; from < bytes.size();) {
            const qsizetype end = pieceEnd(bytes, from, size);
            ASSERT_GT(end, from) << "round " << round;
            ASSERT_LE(end, from + size + 1) << "round " << round << ": a piece outgrew its size";
            pieces += cp932::decodeForPane(QByteArrayView(bytes).sliced(from, end - from));
            from = end;
        }
        ASSERT_EQ(pieces, cp932::decodeForPane(bytes)) << "round " << round << ", size " << size;
    }
}

TEST(LoadPieces, PiecesEndAfterTheLastLineBreakInReach) {
    const QByteArray bytes = "ab\r\ncd\nefghijkl";
    EXPECT_EQ(pieceEnd(bytes, 0, 8), 7);
    EXPECT_EQ(pieceEnd(bytes, 0, 5), 4) << "after the LF, with its CR";
    EXPECT_EQ(pieceEnd(bytes, 7, 4), 11) << "no line break: as far as the size goes";
    EXPECT_EQ(pieceEnd(bytes, 7, 100), bytes.size());
    // Never inside a double-byte character, walked from the piece's start.
    const QByteArray kana = QByteArray("\x82\xA0", 2).repeated(5); // あ × 5
    EXPECT_EQ(pieceEnd(kana, 0, 5), 4);
    EXPECT_EQ(pieceEnd(kana, 2, 3), 4);

    EXPECT_EQ(pieceEnd(QStringView(u"ab\ncdef"), 0, 5), 3);
    EXPECT_EQ(pieceEnd(QStringView(u"abc\xD83D\xDE00z"), 0, 4), 3)
        << "never between the halves of a pair";
}

} // namespace
} // namespace pote
