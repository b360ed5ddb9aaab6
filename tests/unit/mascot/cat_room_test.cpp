#include "mascot/cat_room.h"

#include <QRandomGenerator>

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>

namespace pote::mascot {
namespace {

constexpr Rgb kOutline{40, 30, 30};

// Offsets from a fixed list, repeated; records how many were asked for.
class ScriptedNoise : public FurNoise {
public:
    explicit ScriptedNoise(std::vector<int> values) : m_values(std::move(values)) {}
    void fill(std::span<std::int8_t> offsets) override {
        for (std::int8_t& o : offsets)
            o = std::int8_t(m_values[m_next++ % m_values.size()]);
        m_drawn += offsets.size();
    }
    std::size_t drawn() const { return m_drawn; }

private:
    std::vector<int> m_values;
    std::size_t m_next = 0;
    std::size_t m_drawn = 0;
};

// A 48 × 48 cell: green background, a body square (147, 158, 188) from (10, 10) to (37, 37)
// with an outline row at its top, and one odd pixel.
RgbImage catCell() {
    RgbImage cell = RgbImage::filled(48, 48, kTransparentColour);
    for (int y = 10; y < 38; ++y)
        for (int x = 10; x < 38; ++x)
            cell.setPixel(x, y, y == 10 ? kOutline : kBodyColour);
    cell.setPixel(0, 47, {1, 2, 3});
    return cell;
}

// A room where every pixel differs from its neighbours.
RgbImage photoRoom(int width, int height) {
    RgbImage room = RgbImage::filled(width, height, {});
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            room.setPixel(x, y, {std::uint8_t(x), std::uint8_t(y), std::uint8_t(x ^ y)});
    return room;
}

// The drawing spelled out pixel by pixel, to check the composer against.
RgbImage referenceFrame(const RgbImage& room, const RgbImage& cell, bool fur, FurNoise& noise) {
    const int w = kRoomSide;
    const int h = kRoomSide;
    RgbImage out = stretched(room, w, h);
    int shade = 0;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const Rgb c = cell.pixel(x * cell.width / w, y * cell.height / h);
            if (c == kTransparentColour) continue;
            Rgb o = c;
            if (fur && c == kBodyColour) {
                std::int8_t offset = 0;
                noise.fill({&offset, 1});
                int rgb[3] = {std::clamp(c.r + offset, 0, 255), std::clamp(c.g + offset, 0, 255),
                              std::clamp(c.b + offset, 0, 255)};
                rgb[0] -= shade;
                rgb[2] -= shade;
                shade = y / 12;
                for (int& v : rgb)
                    if (v > shade) v -= shade;
                o = {std::uint8_t(rgb[0]), std::uint8_t(rgb[1]), std::uint8_t(rgb[2])};
            }
            out.setPixel(x, y, o);
        }
    }
    return out;
}

TEST(CatRoom, PictureTypeFollowsTheExtensionInAnyCase) {
    const struct {
        const char* path;
        RoomPictureType type;
    } rows[] = {
        {"/home/たま/部屋.bmp", RoomPictureType::Bitmap},
        {"/home/たま/部屋.BMP", RoomPictureType::Bitmap},
        {"IMG_0001.JPG", RoomPictureType::Jpeg},
        {"photo.jpeg", RoomPictureType::Jpeg},
        {"screen.Png", RoomPictureType::Png},
        {"anime.gif", RoomPictureType::Other},
        {"photo.jpg.gif", RoomPictureType::Other},
        {"/home/jpg/no-extension", RoomPictureType::Other},
    };
    for (const auto& row : rows)
        EXPECT_EQ(roomPictureType(QString::fromUtf8(row.path)), row.type) << row.path;
}

TEST(CatRoom, WithoutAPictureTheCatStandsOnGreenAndGreenCatPixelsShowTheRoom) {
    CatRoom room;
    ASSERT_EQ(room.picture.width, kRoomSide);
    ASSERT_EQ(room.picture.height, kRoomSide);
    EXPECT_EQ(room.picture.pixel(0, 0), kTransparentColour);
    EXPECT_EQ(room.picture.pixel(479, 479), kTransparentColour);

    CatFrameComposer composer;
    ScriptedNoise noise({0});
    const RgbImage photo = photoRoom(kRoomSide, kRoomSide);
    const RgbImage& frame = composer.compose(photo, catCell(), false, noise);
    EXPECT_EQ(frame.pixel(5, 5), photo.pixel(5, 5)) << "the green around the cat";
    EXPECT_EQ(frame.pixel(380, 380), photo.pixel(380, 380)) << "just past the body's last block";
    EXPECT_EQ(frame.pixel(100, 100), kOutline) << "cell pixel (10, 10) is the block at 100";
    EXPECT_EQ(frame.pixel(109, 109), kOutline);
    EXPECT_EQ(frame.pixel(100, 110), kBodyColour) << "fur off: the sheet's own colour";
    EXPECT_EQ(frame.pixel(377, 470), photo.pixel(377, 470));
    EXPECT_EQ(frame.pixel(9, 479), (Rgb{1, 2, 3})) << "cell pixel (0, 47) is the block at (0, 470)";
    EXPECT_EQ(frame.pixel(10, 479), photo.pixel(10, 479));
    EXPECT_EQ(noise.drawn(), 0u) << "no random numbers without fur";
}

