#include "mascot/jpeg_decoder.h"

#include "core/file_io.h"

#include <QDir>

#include <csetjmp>
#include <cstdio> // jpeglib.h needs FILE and size_t declared first
#include <new>

#include <jerror.h>
#include <jpeglib.h>

namespace pote::mascot {

namespace {

using Status = JpegResult::Status;

// libjpeg calls error_exit on any failure and expects it never to return; its default ends the
// process. Ours jumps back into decodeJpeg, which releases the decoder and reports. Only this
// file's C-style frames and libjpeg's lie between setjmp and longjmp, so nothing with a
// destructor is skipped.
struct ErrorManager {
    jpeg_error_mgr pub; // first: libjpeg hands back a pointer to it
    std::jmp_buf jump;
    Status status = Status::Corrupt;
    bool headerRead = false;
    char message[JMSG_LENGTH_MAX] = {};
};

ErrorManager& errorsOf(j_common_ptr cinfo) {
    return *reinterpret_cast<ErrorManager*>(cinfo->err);
}

[[noreturn]] void jumpBack(j_common_ptr cinfo, Status status) {
    ErrorManager& err = errorsOf(cinfo);
    err.status = status;
    std::longjmp(err.jump, 1);
}

[[noreturn]] void refuseWithLibraryMessage(j_common_ptr cinfo, Status status) {
    (*cinfo->err->format_message)(cinfo, errorsOf(cinfo).message);
    jumpBack(cinfo, status);
}

void onError(j_common_ptr cinfo) {
    switch (cinfo->err->msg_code) {
    case JERR_OUT_OF_MEMORY:
    case JERR_IMAGE_TOO_BIG:
    case JERR_WIDTH_OVERFLOW:
        refuseWithLibraryMessage(cinfo, Status::TooLarge);
    case JERR_CONVERSION_NOTIMPL:
    case JERR_BAD_J_COLORSPACE:
        refuseWithLibraryMessage(cinfo, Status::UnsupportedColour);
    default:
        refuseWithLibraryMessage(cinfo, Status::Corrupt);
    }
}

// Warnings: libjpeg goes on after most of them (stray bytes, a bad code) and the picture is
// still worth showing. Data that ends before the picture does is different: the library would
// fill the rest with grey, so a photo cut short in a download, or whose data runs into a marker
// halfway, is refused, unless only its last row of blocks or its end marker is missing. This
// also stops a tiny file that claims a huge picture before it is decoded in vain.
void onMessage(j_common_ptr cinfo, int level) {
    if (level >= 0) // trace output
        return;
    const int code = cinfo->err->msg_code;
    if (code == JWRN_JPEG_EOF || code == JWRN_HIT_MARKER) {
        const auto* d = reinterpret_cast<j_decompress_ptr>(cinfo);
        const bool missingRows =
            !errorsOf(cinfo).headerRead || d->input_iMCU_row + 1 < d->total_iMCU_rows;
        if (missingRows)
            refuseWithLibraryMessage(cinfo,
                                     code == JWRN_JPEG_EOF ? Status::Truncated : Status::Corrupt);
    }
    cinfo->err->num_warnings++;
}

// Every scan of a progressive file passes over the whole picture again; a file made of
// thousands of tiny scans would keep the program busy for minutes.
void onProgress(j_common_ptr cinfo) {
    if (!cinfo->is_decompressor) return;
    const auto* d = reinterpret_cast<j_decompress_ptr>(cinfo);
    if (d->input_scan_number > kMaxJpegScans) {
        std::snprintf(errorsOf(cinfo).message, JMSG_LENGTH_MAX, "more than %d scans",
                      kMaxJpegScans);
        jumpBack(cinfo, Status::Corrupt);
    }
}

// The numerator over 8 of the smallest scale that keeps both sides at least minSide.
unsigned scaleNumerator(qint64 width, qint64 height, int minSide) {
    if (minSide <= 0) return 8;
    for (unsigned n = 1; n < 8; ++n) {
        // libjpeg rounds scaled sizes up.
        if ((width * n + 7) / 8 >= minSide && (height * n + 7) / 8 >= minSide) return n;
    }
    return 8;
}

// Adobe's programs write CMYK inverted (0 = full ink) and mark the file; libjpeg writes the
// same marker, so marked files are read that way and unmarked ones as plain ink values.
void cmykToRgb(const JSAMPLE* in, std::uint8_t* out, JDIMENSION width, bool inverted) {
    for (JDIMENSION x = 0; x < width; ++x, in += 4, out += 3) {
        const int k = inverted ? in[3] : 255 - in[3];
        for (int c = 0; c < 3; ++c) {
            const int v = inverted ? in[c] : 255 - in[c];
            out[c] = std::uint8_t((v * k + 127) / 255);
        }
    }
}

JpegResult refused(Status status, QString detail, int width = 0, int height = 0) {
    JpegResult result;
    result.status = status;
    result.detail = std::move(detail);
    result.fullWidth = width;
    result.fullHeight = height;
    return result;
}

} // namespace

JpegResult decodeJpeg(QByteArrayView bytes, int minSide, qint64 maxPixels) {
    if (bytes.isEmpty()) return refused(Status::Corrupt, QStringLiteral("empty file"));

    jpeg_decompress_struct cinfo{};
    ErrorManager err;
    jpeg_progress_mgr progress{};
    QByteArray pixels; // declared before setjmp, so a jump back never skips its destructor
    cinfo.err = jpeg_std_error(&err.pub);
    err.pub.error_exit = onError;
    err.pub.emit_message = onMessage;
    progress.progress_monitor = onProgress;

    if (setjmp(err.jump)) {
        const int width = int(cinfo.image_width);
        const int height = int(cinfo.image_height);
        jpeg_destroy_decompress(&cinfo);
        return refused(err.status, QString::fromLocal8Bit(err.message), width, height);
    }

    jpeg_create_decompress(&cinfo);
    cinfo.progress = &progress;
    jpeg_mem_src(&cinfo, reinterpret_cast<const unsigned char*>(bytes.data()),
                 static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&cinfo, TRUE);
    err.headerRead = true;
    const int fullWidth = int(cinfo.image_width);
    const int fullHeight = int(cinfo.image_height);

    // Decided from the header, before the library allocates anything of the picture's size.
    if (qint64(fullWidth) * fullHeight > maxPixels) {
        jpeg_destroy_decompress(&cinfo);
        return refused(Status::TooLarge,
                       QStringLiteral("%1×%2 pixels, at most %3 allowed")
                           .arg(fullWidth)
                           .arg(fullHeight)
                           .arg(maxPixels),
                       fullWidth, fullHeight);
    }

    bool cmyk = false;
    switch (cinfo.jpeg_color_space) {
    case JCS_GRAYSCALE:
    case JCS_YCbCr:
    case JCS_RGB:
        cinfo.out_color_space = JCS_RGB;
        break;
    case JCS_CMYK:
    case JCS_YCCK:
        // libjpeg turns YCCK into CMYK but neither into RGB; the last step is ours.
        cinfo.out_color_space = JCS_CMYK;
        cmyk = true;
        break;
    default:
        jpeg_destroy_decompress(&cinfo);
        return refused(Status::UnsupportedColour,
                       QStringLiteral("colour space %1 with %2 components")
                           .arg(int(cinfo.jpeg_color_space))
                           .arg(cinfo.num_components),
                       fullWidth, fullHeight);
    }
    cinfo.scale_num = scaleNumerator(fullWidth, fullHeight, minSide);
    cinfo.scale_denom = 8;

    jpeg_start_decompress(&cinfo);
    const JDIMENSION width = cinfo.output_width;
    const JDIMENSION height = cinfo.output_height;
    const qsizetype stride = qsizetype(width) * 3;
    try {
        pixels.resize(stride * height);
    } catch (const std::bad_alloc&) {
        jpeg_destroy_decompress(&cinfo);
        return refused(Status::TooLarge, QStringLiteral("out of memory"), fullWidth, fullHeight);
    }
    JSAMPARRAY cmykRow = cmyk ? (*cinfo.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&cinfo),
                                                           JPOOL_IMAGE, width * 4, 1)
                              : nullptr;
    auto* out = reinterpret_cast<std::uint8_t*>(pixels.data());
    while (cinfo.output_scanline < height) {
        std::uint8_t* line = out + cinfo.output_scanline * stride;
        JSAMPROW row = cmyk ? cmykRow[0] : line;
        // A memory source never suspends, so every call delivers its row.
        if (jpeg_read_scanlines(&cinfo, &row, 1) != 1) {
            jpeg_destroy_decompress(&cinfo);
            return refused(Status::Corrupt,
                           QStringLiteral("no data for row %1").arg(int(cinfo.output_scanline)),
                           fullWidth, fullHeight);
        }
        if (cmyk) cmykToRgb(cmykRow[0], line, width, cinfo.saw_Adobe_marker);
    }
    // Whatever follows the last row (trailing markers, stray bytes) cannot change the picture.
    jpeg_destroy_decompress(&cinfo);

    JpegResult result;
    result.status = Status::Ok;
    result.fullWidth = fullWidth;
    result.fullHeight = fullHeight;
    result.image.width = int(width);
    result.image.height = int(height);
    result.image.rgb = std::move(pixels);
    return result;
}

JpegResult loadJpeg(const QString& path, int minSide) {
    const QString shown = QDir::toNativeSeparators(path);
    RegularFileReadOptions options;
    options.maxBytes = kMaxJpegFileBytes;
    const Result<RegularFileRead> read = readRegularFile(path, options);
    if (!read) return refused(Status::CannotRead, shown + QStringLiteral(": ") + read.error().text);
    if (!read->bytes)
        return refused(
            Status::TooLarge,
            QStringLiteral("%1 bytes, at most %2 read").arg(read->size).arg(kMaxJpegFileBytes));
    return decodeJpeg(*read->bytes, minSide);
}

} // namespace pote::mascot
