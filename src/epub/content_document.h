#pragma once
// A section's text as the book's XHTML content documents: the first opens with the section's
// name as its heading, and every ［＃改ページ］ starts the next document.

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

#include <atomic>
#include <vector>

namespace pote::epub {

// A content document takes about this much XHTML before the next one starts at a line's
// beginning: a reader opens a long section piece by piece rather than as one file of tens of
// megabytes that it needs minutes to lay out.
constexpr qsizetype kDocumentBytes = 250 * 1024;

// Where a section's content documents begin.
struct DocumentPlan {
    int count = 1;
    // The line starts (byte offsets) where a document begins because the one before it is full;
    // the others begin at page breaks.
    QList<qsizetype> fullAt;
};

// One document, one more at each page break, and one more at a line's start where the XHTML of
// the lines since the line that began a document would reach kDocumentBytes. That size is
// reckoned from the bytes and the rubies' 《 (UTF-8 takes three bytes for CP932's two; a ruby
// adds its tags), and only the lines with a page break are read as notation: planning costs a
// walk over the line breaks, not a reading.
DocumentPlan planDocuments(QByteArrayView text);
inline int contentDocumentCount(QByteArrayView text) {
    return planDocuments(text).count;
}

// Whether the text holds a ruby: only the lines with a 《 are read as notation.
bool holdsRuby(QByteArrayView text);

struct SectionDocuments {
    std::vector<QByteArray> documents;
    QList<quint32> dropped;    // byte offsets in the text of the characters left out
    QList<quint32> privateUse; // and of the user-defined characters, kept but shown blank
    bool cancelled = false;
};

// What each content document of a section shows besides the text, as escaped XML.
struct ContentHead {
    QByteArray title;   // the <title>: never empty
    QByteArray heading; // the <h1> of the first document, or empty for none
};

// The documents of a section: exactly plan.count of them (planDocuments of the same text), so
// that they match the book's plan whatever the text holds. cancel, checked between paragraphs,
// stops the work (the result then says cancelled).
SectionDocuments contentDocuments(QByteArrayView text, const ContentHead& head,
                                  const DocumentPlan& plan,
                                  const std::atomic<bool>* cancel = nullptr);

} // namespace pote::epub
