#pragma once
// JPEG files for the tests, written with libjpeg at test time: every colour space and coding
// the decoder must cope with, without committing pictures to the repository.

#include "mascot/rgb_image.h"

#include <QByteArray>

namespace pote::test {

struct JpegOptions {
    enum class Colour { Rgb, Grey, Cmyk, Ycck };
    Colour colour = Colour::Rgb;
    int quality = 95;
    bool progressive = false;
    // A progressive file with one scan per component and coefficient: the most scans a valid
    // file can have (1 + 63 per component).
    bool everyCoefficientAScan = false;
};

QByteArray encodeJpeg(const mascot::RgbImage& image, const JpegOptions& options = {});

// Four solid quadrants: red, green, blue and white from the top left, clockwise.
mascot::RgbImage quadrants(int width, int height);
inline constexpr mascot::Rgb kQuadrantColours[4] = {
    {220, 30, 30}, {30, 200, 40}, {240, 240, 240}, {30, 40, 210}};

// The same file claiming another size in its frame header.
QByteArray withClaimedSize(QByteArray jpeg, int width, int height);

} // namespace pote::test
