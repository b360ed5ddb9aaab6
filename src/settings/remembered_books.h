#pragma once
// The books the writer has made, remembered in the settings file rather than in the document:
// a book's identifier belongs to the document file it was made from (by its canonical path),
// so that every export of it names the same book and no byte of the .ptm changes. The author's
// name and its reading are the writer's own, the same for every book.

#include <QList>
#include <QString>

namespace pote {

struct RememberedBook {
    QString path;       // the document's canonical path
    QString identifier; // as the writer kept it: "urn:uuid:..." or their own
    bool operator==(const RememberedBook&) const = default;
};

// Value names EpubAuthor, EpubAuthorSort, EpubHorizontal, and the list EpubBooks.
struct EpubSettings {
    QString author;
    QString authorSort; // the author's name as it sorts: its reading
    bool horizontal = false;
    QList<RememberedBook> books; // the most recently exported first
    bool operator==(const EpubSettings&) const = default;
};

// A settings file holds at most this many; the books exported longest ago go first.
constexpr int kMaxRememberedBooks = 1000;

// The document's canonical path, the key of its book; empty for a document never saved (or
// whose file is gone): such a document has no book remembered.
QString bookKey(const QString& documentPath);

// The identifier remembered for the document, or empty.
QString rememberedIdentifier(const QList<RememberedBook>& books, const QString& documentPath);

// Remembers the identifier for the document, as the most recent book. A document without a
// key is not remembered.
void rememberBook(QList<RememberedBook>& books, const QString& documentPath,
                  const QString& identifier);

// The books of other documents, most recent first: what a copied or moved document may take
// its identifier from when the writer asks. Those whose document is gone (moved, most likely)
// come first.
QList<RememberedBook> otherBooks(const QList<RememberedBook>& books, const QString& documentPath);

} // namespace pote
