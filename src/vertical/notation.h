#pragma once
// The writer's markup for ruby, emphasis dots and page breaks, as web-novel sites and
// public-domain e-texts write it, read out of a section's CP932 text:
//   ｜親文字《るび》   |親文字《るび》   漢字《かんじ》 (ruby over the kanji run before 《)
//   《《強調》》   ［＃「強調」に傍点］   ［＃改ページ］   ｜《 (a literal 《)
// Markup that does not close is text: nothing the writer typed is ever hidden.

#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QtGlobal>

#include <functional>
#include <span>

namespace pote::vertical {

// One character of the text as the reader will see it. Every CP932 character decodes to one
// UTF-16 unit (a stray byte to U+DC80 + byte - 0x80), so one unit is one character.
struct TextChar {
    char16_t ch = 0;
    quint32 offset = 0; // where its bytes start in the section's text
    bool operator==(const TextChar&) const = default;
};

// [first, last) are indices into Paragraph::chars.
struct RubySpan {
    qsizetype first = 0;
    qsizetype last = 0;
    QString reading;
    bool operator==(const RubySpan&) const = default;
};

struct EmphasisSpan {
    qsizetype first = 0;
    qsizetype last = 0;
    bool operator==(const EmphasisSpan&) const = default;
};

// One line of the text (a paragraph), with its markup taken out.
struct Paragraph {
    QList<TextChar> chars;
    QList<RubySpan> ruby;         // in order, never overlapping
    QList<EmphasisSpan> emphasis; // in order, never overlapping
    bool pageBreakBefore = false; // a ［＃改ページ］ came before this paragraph
    bool operator==(const Paragraph&) const = default;
};

// Reads one line (its bytes without the line break; lineOffset is where it starts in the
// section's text). A ［＃改ページ］ inside the line ends the paragraph there, so the result is one
// paragraph or more; a line holding only page breaks gives paragraphs whose chars are empty and
// whose pageBreakBefore is set, which the layout takes as breaks, not as empty lines.
QList<Paragraph> parseLine(QByteArrayView line, quint32 lineOffset);

// Reads line after line into buffers it keeps, so that a long text costs no allocation per line:
// what the layout uses. parse gives what parseLine gives, valid until the next call.
class LineParser {
public:
    std::span<const Paragraph> parse(QByteArrayView line, quint32 lineOffset);

private:
    class MarkupReader;

    bool decode(QByteArrayView line, quint32 lineOffset);
    void readMarkup();
    Paragraph& openParagraph(bool pageBreakBefore);

    QList<TextChar> m_chars; // the line as typed
    QList<Paragraph> m_paragraphs;
    qsizetype m_used = 0;
};

// The line's characters with no markup read: a section's name, shown exactly as typed.
Paragraph plainParagraph(QByteArrayView line, quint32 lineOffset);

// What a ruby without ｜ covers: the run of these just before 《 (CJK ideographs and the marks
// written among them: 々 〆 〇 ヶ ヵ 〻).
bool isKanji(char16_t ch);

// Walks a section's text line by line (CR LF, CR or LF end a line, as everywhere in the
// program) and calls visit(paragraph) for each; visit returns false to stop early.
void forEachParagraph(QByteArrayView text, const std::function<bool(const Paragraph&)>& visit);

} // namespace pote::vertical
