#pragma once
// Vertical manuscript layout: a section's text placed into the cells of a page grid, with the
// line rules of Japanese typesetting. It knows no fonts: every character takes one cell (two
// half-width characters share one), so the result is exact and can be checked with tables.

#include "vertical/notation.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringView>

#include <memory>
#include <optional>

namespace pote::vertical {

struct PageFormat {
    int charsPerLine = 20; // cells from top to bottom of one vertical line (10-60)
    int linesPerPage = 20; // vertical lines on a page, read right to left (10-60)
    bool a4Landscape = false;
    bool grid = true;              // the manuscript paper's grid (none for the contest format)
    bool sectionNameFirst = false; // the section's name on the first line of its first page
    bool indentParagraphs = false; // add the one-character indent where a paragraph lacks it

    static PageFormat genkou();  // 20 x 20 manuscript paper, the default
    static PageFormat contest(); // 40 x 30 on A4 landscape, no grid
    // "genkou", "a4-40x30" or "COLSxLINES" (chars per line x lines per page, 10-60 each).
    static std::optional<PageFormat> fromName(QStringView name);
    QString name() const;
    bool operator==(const PageFormat&) const = default;
};

enum class CellKind : quint8 {
    Upright,     // one character, upright (the font's vertical form where it has one)
    TateChuYoko, // one or two half-width characters set side by side across the line
    Sideways,    // one or two half-width characters of a longer run, turned 90 degrees
};

struct Cell {
    CellKind kind = CellKind::Upright;
    char16_t ch[2] = {0, 0}; // second is 0 unless the cell holds two half-width characters
    quint32 offset = 0;      // where the first character starts in the section's text
    bool operator==(const Cell&) const = default;
};

// One vertical line. cells.size() <= charsPerLine, or charsPerLine + 1 when the last cell is a
// 、 or 。 hanging below the line's end (ぶら下げ).
struct Line {
    QList<Cell> cells;
    bool operator==(const Line&) const = default;
};

// Marks over runs of cells of one line: [firstCell, lastCell).
struct RubyMark {
    int line = 0;
    int firstCell = 0;
    int lastCell = 0;
    QString reading;
    // Where the reading goes, in cells from the line's top: centred on its base (中付き), each of
    // its characters half a cell long, moved up or down only as far as it must to stay within
    // the line. A reading longer than its base reaches over the neighbouring cells; they keep
    // their places. A base that a line break splits has one mark on each line, its reading
    // shared out in proportion.
    double readingTop = 0;
    double readingLength = 0;
    bool operator==(const RubyMark&) const = default;
};

struct EmphasisMark {
    int line = 0;
    int firstCell = 0;
    int lastCell = 0;
    bool operator==(const EmphasisMark&) const = default;
};

struct Page {
    QList<Line> lines; // lines[0] is the rightmost; at most linesPerPage
    QList<RubyMark> ruby;
    QList<EmphasisMark> emphasis;
    bool operator==(const Page&) const = default;
};

// One section laid out lazily: the page index (where each page starts) is built once, on the
// first question that needs it, and page(n) lays out only that page.
class SectionLayout {
public:
    SectionLayout(QByteArray text, QByteArray name, PageFormat format);
    ~SectionLayout();
    SectionLayout(SectionLayout&&) noexcept;
    SectionLayout& operator=(SectionLayout&&) noexcept;

    const PageFormat& format() const;
    int pageCount();                      // an empty section still has one (empty) page
    Page page(int n);                     // 0-based; n < pageCount() (an empty page otherwise)
    int pageOfOffset(quint32 byteOffset); // the page that shows the character at that offset
    qint64 lineCount(); // lines laid out in all; 0 when the section shows nothing at all
    // The pages it takes in a run of sections: none when it shows nothing, as in count_pages.
    int pagesShown();

    // The text changed from byte `from` on; what comes before it is as it was. Pages that start
    // in the lines before the one holding `from` keep their places, the rest are found again
    // when next asked for.
    void textChanged(QByteArray text, quint32 from);

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

// The number of pages of a text without keeping any of them: what the character count shows as
// manuscript pages, for genkou(), and what `ptmtool pages` prints. A section that shows nothing
// (no text, no name line) fills no page here, although SectionLayout gives it an empty one to
// show.
int count_pages(QByteArrayView text, QByteArrayView name, const PageFormat& format);

// The same with the lines it took.
struct PageTally {
    int pages = 0;
    qint64 lines = 0;
    bool operator==(const PageTally&) const = default;
};
PageTally tally_pages(QByteArrayView text, QByteArrayView name, const PageFormat& format);

} // namespace pote::vertical
