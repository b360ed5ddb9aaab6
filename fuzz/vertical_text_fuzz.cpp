// Any bytes as a section's text for vertical writing: the markup is read without a crash or a
// read outside the input, every character shown is one typed, at its own offset and in order,
// and every span lies inside its paragraph; the layout places each of those characters exactly
// once, no line longer than the paper allows, and its page count agrees with the count's.

#include "vertical/layout.h"
#include "vertical/notation.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace pote::vertical;
    const QByteArrayView text(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    qint64 previous = -1;
    qint64 characters = 0;
    forEachParagraph(text, [&](const Paragraph& p) {
        for (const TextChar& c : p.chars) {
            if (qint64(c.offset) <= previous || c.offset >= size) __builtin_trap();
            previous = c.offset;
        }
        characters += p.chars.size();
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

    PageFormat format = *PageFormat::fromName(u"10x10");
    format.sectionNameFirst = size > 0 && data[0] % 2;
    SectionLayout layout(text.toByteArray(), "name", format);
    qint64 shown = 0;
    for (int n = 0; n < layout.pageCount(); ++n) {
        const Page page = layout.page(n);
        if (page.lines.size() > format.linesPerPage) __builtin_trap();
        for (const Line& line : page.lines) {
            if (line.cells.size() > format.charsPerLine + 1) __builtin_trap();
            for (const Cell& c : line.cells)
                shown += c.ch[1] ? 2 : 1;
        }
    }
    if (shown != characters + (format.sectionNameFirst ? 4 : 0)) __builtin_trap();
    if (count_pages(text, "name", format) != (layout.lineCount() ? layout.pageCount() : 0))
        __builtin_trap();
    return 0;
}
