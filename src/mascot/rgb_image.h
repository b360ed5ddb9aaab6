#pragma once
// Pictures as plain 24-bit pixel buffers: what the JPEG decoder produces and the cat window
// composes, with no window system behind them.

#include <QByteArray>

#include <cstdint>

namespace pote::mascot {

struct Rgb {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

// Rows top to bottom, each exactly width × 3 bytes (R, G, B), no padding.
struct RgbImage {
    int width = 0;
    int height = 0;
    QByteArray rgb;

    bool isNull() const { return width <= 0 || height <= 0; }
    qsizetype stride() const { return qsizetype(width) * 3; }
    const std::uint8_t* line(int y) const {
        return reinterpret_cast<const std::uint8_t*>(rgb.constData()) + y * stride();
    }
    std::uint8_t* line(int y) { return reinterpret_cast<std::uint8_t*>(rgb.data()) + y * stride(); }
    Rgb pixel(int x, int y) const {
        const std::uint8_t* p = line(y) + 3 * x;
        return {p[0], p[1], p[2]};
    }
    void setPixel(int x, int y, Rgb c) {
        std::uint8_t* p = line(y) + 3 * x;
        p[0] = c.r;
        p[1] = c.g;
        p[2] = c.b;
    }

    static RgbImage filled(int width, int height, Rgb colour);
};

// The picture resized to width × height. Each target pixel is the average of the source pixels
// it covers, so a large photo shrinks without the glitter of dropped pixels; when the source is
// smaller, each source pixel becomes a block, as a plain stretch would draw it.
RgbImage stretched(const RgbImage& source, int width, int height);

} // namespace pote::mascot
