#pragma once
// What a book is made from: the document's sections and the few facts about the book itself,
// and how its sections become content documents and entries of the table of contents.

#include "epub/book_cover.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>

#include <atomic>
#include <vector>

namespace pote {
class Document;
}

namespace pote::epub {

struct BookSection {
    QByteArray name; // CP932, as the document holds it
    QByteArray text;
};

struct BookOptions {
    QString title;      // the document's name unless the writer gave one (see bookTitle)
    QString author;     // may be empty: no creator then
    QString authorSort; // the author's name as stores sort it (file-as); may be empty
    bool horizontal = false;
    QString identifier; // "urn:uuid:..." (see newBookIdentifier), or the writer's own
    QDateTime modified; // when the book was made
    BookCover cover;    // format None: a book without a cover
};

struct Book {
    std::vector<BookSection> sections; // in number order; at least one
    BookOptions options;
};

// The document's sections, sharing their bytes (nothing is copied; the document may change on).
std::vector<BookSection> sectionsOf(const Document& document);

// The title given, or else the document's name.
QString bookTitle(const QString& given, const QString& documentName);

// A new book's identifier: a random UUID, "urn:uuid:...". The window remembers it for the
// document it was made from, so the book keeps it however often it is made again.
QString newBookIdentifier();

// An identifier derived from the document file's path, for ptmtool when neither the command
// line nor the remembered books give one: a book made again from the same file is the same
// book, byte for byte.
QString bookIdentifier(const QString& path);

// The identifier as the writer typed it, or empty when it cannot name a book: surrounding
// blanks go, a bare UUID gets its "urn:uuid:" (as readers expect it).
QString cleanIdentifier(const QString& typed);

// The most content documents one book holds. Each page break starts one; a text of nothing but
// page breaks would otherwise make a book of a million empty pages.
constexpr int kMaxContentDocuments = 10000;

struct BookPlan {
    struct Section {
        int firstDocument = 0; // index of its first content document in the whole book
        int documents = 1;
        QList<qsizetype> fullAt; // where the text's size starts a document (planDocuments)
        QByteArray label;        // the table of contents' entry, escaped: never empty
        QByteArray heading;      // the first document's heading, escaped: empty when unnamed
    };
    std::vector<Section> sections;
    int documentCount = 0;
    QByteArray title;                // escaped: never empty
    QList<int> namesWithDrops;       // 0-based positions whose names lost characters
    QList<int> namesWithUserDefined; // and those whose names hold user-defined characters
    bool hasRuby = false;            // some text or name has a ruby
    bool cancelled = false;
};

// Where each section's documents go and what the book's headings say. Stops early (cancelled)
// when cancel is set.
BookPlan planBook(const Book& book, const std::atomic<bool>* cancel = nullptr);

// The path of content document `index` inside the package folder.
QString contentDocumentPath(int index);

} // namespace pote::epub
