// Any bytes as a section's text for vertical writing: the markup is read without a crash or a
// read outside the input, every character shown is one typed, at its own offset and in order,
// and every span lies inside its paragraph.

#include "vertical/notation.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace pote::vertical;
    const QByteArrayView text(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    qint64 previous = -1;
    forEachParagraph(text, [&](const Paragraph& p) {
        for (const TextChar& c : p.chars) {
            if (qint64(c.offset) <= previous || c.offset >= size) __builtin_trap();
            previous = c.offset;
        }
        for (const RubySpan& r : p.ruby)
            if (r.first < 0 || r.first >= r.last || r.last > p.chars.size() ||
                r.reading.isEmpty() || r.reading.size() > 50)
                __builtin_trap();
        for (qsizetype k = 0; k < p.emphasis.size(); ++k)
            if (p.emphasis[k].first >= p.emphasis[k].last || p.emphasis[k].last > p.chars.size() ||
                (k > 0 ? p.emphasis[k - 1].last : 0) > p.emphasis[k].first)
                __builtin_trap();
        return true;
    });
    return 0;
}
