#include "editing/character_count.h"

#include "core/cp932.h"

namespace pote {

namespace {

constexpr qint64 ceilDiv(qint64 a, qint64 b) {
    return (a + b - 1) / b;
}

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

CharacterCount count_characters(QByteArrayView text) {
    CharacterCount c;
    c.bytes = text.size();
    qint64 paragraph = 0; // characters of the line so far
    bool inLine = false;
    auto endLine = [&] {
        ++c.lines;
        c.manuscriptRows += paragraph == 0 ? 1 : ceilDiv(paragraph, kManuscriptColumns);
        paragraph = 0;
        inLine = false;
    };
    for (qsizetype i = 0; i < text.size();) {
        const auto b = static_cast<unsigned char>(text[i]);
        if (b == '\n' || b == '\r') {
            i += (b == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ? 2 : 1;
            endLine();
            continue;
        }
        const int len = cp932::isLeadByte(b) ? cp932::charLengthAt(text, i) : 1;
        ++c.characters;
        if (!isSpace(text, i, len)) ++c.nonSpace;
        ++paragraph;
        inLine = true;
        i += len;
    }
    if (inLine) endLine();
    c.manuscriptPages = ceilDiv(c.manuscriptRows, kManuscriptRowsPerPage);
    return c;
}

} // namespace pote
