#pragma once
// The cat window's picture: the mascot ten times enlarged over the room picture the user chose,
// with the optional fur effect that makes the cat's body shimmer and darken towards the floor.
// Plain pixel buffers in and out, so the whole drawing is testable without a window.

#include "mascot/rgb_image.h"

#include <QString>

#include <array>
#include <cstdint>
#include <span>
#include <vector>

namespace pote::mascot {

// The picture control is square; a cell of 48 pixels becomes blocks of 10 × 10.
inline constexpr int kRoomSide = 480;
// The sprite sheet's background: where the cat is not, the room shows.
inline constexpr Rgb kTransparentColour{0, 128, 0};
// The colour of the cat's body fur, the only colour the fur effect touches.
inline constexpr Rgb kBodyColour{147, 158, 188};
// The room before the user has chosen one: 48 × 48 of the sheet's green.
inline constexpr int kEmptyRoomSide = 48;
// Rows of the picture per step of the fur's darkening towards the bottom.
inline constexpr int kShadeRows = 12;

// How a room picture is read, by its file name's extension in any letter case.
enum class RoomPictureType { Bitmap, Png, Jpeg, Other };
RoomPictureType roomPictureType(const QString& path);

// What the main window keeps for the cat window from one opening to the next during a run.
struct CatRoom {
    // The room, already stretched to the picture's size: nothing else is ever drawn from it,
    // so a 24-megapixel photo is not held at full size for the rest of the run.
    RgbImage picture = emptyRoom();
    bool furOn = false;
    // Where the picture came from (empty: the green room); lets a reopened window keep a
    // picture whose file has not changed instead of decoding it again.
    QString loadedPath;
    qint64 loadedSize = -1;
    qint64 loadedModified = 0; // ms since the epoch
    // Where the picture chooser opens next.
    QString pictureFolder;

    static RgbImage emptyRoom();
    void reset();
};

// The fur effect's random offsets, uniform in −32 … 31, one per body pixel in drawing order.
class FurNoise {
public:
    virtual ~FurNoise() = default;
    virtual void fill(std::span<std::int8_t> offsets) = 0;
};

// A fast generator (splitmix64, eight offsets from each 64-bit draw): a frame needs tens of
// thousands of offsets twice a second.
class RandomFurNoise final : public FurNoise {
public:
    RandomFurNoise(); // seeded from the system's generator
    explicit RandomFurNoise(quint64 seed) : m_state(seed) {}
    void fill(std::span<std::int8_t> offsets) override;

private:
    quint64 m_state;
};

// The colour of a body pixel with the fur effect: the offset added to each channel (clamped),
// the previously drawn body pixel's shade taken from red and blue, then the pixel's own shade
// taken from every channel larger than it.
Rgb furColour(int offset, int carriedShade, int shade);

class CatFrameComposer {
public:
    explicit CatFrameComposer(int width = kRoomSide, int height = kRoomSide);

    // Draws one frame: the room stretched to the frame, the cell stretched over it with the
    // sheet's green left out, and with fur on, every body pixel changed by furColour with one
    // random offset each, row by row from the top, left to right. A null cell (no sprite
    // sheet) leaves the bare room.
    const RgbImage& compose(const RgbImage& room, const RgbImage& cell, bool fur, FurNoise& noise);
    const RgbImage& frame() const { return m_frame; }

private:
    // A stretch of frame columns [first, last) in one row.
    struct Run {
        int first = 0;
        int last = 0;
    };
    // The cat's rows stretched to the frame's width, with the runs of frame columns each one
    // covers with cat (anything but green) and with body fur.
    void prepareCatRows(const RgbImage& cell, bool fur);
    void drawFur(std::uint8_t* out, int y, int cellRow);

    RgbImage m_frame;
    std::vector<int> m_runStart;         // per cell column its first frame column, and one more
    std::vector<std::uint8_t> m_catRows; // cell height × frame width pixels
    std::vector<Run> m_runs;             // all rows' runs, cat runs first, then body runs
    std::vector<int> m_catRunsAt;        // per cell row, index of its first cat run; one more
    std::vector<int> m_bodyRunsAt;       // per cell row, index of its first body run; one more
    std::vector<int> m_bodyPixels;       // per cell row, frame pixels of body fur in one row
    std::vector<std::int8_t> m_offsets;
    const std::int8_t* m_nextOffset = nullptr;
    int m_carriedShade = 0; // the shade of the body pixel drawn last
    // Per shade, by offset + 32, the colour of a body pixel that follows one of its own row:
    // R, G, B from the low byte.
    struct FurTable {
        bool built = false;
        std::array<std::uint32_t, 64> colour{};
    };
    std::vector<FurTable> m_furTables;
};

} // namespace pote::mascot