TEST(CatRoom, FrameMatchesThePixelByPixelDrawing) {
    const struct {
        const char* name;
        RgbImage room;
        bool fur;
    } rows[] = {
        {"green room, fur off", CatRoom::emptyRoom(), false},
        {"photo, fur on", photoRoom(kRoomSide, kRoomSide), true},
        {"small photo stretched, fur on", photoRoom(200, 150), true},
    };
    std::vector<int> offsets;
    QRandomGenerator random(7);
    for (int i = 0; i < 997; ++i)
        offsets.push_back(int(random.bounded(64)) - 32);
    for (const auto& row : rows) {
        ScriptedNoise ours(offsets);
        ScriptedNoise theirs(offsets);
        CatFrameComposer composer;
        const RgbImage& frame = composer.compose(row.room, catCell(), row.fur, ours);
        const RgbImage expected = referenceFrame(row.room, catCell(), row.fur, theirs);
        EXPECT_EQ(ours.drawn(), theirs.drawn()) << row.name;
        ASSERT_EQ(frame.rgb.size(), expected.rgb.size()) << row.name;
        int differing = 0;
        for (int y = 0; y < kRoomSide; ++y)
            for (int x = 0; x < kRoomSide; ++x)
                if (!(frame.pixel(x, y) == expected.pixel(x, y)) && differing++ < 3)
                    ADD_FAILURE() << row.name << ": pixel (" << x << ", " << y << ")";
        EXPECT_EQ(differing, 0) << row.name;
    }
}

TEST(CatRoom, FurShimmersFromFrameToFrameAndDarkensTowardsTheBottom) {
    CatFrameComposer composer;
    RandomFurNoise noise(1);
    const RgbImage first = composer.compose(CatRoom::emptyRoom(), catCell(), true, noise);
    const RgbImage second = composer.compose(CatRoom::emptyRoom(), catCell(), true, noise);
    int changed = 0;
    for (int x = 110; x < 380; ++x)
        changed += !(first.pixel(x, 200) == second.pixel(x, 200));
    EXPECT_GT(changed, 200) << "two frames differ nearly everywhere on the body";

    // Each row of the body: the average of its red over the whole width.
    auto averageRed = [&](int y) {
        long sum = 0;
        for (int x = 110; x < 380; ++x)
            sum += first.pixel(x, y).r;
        return double(sum) / 270;
    };
    EXPECT_GT(averageRed(115), averageRed(370) + 40)
        << "two shades of about 30 apiece take the red down near the bottom";
    EXPECT_EQ(first.pixel(100, 100), kOutline) << "other colours keep theirs";
    EXPECT_EQ(first.pixel(5, 5), kTransparentColour);
}

TEST(CatRoom, WithoutACellTheRoomIsDrawnAlone) {
    CatFrameComposer composer;
    ScriptedNoise noise({0});
    const RgbImage photo = photoRoom(kRoomSide, kRoomSide);
    EXPECT_EQ(composer.compose(photo, RgbImage{}, true, noise).rgb, photo.rgb);
}

TEST(CatRoom, RandomOffsetsCoverTheirRangeEvenly) {
    RandomFurNoise noise(42);
    std::vector<std::int8_t> offsets(64 * 1000);
    noise.fill(offsets);
    int counts[64] = {};
    for (const std::int8_t o : offsets) {
        ASSERT_GE(o, -32);
        ASSERT_LE(o, 31);
        ++counts[o + 32];
    }
    EXPECT_GT(*std::min_element(std::begin(counts), std::end(counts)), 850);
    EXPECT_LT(*std::max_element(std::begin(counts), std::end(counts)), 1150);
}

TEST(CatRoom, StretchingAveragesWhenShrinkingAndRepeatsWhenEnlarging) {
    // Columns alternate black and white: halved, every pixel is the middle grey.
    RgbImage stripes = RgbImage::filled(960, 4, {});
    for (int x = 1; x < 960; x += 2)
        for (int y = 0; y < 4; ++y)
            stripes.setPixel(x, y, {255, 255, 255});
    const RgbImage half = stretched(stripes, 480, 2);
    EXPECT_EQ(half.pixel(0, 0), (Rgb{128, 128, 128}));
    EXPECT_EQ(half.pixel(479, 1), (Rgb{128, 128, 128}));

    const RgbImage small = photoRoom(3, 2);
    const RgbImage big = stretched(small, 30, 20);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 30; ++x)
            ASSERT_EQ(big.pixel(x, y), small.pixel(x / 10, y / 10)) << x << ", " << y;
}

} // namespace
} // namespace pote::mascot
