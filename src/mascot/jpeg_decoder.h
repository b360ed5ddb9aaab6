#pragma once
// JPEG pictures decoded with libjpeg into 24-bit RGB. A picture file is anything the user
// points at, so every failure of the library comes back as a refusal with a reason (never an
// exit or a crash), and sizes are checked from the header before any pixel memory is taken.

#include "mascot/rgb_image.h"

#include <QByteArrayView>
#include <QString>

namespace pote::mascot {

// 100 megapixels: more than any camera of today, little enough to decode in memory.
inline constexpr qint64 kMaxPicturePixels = 100'000'000;
// Larger files are refused before they are read; a 100-megapixel photo is far smaller.
inline constexpr qint64 kMaxJpegFileBytes = qint64(256) << 20;
// A progressive picture needs a handful of scans; thousands only make a hostile file slow.
inline constexpr int kMaxJpegScans = 100;

struct JpegResult {
    enum class Status {
        Ok,
        CannotRead,        // missing, unreadable or not a regular file
        Corrupt,           // not a JPEG, or damaged beyond decoding
        Truncated,         // the data ends before the picture does
        TooLarge,          // above the pixel limit, kMaxJpegFileBytes or the memory at hand
        UnsupportedColour, // a colour space other than grey, YCbCr, RGB, CMYK or YCCK
    };
    Status status = Status::CannotRead;
    RgbImage image;    // filled only when Ok
    int fullWidth = 0; // the picture's size before scaling, once the header was read
    int fullHeight = 0;
    QString detail; // why it was refused, for the log
    bool ok() const { return status == Status::Ok; }
};

// Decodes a whole JPEG file image. With minSide > 0 the picture is decoded at the smallest of
// libjpeg's scales 1/8 … 8/8 that still gives at least minSide pixels on each side (never
// enlarged), which makes a camera photo meant for a small picture several times quicker.
// Pictures of more than maxPixels are refused from their header.
JpegResult decodeJpeg(QByteArrayView bytes, int minSide = 0, qint64 maxPixels = kMaxPicturePixels);
JpegResult loadJpeg(const QString& path, int minSide = 0);

} // namespace pote::mascot
