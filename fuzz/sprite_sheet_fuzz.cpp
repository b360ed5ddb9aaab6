// Any bytes given as the mascot's sprite sheet: refused or decoded, never a crash, never a read
// outside the input, and a decoded sheet always holds exactly its pixels.

#include "mascot/sprite_sheet.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto result = pote::mascot::decodeSheet(
        QByteArrayView(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
    if (result.ok()) {
        const auto& sheet = result.sheet;
        if (sheet.rgb.size() != qsizetype(sheet.width()) * sheet.height() * 3) __builtin_trap();
    }
    return 0;
}
