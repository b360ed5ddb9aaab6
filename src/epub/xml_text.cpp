#include "epub/xml_text.h"

namespace pote::epub {

namespace {

char* writeUtf8(char* at, char32_t c) {
    if (c < 0x80) {
        *at++ = char(c);
    } else if (c < 0x800) {
        *at++ = char(0xC0 | (c >> 6));
        *at++ = char(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        *at++ = char(0xE0 | (c >> 12));
        *at++ = char(0x80 | ((c >> 6) & 0x3F));
        *at++ = char(0x80 | (c & 0x3F));
    } else {
        *at++ = char(0xF0 | (c >> 18));
        *at++ = char(0x80 | ((c >> 12) & 0x3F));
        *at++ = char(0x80 | ((c >> 6) & 0x3F));
        *at++ = char(0x80 | (c & 0x3F));
    }
    return at;
}

// Quotes are escaped everywhere, so that the same text may go into an attribute.
char* writeCharacter(char* at, char32_t c) {
    const auto put = [&at](const char* escaped, int n) {
        for (int k = 0; k < n; ++k)
            *at++ = escaped[k];
        return at;
    };
    switch (c) {
    case '&':
        return put("&amp;", 5);
    case '<':
        return put("&lt;", 4);
    case '>':
        return put("&gt;", 4);
    case '"':
        return put("&quot;", 6);
    default:
        return writeUtf8(at, c);
    }
}

bool appendCharacter(QByteArray& out, char32_t c) {
    if (!isBookCharacter(c)) return false;
    const qsizetype start = out.size();
    out.resize(start + kMaxEscapedBytes);
    out.truncate(writeCharacter(out.data() + start, c) - out.constData());
    return true;
}

} // namespace

char* writeShortXmlUnit(char* at, char16_t unit) {
    return writeCharacter(at, unit);
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
