#include "editing/character_count.h"

#include "core/cp932.h"
#include "vertical/layout.h"

namespace pote {

namespace {

bool isSpace(QByteArrayView t, qsizetype i, int len) {
    const auto b = static_cast<unsigned char>(t[i]);
    if (len == 1) return b == ' ' || b == '\t';
    return b == 0x81 && static_cast<unsigned char>(t[i + 1]) == 0x40; // full-width space
}

} // namespace

CharacterCount& CharacterCount::operator+=(const CharacterCount& other) {
    characters += other.characters;
    nonSpace += other.nonSpace;
    lines += other.lines;
    bytes += other.bytes;
    manuscriptRows += other.manuscriptRows;
    manuscriptPages += other.manuscriptPages;
    return *this;
}

CharacterCount count_characters_without_pages(QByteArrayView text) {
    CharacterCount c;
    c.bytes = text.size();
    bool inLine = false;
    for (qsizetype i = 0; i < text.size();) {
        const auto b = static_cast<unsigned char>(text[i]);
        if (b == '\n' || b == '\r') {
            i += (b == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ? 2 : 1;
            ++c.lines;
            inLine = false;
            continue;
        }
        const int len = cp932::isLeadByte(b) ? cp932::charLengthAt(text, i) : 1;
        ++c.characters;
        if (!isSpace(text, i, len)) ++c.nonSpace;
        inLine = true;
        i += len;
    }
    if (inLine) ++c.lines;
    return c;
}

CharacterCount count_characters(QByteArrayView text) {
    CharacterCount c = count_characters_without_pages(text);
    const vertical::PageTally manuscript =
        vertical::tally_pages(text, {}, vertical::PageFormat::genkou());
    c.manuscriptRows = manuscript.lines;
    c.manuscriptPages = manuscript.pages;
    return c;
}

} // namespace pote
