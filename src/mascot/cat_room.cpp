#include "mascot/cat_room.h"

#include <QFileInfo>
#include <QRandomGenerator>

#include <algorithm>
#include <cstring>

namespace pote::mascot {

RoomPictureType roomPictureType(const QString& path) {
    const QString extension = QFileInfo(path).suffix().toLower();
    if (extension == QLatin1String("bmp")) return RoomPictureType::Bitmap;
    if (extension == QLatin1String("png")) return RoomPictureType::Png;
    if (extension == QLatin1String("jpg") || extension == QLatin1String("jpeg"))
        return RoomPictureType::Jpeg;
    return RoomPictureType::Other;
}

RgbImage CatRoom::emptyRoom() {
    return stretched(RgbImage::filled(kEmptyRoomSide, kEmptyRoomSide, kTransparentColour),
                     kRoomSide, kRoomSide);
}

void CatRoom::reset() {
    picture = emptyRoom();
    loadedPath.clear();
    loadedSize = -1;
    loadedModified = 0;
}

RandomFurNoise::RandomFurNoise() : m_state(QRandomGenerator::global()->generate64()) {}

void RandomFurNoise::fill(std::span<std::int8_t> offsets) {
    std::size_t i = 0;
    while (i < offsets.size()) {
        // splitmix64
        quint64 z = (m_state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        z ^= z >> 31;
        for (int k = 0; k < 10 && i < offsets.size(); ++k, z >>= 6)
            offsets[i++] = std::int8_t(int(z & 63) - 32);
    }
}

CatFrameComposer::CatFrameComposer(int width, int height) {
    m_frame.width = width;
    m_frame.height = height;
    m_frame.rgb.resize(m_frame.stride() * height);
}

namespace {

bool sameColour(const std::uint8_t* p, Rgb c) {
    return p[0] == c.r && p[1] == c.g && p[2] == c.b;
}

std::uint8_t clampChannel(int v) {
    return std::uint8_t(std::clamp(v, 0, 255));
}

} // namespace

const RgbImage& CatFrameComposer::compose(const RgbImage& room, const RgbImage& cell, bool fur,
                                          FurNoise& noise) {
    const int width = m_frame.width;
    const int height = m_frame.height;
    if (room.width == width && room.height == height)
        std::memcpy(m_frame.rgb.data(), room.rgb.constData(), size_t(m_frame.rgb.size()));
    else
        m_frame.rgb = stretched(room.isNull() ? CatRoom::emptyRoom() : room, width, height).rgb;
    if (cell.isNull()) return m_frame;

    // Frame column x shows cell column x × cell width / width: cell column c covers the frame
    // columns from m_runStart[c] up to m_runStart[c + 1].
    m_runStart.resize(size_t(cell.width) + 1);
    for (int c = 0; c <= cell.width; ++c)
        m_runStart[size_t(c)] = int((qint64(c) * width + cell.width - 1) / cell.width);

    // One offset per body pixel, drawn in one go before the pixels that use them.
    std::size_t bodyPixels = 0;
    if (fur) {
        for (int y = 0; y < height; ++y) {
            const std::uint8_t* catRow = cell.line(int(qint64(y) * cell.height / height));
            for (int c = 0; c < cell.width; ++c)
                if (sameColour(catRow + 3 * c, kBodyColour))
                    bodyPixels += size_t(m_runStart[size_t(c) + 1] - m_runStart[size_t(c)]);
        }
    }
    m_offsets.resize(bodyPixels);
    noise.fill(m_offsets);

    const std::int8_t* offset = m_offsets.data();
    int carriedShade = 0; // the shade of the body pixel drawn last; none yet
    for (int y = 0; y < height; ++y)
        drawRow(y, cell.line(int(qint64(y) * cell.height / height)), fur, offset, carriedShade);
    return m_frame;
}

void CatFrameComposer::drawRow(int y, const std::uint8_t* catRow, bool fur,
                               const std::int8_t*& offset, int& carriedShade) {
    std::uint8_t* out = m_frame.line(y);
    const int cellWidth = int(m_runStart.size()) - 1;
    const int shade = y / kShadeRows;
    for (int c = 0; c < cellWidth; ++c) {
        const std::uint8_t* cat = catRow + 3 * c;
        const int first = m_runStart[size_t(c)];
        const int last = m_runStart[size_t(c) + 1];
        if (sameColour(cat, kTransparentColour)) continue;
        if (fur && sameColour(cat, kBodyColour)) {
            for (int x = first; x < last; ++x) {
                const int o = *offset++;
                int rgb[3] = {clampChannel(kBodyColour.r + o), clampChannel(kBodyColour.g + o),
                              clampChannel(kBodyColour.b + o)};
                rgb[0] = std::max(0, rgb[0] - carriedShade);
                rgb[2] = std::max(0, rgb[2] - carriedShade);
                carriedShade = shade;
                for (int k = 0; k < 3; ++k) {
                    if (rgb[k] > shade) rgb[k] -= shade;
                    out[3 * x + k] = std::uint8_t(rgb[k]);
                }
            }
            continue;
        }
        for (int x = first; x < last; ++x) {
            out[3 * x] = cat[0];
            out[3 * x + 1] = cat[1];
            out[3 * x + 2] = cat[2];
        }
    }
}

} // namespace pote::mascot
