// Any bytes given as a linked text: split or refused, never a crash, never a read outside the
// input; the split always matches the headers found, and the line form is a fixed point.

#include "core/text_lines.h"
#include "textio/linked_text.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QByteArray lines = pote::read_as_lines(bytes);
    if (!pote::is_in_line_form(lines) || pote::read_as_lines(lines) != lines) __builtin_trap();
    const pote::Result<pote::LinkedTextRead> r = pote::parse_linked_text(lines);
    if (r && (r->headers < 1 || r->headers > 500 ||
              r->content.sections.size() != static_cast<size_t>(r->headers)))
        __builtin_trap();
    return 0;
}
