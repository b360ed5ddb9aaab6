#pragma once
// One paragraph of the writer's notation as book markup: ruby as <ruby>base<rp>（</rp><rt>
// reading</rt><rp>）</rp></ruby>, emphasis dots as a span of class "em-sesame", and the short runs
// that stand upright across a vertical line as a span of class "tcy". The style sheet gives the
// classes their look.

#include "vertical/notation.h"

#include <QByteArray>
#include <QList>

namespace pote::epub {

// [first, last) of Paragraph::chars.
struct CharRun {
    qsizetype first = 0;
    qsizetype last = 0;
    bool operator==(const CharRun&) const = default;
};

// The runs set upright across a vertical line (縦中横), as the vertical pages set them. Other
// runs of half-width characters stay as they are (the reader turns them sideways).
QList<CharRun> tateChuYokoRuns(const vertical::Paragraph& paragraph);

// Appends the paragraph's characters with their markup (without the enclosing <p>). Marks that
// are out of range or out of order are left out, their characters kept. Characters a book cannot
// hold are left out and the byte offset of each goes to dropped (for a ruby's reading, the offset
// of its base). The offsets of user-defined characters (CP932 F040-F9FC, Private Use code
// points that no reader has a glyph for) go to privateUse when given: they are kept, and shown
// as blanks.
void appendParagraphMarkup(QByteArray& out, const vertical::Paragraph& paragraph,
                           QList<quint32>& dropped, QList<quint32>* privateUse = nullptr);

// What CP932's user-defined characters decode to.
constexpr bool isUserDefined(char16_t c) {
    return c >= 0xE000 && c <= 0xE757;
}

// The paragraph's characters without any markup and without the readings, escaped: what a
// title or a list shows of a name with ruby. Characters a book cannot hold are left out.
QByteArray plainText(const vertical::Paragraph& paragraph);

// Whether the paragraph shows nothing but blanks (half-width, ideographic or tabs), or nothing.
bool isBlank(const vertical::Paragraph& paragraph);

} // namespace pote::epub
