#pragma once
// The key file format of the desktop (mimeapps.list, .desktop entries): "[Group]" headers,
// "key=value" lines, "#" comments and blank lines. The file is kept as its raw lines, so that
// changing one value leaves every other byte of a file the user or another program wrote
// exactly as it was.

#include <QByteArray>
#include <QByteArrayView>

#include <optional>
#include <vector>

namespace pote {

class DesktopKeyFile {
public:
    // Parses bytes; nullopt for a file that is not a key file (a line that is neither blank,
    // comment, header nor key=value, a value before the first header, bytes that are not
    // UTF-8), with the 1-based number of the offending line in *badLine (0 when the whole file
    // is not UTF-8). Such a file is never rewritten.
    static std::optional<DesktopKeyFile> parse(const QByteArray& bytes, int* badLine = nullptr);

    // The value that counts (the last one, as duplicate groups merge and later keys win), with
    // the blanks around it removed.
    std::optional<QByteArray> value(QByteArrayView group, QByteArrayView key) const;
    // Replaces the value that counts in its own line, or adds key=value at the end of the last
    // group of that name, or adds the group at the end of the file.
    void setValue(QByteArrayView group, QByteArrayView key, QByteArrayView value);
    // Removes the line of the value that counts; a header left with no lines under it goes too.
    // False when there was no such value.
    bool removeValue(QByteArrayView group, QByteArrayView key);

    QByteArray bytes() const;

private:
    struct Line {
        QByteArray raw; // with its line break, if it had one
        enum Kind { Blank, Comment, Header, Entry, Invalid } kind = Blank;
        QByteArray name;  // group name of a header, key of an entry
        QByteArray value; // value of an entry
    };
    static Line classify(QByteArray raw);
    // Index of the line holding the value that counts, -1 when there is none.
    int entryIndex(QByteArrayView group, QByteArrayView key) const;
    QByteArray lineBreak() const;

    std::vector<Line> m_lines;
};

// The first item of a ";"-separated list value ("a.desktop;b.desktop;" -> "a.desktop").
QByteArray firstListItem(QByteArrayView value);

} // namespace pote
