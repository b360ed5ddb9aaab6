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
    // The text set on 20 x 20 manuscript paper exactly as the vertical preview sets it (line
    // rules, 縦中横, readings of ruby above their base): the lines it fills, each paragraph
    // starting a new one, and the pages. A text that shows nothing fills no page.
    qint64 manuscriptRows = 0;
    qint64 manuscriptPages = 0;

    // Adds another section: it starts on a fresh page, as a chapter of a manuscript does.
    CharacterCount& operator+=(const CharacterCount& other);
    bool operator==(const CharacterCount&) const = default;
};

// Lines end at CR LF, a lone CR or a lone LF; each line is one paragraph, an empty one filling
// one row.
CharacterCount count_characters(QByteArrayView text);

// The figures of one pass over the bytes, without the manuscript rows and pages (which take a
// layout of their own).
CharacterCount count_characters_without_pages(QByteArrayView text);

} // namespace pote
