#pragma once
// A paragraph cut into the cells of vertical lines, and where each line may end (禁則): no line
// starts with 、。」 and their kin, none ends with 「『（ and theirs, 、 and 。 hang below a full
// line, ―― and …… stay whole, a ruby's base stays on one line.

#include "vertical/layout.h"
#include "vertical/notation.h"

#include <QtGlobal>

#include <vector>

namespace pote::vertical {

// What a character is to the line rules.
namespace CharRule {
enum : quint8 {
    NoStart = 1,   // may not begin a line: 、。」ー っ ？ …
    NoEnd = 2,     // may not end a line: 「『（ …
    Hangs = 4,     // 、。: hangs below a full line instead of pushing it
    Paired = 8,    // ― … ‥: two in a row are one mark, never split
    HalfWidth = 16 // a half-width letter, digit or sign: set 縦中横 or sideways
};
}
quint8 charRules(char16_t ch);

// A character that takes its cell and shows nothing there: a tab, a NUL or another control
// character (a font would draw its missing-glyph box).
constexpr bool isBlank(char16_t ch) {
    return ch < 0x20 || ch == 0x7F;
}

// What a cell is to the line rules: the character's NoStart, NoEnd and Hangs, and Glued.
namespace CellRule {
enum : quint8 { NoStart = 1, NoEnd = 2, Hangs = 4, Glued = 8 /* no line may begin here */ };
}

// Where a ruby's base goes on a line of `charsPerLine` cells: its reading centred on the base
// (中付き), each character half a cell, moved only as far as needed to stay on the line.
struct RubyPlace {
    double top = 0;
    double length = 0;
};
RubyPlace placeRuby(int firstCell, int lastCell, qsizetype readingLength, int charsPerLine);

// A paragraph's cells. The layout keeps one and rebuilds it for each paragraph, so its buffers
// are reused from one paragraph to the next.
class ParagraphCells {
public:
    // withCells: fill cells() too (a page being drawn), not only what breaking lines needs.
    void build(const Paragraph& p, bool indent, int charsPerLine, bool withCells);

    qsizetype size() const { return m_size; }
    quint32 offset(qsizetype cell) const { return m_offsets[size_t(cell)]; }
    // [first, last) of cells(): the cells of a line, when built withCells.
    const Cell* cells() const { return m_cells.data(); }
    // The cell that holds a character of the paragraph (built when it has ruby or dots).
    qsizetype cellOfChar(qsizetype ch) const { return m_cellOfChar[size_t(ch)]; }

    // Where the line that begins at cell `start` ends (the cell after its last): the line is
    // filled, then pushed back (追い出し) until its end is allowed, or given one more cell when
    // that is a hanging 、 or 。. Where no end is allowed, the full line (it cannot be helped).
    qsizetype lineEnd(qsizetype start, int charsPerLine) const;
    // Whether a line may begin at cell k (0 < k < size()).
    bool mayBreakBefore(qsizetype k) const;

private:
    void addCell(quint8 rules, quint32 offset, CellKind kind, char16_t first, char16_t second) {
        const size_t k = size_t(m_size++);
        m_rules[k] = rules;
        m_offsets[k] = offset;
        if (m_withCells) m_cells[k] = Cell{kind, {first, second}, offset};
    }
    qsizetype addHalfWidthRun(const Paragraph& p, qsizetype i, int charsPerLine);

    qsizetype m_size = 0;
    std::vector<quint8> m_rules;
    std::vector<quint32> m_offsets;
    std::vector<Cell> m_cells;
    std::vector<qsizetype> m_cellOfChar; // filled when the paragraph has ruby or dots
    std::vector<bool> m_edges;           // of the ruby and emphasis marks
    bool m_withCells = false;
};

} // namespace pote::vertical
