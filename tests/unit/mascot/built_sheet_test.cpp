// The sprite sheet this build drew from assets/mascot, as the program will load it.

#include "mascot/sprite_sheet.h"

#include <gtest/gtest.h>

#include <set>
#include <tuple>

namespace pote::mascot {
namespace {

using Rgb = std::tuple<int, int, int>;
constexpr Rgb kBackground{0, 128, 0};
constexpr Rgb kBody{147, 158, 188};
constexpr int kFrames = 30;

class BuiltSheet : public testing::Test {
protected:
    static void SetUpTestSuite() { loaded = mascot_load_sheet(QStringLiteral(POTE_BUILT_SHEET)); }

    static Rgb pixel(int x, int y) {
        const auto* p = reinterpret_cast<const uchar*>(loaded.sheet.rgb.constData()) +
                        3 * (qsizetype(y) * loaded.sheet.width() + x);
        return {p[0], p[1], p[2]};
    }

    static std::set<Rgb> coloursOf(int frame) {
        const CellRect cell = loaded.sheet.cellRect(frame);
        std::set<Rgb> colours;
        for (int y = cell.y; y < cell.y + cell.height; ++y)
            for (int x = cell.x; x < cell.x + cell.width; ++x)
                colours.insert(pixel(x, y));
        return colours;
    }

    static QByteArray bytesOf(int frame) {
        const CellRect cell = loaded.sheet.cellRect(frame);
        QByteArray bytes;
        for (int y = cell.y; y < cell.y + cell.height; ++y)
            bytes += loaded.sheet.rgb.mid(3 * (qsizetype(y) * loaded.sheet.width() + cell.x),
                                          3 * cell.width);
        return bytes;
    }

    static inline SheetLoadResult loaded;
};

TEST_F(BuiltSheet, HoldsAtLeastThirtyCellsOf48By48) {
    ASSERT_TRUE(loaded.ok()) << loaded.detail.toStdString();
    EXPECT_EQ(loaded.sheet.cellWidth, 48);
    EXPECT_EQ(loaded.sheet.cellHeight, 48);
    EXPECT_GE(loaded.sheet.cellCount(), kFrames);
}

TEST_F(BuiltSheet, EveryFrameShowsTheCatOnTheExactBackground) {
    ASSERT_TRUE(loaded.ok());
    for (int frame = 1; frame <= kFrames; ++frame) {
        SCOPED_TRACE(frame);
        const CellRect cell = loaded.sheet.cellRect(frame);
        const int right = cell.x + cell.width - 1;
        const int bottom = cell.y + cell.height - 1;
        EXPECT_EQ(pixel(cell.x, cell.y), kBackground);
        EXPECT_EQ(pixel(right, cell.y), kBackground);
        EXPECT_EQ(pixel(cell.x, bottom), kBackground);
        EXPECT_EQ(pixel(right, bottom), kBackground);
        const std::set<Rgb> colours = coloursOf(frame);
        EXPECT_TRUE(colours.count(kBody)) << "the fur effect needs the exact body colour";
        EXPECT_GE(colours.size(), 4u) << "more than a silhouette";
    }
}

TEST_F(BuiltSheet, NoTwoFramesAreTheSame) {
    ASSERT_TRUE(loaded.ok());
    std::set<QByteArray> seen;
    for (int frame = 1; frame <= kFrames; ++frame)
        EXPECT_TRUE(seen.insert(bytesOf(frame)).second) << "frame " << frame << " repeats another";
}

} // namespace
} // namespace pote::mascot
