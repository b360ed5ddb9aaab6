#include "mascot/rgb_image.h"

#include <algorithm>
#include <vector>

namespace pote::mascot {

RgbImage RgbImage::filled(int width, int height, Rgb colour) {
    RgbImage image;
    image.width = width;
    image.height = height;
    image.rgb.resize(qsizetype(width) * height * 3);
    auto* p = reinterpret_cast<std::uint8_t*>(image.rgb.data());
    for (qsizetype i = 0, n = qsizetype(width) * height; i < n; ++i, p += 3) {
        p[0] = colour.r;
        p[1] = colour.g;
        p[2] = colour.b;
    }
    return image;
}

namespace {

// The source span [first, last) that target index i of n covers, for a source of length size:
// at least one source index, so that enlarging repeats pixels instead of leaving gaps.
struct Span {
    int first = 0;
    int last = 0;
};

std::vector<Span> spans(int size, int n) {
    std::vector<Span> out(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) {
        const int first = int(qint64(i) * size / n);
        const int last = int(qint64(i + 1) * size / n);
        out[size_t(i)] = {first, std::max(last, first + 1)};
    }
    return out;
}

} // namespace

RgbImage stretched(const RgbImage& source, int width, int height) {
    RgbImage out;
    if (source.isNull() || width <= 0 || height <= 0) return out;
    out.width = width;
    out.height = height;
    out.rgb.resize(out.stride() * height);
    const std::vector<Span> columns = spans(source.width, width);
    const std::vector<Span> rows = spans(source.height, height);
    // Sums of one target row; 64 bits, as a very wide source can pour many pixels into one.
    std::vector<quint64> sum(size_t(width) * 3);
    for (int y = 0; y < height; ++y) {
        std::fill(sum.begin(), sum.end(), 0);
        const Span rowSpan = rows[size_t(y)];
        for (int sy = rowSpan.first; sy < rowSpan.last; ++sy) {
            const std::uint8_t* in = source.line(sy);
            for (int x = 0; x < width; ++x) {
                const Span c = columns[size_t(x)];
                quint64 r = 0, g = 0, b = 0;
                for (int sx = c.first; sx < c.last; ++sx) {
                    r += in[3 * sx];
                    g += in[3 * sx + 1];
                    b += in[3 * sx + 2];
                }
                sum[3 * size_t(x)] += r;
                sum[3 * size_t(x) + 1] += g;
                sum[3 * size_t(x) + 2] += b;
            }
        }
        std::uint8_t* o = out.line(y);
        for (int x = 0; x < width; ++x) {
            const Span c = columns[size_t(x)];
            const quint64 count = quint64(c.last - c.first) * quint64(rowSpan.last - rowSpan.first);
            for (int k = 0; k < 3; ++k)
                o[3 * x + k] = std::uint8_t((sum[3 * size_t(x) + k] + count / 2) / count);
        }
    }
    return out;
}

} // namespace pote::mascot
