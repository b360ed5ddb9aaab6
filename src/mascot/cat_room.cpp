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
    // A local state: bytes written through out could otherwise be the state, for all the
    // compiler knows, and it would store and reload it every round.
    quint64 state = m_state;
    auto eightOffsets = [&state] {
        // splitmix64
        quint64 z = (state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        z ^= z >> 31;
        // Eight 6-bit values, each sign-extended to a byte: −32 … 31, all equally likely.
        quint64 w = z & 0x3F3F3F3F3F3F3F3Full;
        const quint64 sign = w & 0x2020202020202020ull;
        return w | (sign << 1) | (sign << 2);
    };
    std::int8_t* out = offsets.data();
    std::size_t left = offsets.size();
    for (; left >= 8; left -= 8, out += 8) {
        const quint64 w = eightOffsets();
        std::memcpy(out, &w, 8);
    }
    if (left > 0) {
        const quint64 w = eightOffsets();
        std::memcpy(out, &w, left);
    }
    m_state = state;
}

Rgb furColour(int offset, int carriedShade, int shade) {
    int rgb[3] = {std::clamp(kBodyColour.r + offset, 0, 255),
                  std::clamp(kBodyColour.g + offset, 0, 255),
                  std::clamp(kBodyColour.b + offset, 0, 255)};
    rgb[0] = std::max(0, rgb[0] - carriedShade);
    rgb[2] = std::max(0, rgb[2] - carriedShade);
    for (int& v : rgb)
        if (v > shade) v -= shade;
    return {std::uint8_t(rgb[0]), std::uint8_t(rgb[1]), std::uint8_t(rgb[2])};
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

} // namespace

void CatFrameComposer::prepareCatRows(const RgbImage& cell, bool fur) {
    const int width = m_frame.width;
    // Frame column x shows cell column x × cell width / width: cell column c covers the frame
    // columns from m_runStart[c] up to m_runStart[c + 1].
    m_runStart.resize(size_t(cell.width) + 1);
    for (int c = 0; c <= cell.width; ++c)
        m_runStart[size_t(c)] = int((qint64(c) * width + cell.width - 1) / cell.width);

    m_catRows.resize(size_t(cell.height) * size_t(width) * 3);
    m_runs.clear();
    m_catRunsAt.assign(size_t(cell.height) + 1, 0);
    m_bodyRunsAt.assign(size_t(cell.height) + 1, 0);
    m_bodyPixels.assign(size_t(cell.height), 0);
    // Neighbouring cells of the same kind make one run, so that a row is a few long copies.
    auto addRun = [this](int cy, int first, int last) {
        if (first == last) return;
        if (int(m_runs.size()) > m_catRunsAt[size_t(cy)] && m_runs.back().last == first)
            m_runs.back().last = last;
        else
            m_runs.push_back({first, last});
    };
    std::vector<Run> bodyRuns;
    for (int cy = 0; cy < cell.height; ++cy) {
        const std::uint8_t* in = cell.line(cy);
        std::uint8_t* line = m_catRows.data() + size_t(cy) * size_t(width) * 3;
        m_catRunsAt[size_t(cy)] = int(m_runs.size());
        const size_t bodyRunsBefore = bodyRuns.size();
        for (int c = 0; c < cell.width; ++c) {
            const std::uint8_t* p = in + 3 * c;
            const int first = m_runStart[size_t(c)];
            const int last = m_runStart[size_t(c) + 1];
            if (sameColour(p, kTransparentColour)) continue;
            for (int x = first; x < last; ++x) {
                line[3 * x] = p[0];
                line[3 * x + 1] = p[1];
                line[3 * x + 2] = p[2];
            }
            addRun(cy, first, last);
            if (fur && sameColour(p, kBodyColour) && first < last) {
                m_bodyPixels[size_t(cy)] += last - first;
                if (bodyRuns.size() > bodyRunsBefore && bodyRuns.back().last == first)
                    bodyRuns.back().last = last;
                else
                    bodyRuns.push_back({first, last});
            }
        }
        m_catRunsAt[size_t(cy) + 1] = int(m_runs.size());
        // Body runs are kept apart until every cat run is known; their starts are fixed below.
        m_bodyRunsAt[size_t(cy) + 1] = int(bodyRuns.size());
    }
    const int bodyBase = int(m_runs.size());
    for (int& at : m_bodyRunsAt)
        at += bodyBase;
    m_runs.insert(m_runs.end(), bodyRuns.begin(), bodyRuns.end());
}

