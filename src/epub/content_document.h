#pragma once
// A section's text as the book's XHTML content documents: the first opens with the section's
// name as its heading, and every ［＃改ページ］ starts the next document.

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

#include <atomic>
#include <vector>

namespace pote::epub {

// How many content documents a section's text makes: one, and one more for each page break.
int contentDocumentCount(QByteArrayView text);

struct SectionDocuments {
    std::vector<QByteArray> documents;
    QList<quint32> dropped; // byte offsets in the text of the characters left out
    bool cancelled = false;
};

// What each content document of a section shows besides the text, as escaped XML.
struct ContentHead {
    QByteArray title;   // the <title>: never empty
    QByteArray heading; // the <h1> of the first document, or empty for none
};

// The documents of a section: exactly `documents` of them (contentDocumentCount of the same
// text), so that they match the book's plan whatever the text holds. cancel, checked between
// paragraphs, stops the work (the result then says cancelled).
SectionDocuments contentDocuments(QByteArrayView text, const ContentHead& head, int documents,
                                  const std::atomic<bool>* cancel = nullptr);

} // namespace pote::epub
