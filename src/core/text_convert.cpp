#include "core/text_convert.h"

#include "core/cp932.h"

#include <cstring>

namespace pote {

QByteArray strip_trailing_nul(QByteArray text) {
    qsizetype n = text.size();
    while (n > 0 && text.at(n - 1) == '\0')
        --n;
    if (n != text.size()) text.truncate(n);
    return text;
}

QByteArray expand_tabs(const QByteArray& text, int tabWidth) {
    const char* src = text.constData();
    const qsizetype size = text.size();
    const char* tab = static_cast<const char*>(std::memchr(src, '\t', static_cast<size_t>(size)));
    if (!tab) return text;
    if (tabWidth < 1) tabWidth = 1;

    QByteArray out;
    out.reserve(size + size / 4 + tabWidth);
    // Runs between tabs are copied whole. A tab's column is its distance, in output bytes,
    // from the last LF written (expansions never contain an LF).
    qsizetype outLineStart = 0;
    qsizetype pos = 0;
    while (tab) {
        const qsizetype at = tab - src;
        const qsizetype runLength = at - pos;
        if (const void* lf = memrchr(src + pos, '\n', static_cast<size_t>(runLength)))
            outLineStart = out.size() + (static_cast<const char*>(lf) - (src + pos)) + 1;
        out.append(src + pos, runLength);
        const qsizetype column = out.size() - outLineStart + 1;
        const int n = tabWidth - static_cast<int>((column - 1) % tabWidth);
        out.append(n, ' ');
        pos = at + 1;
        tab =
            static_cast<const char*>(std::memchr(src + pos, '\t', static_cast<size_t>(size - pos)));
    }
    out.append(src + pos, size - pos);
    return out;
}

QString expandTabsInPaneText(const QString& text, int tabWidth) {
    if (!text.contains(u'\t')) return text;
    return cp932::decodeForPane(expand_tabs(cp932::encode(text), tabWidth));
}

} // namespace pote