const RgbImage& CatFrameComposer::compose(const RgbImage& room, const RgbImage& cell, bool fur,
                                          FurNoise& noise) {
    const int width = m_frame.width;
    const int height = m_frame.height;
    if (room.width == width && room.height == height)
        std::memcpy(m_frame.rgb.data(), room.rgb.constData(), size_t(m_frame.rgb.size()));
    else
        m_frame.rgb = stretched(room.isNull() ? CatRoom::emptyRoom() : room, width, height).rgb;
    if (cell.isNull()) return m_frame;

    prepareCatRows(cell, fur);
    auto cellRowOf = [&](int y) { return int(qint64(y) * cell.height / height); };

    // One offset per body pixel, drawn in one go before the pixels that use them.
    std::size_t bodyPixels = 0;
    if (fur)
        for (int y = 0; y < height; ++y)
            bodyPixels += size_t(m_bodyPixels[size_t(cellRowOf(y))]);
    m_offsets.resize(bodyPixels);
    if (bodyPixels > 0) noise.fill(m_offsets);
    m_nextOffset = m_offsets.data();
    m_carriedShade = 0;

    for (int y = 0; y < height; ++y) {
        const int cy = cellRowOf(y);
        std::uint8_t* out = m_frame.line(y);
        const std::uint8_t* cat = m_catRows.data() + size_t(cy) * size_t(width) * 3;
        for (int r = m_catRunsAt[size_t(cy)]; r < m_catRunsAt[size_t(cy) + 1]; ++r) {
            const Run run = m_runs[size_t(r)];
            std::memcpy(out + 3 * run.first, cat + 3 * run.first, size_t(run.last - run.first) * 3);
        }
        if (fur && m_bodyPixels[size_t(cy)] > 0) drawFur(out, y, cy);
    }
    return m_frame;
}

void CatFrameComposer::drawFur(std::uint8_t* out, int y, int cellRow) {
    // Within a row every body pixel has the same shade, so all but the row's first (which
    // carries the shade of an earlier row) take their colour from a table of the 64 offsets.
    // The row is written through a byte pointer, which might point anywhere as far as the
    // compiler knows: the offset pointer is kept in a local.
    const int shade = y / kShadeRows;
    // A row's colours depend on its shade alone, so each shade's table is made once.
    if (size_t(shade) >= m_furTables.size()) m_furTables.resize(size_t(shade) + 1);
    FurTable& entry = m_furTables[size_t(shade)];
    if (!entry.built) {
        for (int o = -32; o < 32; ++o) {
            const Rgb c = furColour(o, shade, shade);
            entry.colour[size_t(o + 32)] =
                std::uint32_t(c.r) | std::uint32_t(c.g) << 8 | std::uint32_t(c.b) << 16;
        }
        entry.built = true;
    }
    const std::uint32_t* table = entry.colour.data();
    const std::int8_t* next = m_nextOffset;
    bool first = true;
    for (int r = m_bodyRunsAt[size_t(cellRow)]; r < m_bodyRunsAt[size_t(cellRow) + 1]; ++r) {
        const Run run = m_runs[size_t(r)];
        int x = run.first;
        if (first) {
            const Rgb c = furColour(*next++, m_carriedShade, shade);
            out[3 * x] = c.r;
            out[3 * x + 1] = c.g;
            out[3 * x + 2] = c.b;
            ++x;
            first = false;
        }
        // Four bytes at a time; the fourth lands on the next pixel, which is written after.
        for (; x + 1 < run.last; ++x)
            std::memcpy(out + 3 * x, &table[*next++ + 32], 4);
        if (x < run.last) {
            const std::uint32_t c = table[*next++ + 32];
            out[3 * x] = std::uint8_t(c);
            out[3 * x + 1] = std::uint8_t(c >> 8);
            out[3 * x + 2] = std::uint8_t(c >> 16);
        }
    }
    m_nextOffset = next;
    m_carriedShade = shade;
}

} // namespace pote::mascot
