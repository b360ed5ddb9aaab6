#include "jpeg_writer.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <vector>

#include <jpeglib.h>

namespace pote::test {

namespace {

// Writing a test picture cannot fail short of a broken test; say why and stop.
[[noreturn]] void failHard(j_common_ptr cinfo) {
    (*cinfo->err->output_message)(cinfo);
    std::abort();
}

// Inverted CMYK as Adobe's programs write it: R = C × K / 255 and so on, K the brightest channel.
void toInvertedCmyk(const std::uint8_t* rgb, std::uint8_t* cmyk, int width) {
    for (int x = 0; x < width; ++x, rgb += 3, cmyk += 4) {
        const int k = std::max({rgb[0], rgb[1], rgb[2]});
        for (int c = 0; c < 3; ++c)
            cmyk[c] = std::uint8_t(k == 0 ? 0 : (rgb[c] * 255 + k / 2) / k);
        cmyk[3] = std::uint8_t(k);
    }
}

} // namespace

QByteArray encodeJpeg(const mascot::RgbImage& image, const JpegOptions& options) {
    jpeg_compress_struct cinfo{};
    jpeg_error_mgr err{};
    cinfo.err = jpeg_std_error(&err);
    err.error_exit = failHard;
    jpeg_create_compress(&cinfo);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &buffer, &size);
    cinfo.image_width = JDIMENSION(image.width);
    cinfo.image_height = JDIMENSION(image.height);
    using Colour = JpegOptions::Colour;
    switch (options.colour) {
    case Colour::Rgb:
    case Colour::Grey:
        cinfo.input_components = 3;
        cinfo.in_color_space = JCS_RGB;
        break;
    case Colour::Cmyk:
    case Colour::Ycck:
        cinfo.input_components = 4;
        cinfo.in_color_space = JCS_CMYK;
        break;
    }
    jpeg_set_defaults(&cinfo);
    if (options.colour == Colour::Grey) jpeg_set_colorspace(&cinfo, JCS_GRAYSCALE);
    if (options.colour == Colour::Ycck) jpeg_set_colorspace(&cinfo, JCS_YCCK);
    jpeg_set_quality(&cinfo, options.quality, TRUE);
    std::vector<jpeg_scan_info> scans;
    if (options.everyCoefficientAScan) {
        jpeg_scan_info dc{};
        dc.comps_in_scan = cinfo.num_components;
        for (int c = 0; c < cinfo.num_components; ++c)
            dc.component_index[c] = c;
        scans.push_back(dc);
        for (int c = 0; c < cinfo.num_components; ++c) {
            for (int k = 1; k < 64; ++k) {
                jpeg_scan_info ac{};
                ac.comps_in_scan = 1;
                ac.component_index[0] = c;
                ac.Ss = k;
                ac.Se = k;
                scans.push_back(ac);
            }
        }
        cinfo.scan_info = scans.data();
        cinfo.num_scans = int(scans.size());
    } else if (options.progressive) {
        jpeg_simple_progression(&cinfo);
    }
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<std::uint8_t> row(size_t(image.width) * 4);
    while (cinfo.next_scanline < cinfo.image_height) {
        const std::uint8_t* line = image.line(int(cinfo.next_scanline));
        JSAMPROW rowPointer = const_cast<JSAMPROW>(line);
        if (cinfo.in_color_space == JCS_CMYK) {
            toInvertedCmyk(line, row.data(), image.width);
            rowPointer = row.data();
        }
        jpeg_write_scanlines(&cinfo, &rowPointer, 1);
    }
    jpeg_finish_compress(&cinfo);
    QByteArray out(reinterpret_cast<const char*>(buffer), qsizetype(size));
    jpeg_destroy_compress(&cinfo);
    std::free(buffer);
    return out;
}

mascot::RgbImage quadrants(int width, int height) {
    mascot::RgbImage image = mascot::RgbImage::filled(width, height, {});
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const bool right = x >= width / 2;
            const bool bottom = y >= height / 2;
            const int q = bottom ? (right ? 2 : 3) : (right ? 1 : 0);
            image.setPixel(x, y, kQuadrantColours[q]);
        }
    return image;
}

QByteArray withClaimedSize(QByteArray jpeg, int width, int height) {
    // The first start-of-frame marker (baseline, extended or progressive): FF C0..C2, then
    // length (2), precision (1), height (2), width (2).
    for (qsizetype i = 2; i + 9 < jpeg.size(); ++i) {
        const auto marker = std::uint8_t(jpeg[i + 1]);
        if (std::uint8_t(jpeg[i]) == 0xFF && marker >= 0xC0 && marker <= 0xC2) {
            jpeg[i + 5] = char(height >> 8);
            jpeg[i + 6] = char(height & 0xFF);
            jpeg[i + 7] = char(width >> 8);
            jpeg[i + 8] = char(width & 0xFF);
            return jpeg;
        }
    }
    throw std::runtime_error("no frame header");
}

} // namespace pote::test
