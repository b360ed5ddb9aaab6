// Any bytes given as a room picture: refused or decoded, never a crash, an exit or a read
// outside the input, and a decoded picture always holds exactly its pixels. Both the full-size
// and the scaled decoding paths are exercised. Pictures are capped at 4 megapixels here: the
// code paths are the same as for larger ones, and a few-hundred-byte file claiming 100
// megapixels would otherwise take the fuzzer seconds per run under the sanitizers.

#include "mascot/jpeg_decoder.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    for (const int minSide : {0, 480}) {
        const auto result = pote::mascot::decodeJpeg(bytes, minSide, qint64(1) << 22);
        if (result.ok()) {
            const auto& image = result.image;
            if (image.isNull() || image.rgb.size() != qsizetype(image.width) * image.height * 3 ||
                image.width > result.fullWidth || image.height > result.fullHeight)
                __builtin_trap();
        } else if (!result.image.rgb.isEmpty()) {
            __builtin_trap();
        }
    }
    return 0;
}
