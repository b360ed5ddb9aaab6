#include "epub/xml_text.h"

namespace pote::epub {

namespace {

void appendUtf8(QByteArray& out, char32_t c) {
    if (c < 0x80) {
        out.append(char(c));
    } else if (c < 0x800) {
        const char bytes[] = {char(0xC0 | (c >> 6)), char(0x80 | (c & 0x3F))};
        out.append(bytes, 2);
    } else if (c < 0x10000) {
        const char bytes[] = {char(0xE0 | (c >> 12)), char(0x80 | ((c >> 6) & 0x3F)),
                              char(0x80 | (c & 0x3F))};
        out.append(bytes, 3);
    } else {
        const char bytes[] = {char(0xF0 | (c >> 18)), char(0x80 | ((c >> 12) & 0x3F)),
                              char(0x80 | ((c >> 6) & 0x3F)), char(0x80 | (c & 0x3F))};
        out.append(bytes, 4);
    }
}

// The escaped form of c, or nullptr when c stands for itself. Quotes are escaped everywhere, so
// that the same text may go into an attribute.
const char* escapeOf(char32_t c) {
    switch (c) {
    case '&':
        return "&amp;";
    case '<':
        return "&lt;";
    case '>':
        return "&gt;";
    case '"':
        return "&quot;";
    default:
        return nullptr;
    }
}

bool appendCharacter(QByteArray& out, char32_t c) {
    if (!isBookCharacter(c)) return false;
    if (const char* escaped = escapeOf(c))
        out.append(escaped);
    else
        appendUtf8(out, c);
    return true;
}

} // namespace

bool appendXmlChar(QByteArray& out, char16_t unit) {
    return appendCharacter(out, unit);
}

qsizetype appendXmlText(QByteArray& out, QStringView text) {
    qsizetype dropped = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        char32_t c = text[i].unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            c = QChar::surrogateToUcs4(text[i].unicode(), text[i + 1].unicode());
            ++i;
        }
        if (!appendCharacter(out, c)) ++dropped;
    }
    return dropped;
}

QByteArray xmlText(QStringView text, qsizetype* dropped) {
    QByteArray out;
    out.reserve(text.size() * 3);
    const qsizetype n = appendXmlText(out, text);
    if (dropped) *dropped = n;
    return out;
}

} // namespace pote::epub
