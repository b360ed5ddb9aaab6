#pragma once
// The writer's count of a text: characters as a reader sees them, lines, bytes, and the pages
// it would fill on 400-character manuscript paper.

#include <QByteArrayView>
#include <QtGlobal>

namespace pote {

struct CharacterCount {
    qint64 characters = 0; // a double-byte character counts 1; line breaks do not count
    qint64 nonSpace = 0;   // the same without half-width and full-width spaces and tabs
    qint64 lines = 0;      // an empty line after the last line break is no line
    qint64 bytes = 0;
    qint64 manuscriptRows = 0;  // 20-character rows; each paragraph starts a new row
    qint64 manuscriptPages = 0; // 20 rows to a page

    // Adds another section: it starts on a fresh page, as a chapter of a manuscript does.
    CharacterCount& operator+=(const CharacterCount& other);
    bool operator==(const CharacterCount&) const = default;
};

constexpr int kManuscriptColumns = 20;
constexpr int kManuscriptRowsPerPage = 20;

// Lines end at CR LF, a lone CR or a lone LF; each line is one paragraph, an empty one filling
// one row.
CharacterCount count_characters(QByteArrayView text);

} // namespace pote
