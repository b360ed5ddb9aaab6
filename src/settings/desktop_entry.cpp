#include "settings/desktop_entry.h"

#include <algorithm>

namespace pote {

namespace {

// Characters that make the desktop entry format quote an argument.
bool isReserved(QChar c) {
    static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    return reserved.contains(c);
}

// The string escapes of key file values, applied after the quoting.
QByteArray escapeString(const QString& text) {
    QByteArray out;
    for (const char c : text.toUtf8()) {
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\r':
            out += "\\r";
            break;
        default:
            out += c;
        }
    }
    return out;
}

QString unescapeString(QByteArrayView value) {
    QByteArray out;
    for (qsizetype i = 0; i < value.size(); ++i) {
        const char c = value[i];
        if (c != '\\' || i + 1 == value.size()) {
            out += c;
            continue;
        }
        switch (const char next = value[++i]) {
        case 's':
            out += ' ';
            break;
        case 'n':
            out += '\n';
            break;
        case 't':
            out += '\t';
            break;
        case 'r':
            out += '\r';
            break;
        case '\\':
            out += '\\';
            break;
        default:
            out += '\\';
            out += next;
        }
    }
    return QString::fromUtf8(out);
}

} // namespace

QByteArray mimePackageXml() {
    return QByteArrayLiteral(
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
        "  <mime-type type=\"application/x-poteedit-document\">\n"
        "    <comment>ぽてまる文書</comment>\n"
        "    <icon name=\"application-x-poteedit-document\"/>\n"
        "    <glob pattern=\"*.ptm\"/>\n"
        "  </mime-type>\n"
        "</mime-info>\n");
}

QByteArray desktopEntryText(const QString& executable, bool opensText) {
    return QByteArrayLiteral("[Desktop Entry]\n"
                             "Type=Application\n"
                             "Name=ぽてまるエディター\n"
                             "GenericName=テキストエディター\n"
                             "Comment=セクションに分けて書く、ねこのいるテキストエディター\n"
                             "Exec=") +
           execArgument(executable) +
           QByteArrayLiteral(" %f\n"
                             "Icon=poteedit\n"
                             "Terminal=false\n"
                             "Categories=Utility;TextEditor;\n"
                             "MimeType=application/x-poteedit-document;") +
           // Listing a type offers the program for it: text/plain only when .txt files are to
           // open here, or the desktop would propose this editor for every text file.
           (opensText ? QByteArrayLiteral("text/plain;\n") : QByteArrayLiteral("\n"));
}

QByteArray execArgument(const QString& argument) {
    QString quoted;
    if (std::any_of(argument.begin(), argument.end(), isReserved)) {
        quoted += QLatin1Char('"');
        for (const QChar c : argument) {
            if (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$') ||
                c == QLatin1Char('\\'))
                quoted += QLatin1Char('\\');
            quoted += c;
        }
        quoted += QLatin1Char('"');
    } else {
        quoted = argument;
    }
    quoted.replace(QLatin1Char('%'), QStringLiteral("%%"));
    return escapeString(quoted);
}

std::optional<QString> execProgram(QByteArrayView execValue) {
    const QString text = unescapeString(execValue);
    qsizetype i = 0;
    while (i < text.size() && text[i] == QLatin1Char(' '))
        ++i;
    if (i == text.size()) return std::nullopt;
    QString program;
    if (text[i] == QLatin1Char('"')) {
        for (++i;; ++i) {
            if (i == text.size()) return std::nullopt;
            if (text[i] == QLatin1Char('"')) break;
            if (text[i] == QLatin1Char('\\') && i + 1 < text.size()) ++i;
            program += text[i];
        }
    } else {
        while (i < text.size() && text[i] != QLatin1Char(' '))
            program += text[i++];
    }
    program.replace(QStringLiteral("%%"), QStringLiteral("%"));
    return program;
}

} // namespace pote
