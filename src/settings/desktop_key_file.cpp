#include "settings/desktop_key_file.h"

#include <QStringDecoder>

namespace pote {

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

QByteArrayView withoutBreak(QByteArrayView raw) {
    if (raw.endsWith('\n')) raw.chop(1);
    if (raw.endsWith('\r')) raw.chop(1);
    return raw;
}

QByteArrayView breakOf(QByteArrayView raw) {
    if (raw.endsWith("\r\n")) return "\r\n";
    if (raw.endsWith('\n')) return "\n";
    return {};
}

QByteArrayView trimmed(QByteArrayView text) {
    while (!text.isEmpty() && isBlank(text.front()))
        text = text.sliced(1);
    while (!text.isEmpty() && isBlank(text.back()))
        text.chop(1);
    return text;
}

bool isUtf8(const QByteArray& bytes) {
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    [[maybe_unused]] const QString text = decoder.decode(bytes);
    return !decoder.hasError();
}

} // namespace

DesktopKeyFile::Line DesktopKeyFile::classify(QByteArray raw) {
    Line line;
    const QByteArrayView text = trimmed(withoutBreak(raw));
    line.raw = std::move(raw);
    if (text.isEmpty()) return line;
    if (text.contains('\0')) {
        line.kind = Line::Invalid;
    } else if (text.front() == '#') {
        line.kind = Line::Comment;
    } else if (text.front() == '[') {
        const QByteArrayView name = text.sliced(1, text.size() - 1);
        if (text.back() == ']' && text.size() > 2 && !name.chopped(1).contains('[') &&
            !name.chopped(1).contains(']')) {
            line.kind = Line::Header;
            line.name = name.chopped(1).toByteArray();
        } else {
            line.kind = Line::Invalid;
        }
    } else if (const qsizetype eq = text.indexOf('=');
               eq > 0 && !trimmed(text.first(eq)).isEmpty()) {
        line.kind = Line::Entry;
        line.name = trimmed(text.first(eq)).toByteArray();
        line.value = trimmed(text.sliced(eq + 1)).toByteArray();
    } else {
        line.kind = Line::Invalid;
    }
    return line;
}

std::optional<DesktopKeyFile> DesktopKeyFile::parse(const QByteArray& bytes, int* badLine) {
    if (badLine) *badLine = 0;
    if (!isUtf8(bytes)) return std::nullopt;
    DesktopKeyFile file;
    bool inGroup = false;
    qsizetype start = 0;
    while (start < bytes.size()) {
        const qsizetype newline = bytes.indexOf('\n', start);
        const qsizetype end = newline < 0 ? bytes.size() : newline + 1;
        Line line = classify(bytes.sliced(start, end - start));
        start = end;
        if (line.kind == Line::Header) inGroup = true;
        if (line.kind == Line::Invalid || (line.kind == Line::Entry && !inGroup)) {
            if (badLine) *badLine = static_cast<int>(file.m_lines.size()) + 1;
            return std::nullopt;
        }
        file.m_lines.push_back(std::move(line));
    }
    return file;
}

int DesktopKeyFile::entryIndex(QByteArrayView group, QByteArrayView key) const {
    int found = -1;
    bool inGroup = false;
    for (int i = 0; i < static_cast<int>(m_lines.size()); ++i) {
        const Line& line = m_lines[static_cast<size_t>(i)];
        if (line.kind == Line::Header)
            inGroup = line.name == group;
        else if (inGroup && line.kind == Line::Entry && line.name == key)
            found = i;
    }
    return found;
}

std::optional<QByteArray> DesktopKeyFile::value(QByteArrayView group, QByteArrayView key) const {
    const int i = entryIndex(group, key);
    if (i < 0) return std::nullopt;
    return m_lines[static_cast<size_t>(i)].value;
}

QByteArray DesktopKeyFile::lineBreak() const {
    for (const Line& line : m_lines)
        if (const QByteArrayView lb = breakOf(line.raw); !lb.isEmpty()) return lb.toByteArray();
    return "\n";
}

void DesktopKeyFile::setValue(QByteArrayView group, QByteArrayView key, QByteArrayView value) {
    const QByteArray entry = key.toByteArray() + '=' + value.toByteArray();
    if (const int i = entryIndex(group, key); i >= 0) {
        Line& line = m_lines[static_cast<size_t>(i)];
        line = classify(entry + breakOf(line.raw).toByteArray());
        return;
    }
    const QByteArray lb = lineBreak();
    // After the last line that is not blank in the last group of that name, so that the blank
    // lines separating it from the next group stay where they are.
    int insertAt = -1;
    bool inGroup = false;
    for (int i = 0; i < static_cast<int>(m_lines.size()); ++i) {
        const Line& line = m_lines[static_cast<size_t>(i)];
        if (line.kind == Line::Header) inGroup = line.name == group;
        if (inGroup && line.kind != Line::Blank) insertAt = i + 1;
    }
    if (!m_lines.empty()) {
        Line& before = m_lines[static_cast<size_t>(insertAt < 0 ? m_lines.size() : insertAt) - 1];
        if (breakOf(before.raw).isEmpty()) before.raw += lb;
    }
    if (insertAt < 0) {
        m_lines.push_back(classify('[' + group.toByteArray() + ']' + lb));
        m_lines.push_back(classify(entry + lb));
    } else {
        m_lines.insert(m_lines.begin() + insertAt, classify(entry + lb));
    }
}

bool DesktopKeyFile::removeValue(QByteArrayView group, QByteArrayView key) {
    const int i = entryIndex(group, key);
    if (i < 0) return false;
    m_lines.erase(m_lines.begin() + i);
    int header = i - 1;
    while (header >= 0 && m_lines[static_cast<size_t>(header)].kind != Line::Header)
        --header;
    const bool emptyGroup =
        header == i - 1 && (i == static_cast<int>(m_lines.size()) ||
                            m_lines[static_cast<size_t>(i)].kind == Line::Header);
    if (header >= 0 && emptyGroup) m_lines.erase(m_lines.begin() + header);
    return true;
}

QByteArray DesktopKeyFile::bytes() const {
    QByteArray out;
    for (const Line& line : m_lines)
        out += line.raw;
    return out;
}

QByteArray firstListItem(QByteArrayView value) {
    const qsizetype semicolon = value.indexOf(';');
    return trimmed(semicolon < 0 ? value : value.first(semicolon)).toByteArray();
}

} // namespace pote
