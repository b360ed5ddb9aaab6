#pragma once
// The linked text (.txm): every section in number order as a header line "*section " + name +
// CR LF followed by its text, and one CR LF at the end. Reading splits a text at every
// "*section" back into sections.

#include "core/document.h"
#include "core/result.h"
#include "textio/utf8_text.h"

#include <QByteArrayView>
#include <QString>

#include <vector>

namespace pote {

// The header mark as the reader finds it (the writer adds a space after it).
constexpr QByteArrayView kSectionMark = "*section";

// Size in bytes of the file linked_text_write writes for document.
qint64 linked_text_size(const Document& document);

// Positions of the sections whose name or text holds "*section": read back, the file would
// split there.
std::vector<int> sections_holding_mark(const Document& document);

// Positions of the sections whose name or written text holds a NUL byte: read back, the file
// ends at the first one, and every later section is lost.
std::vector<int> sections_holding_nul(const Document& document);

// Checks free space (single-file form), then writes the linked text of document to path through
// QSaveFile. Nothing is written when the check fails: NoSpace, the free-space message alone.
// A failed write names path.
Result<void> linked_text_write(const QString& path, const Document& document);

struct LinkedTextRead {
    // One entry per header, group 0, no reserved values; no groups, no password.
    DocumentContent content;
    int headers = 0; // headers found
};

// Splits a text already in line form (see read_as_lines). A text without a header, or with more
// than 500, is Refused with the cat's words alone.
Result<LinkedTextRead> parse_linked_text(QByteArrayView lines);

// Reads path as lines (converted from UTF-8 when utf8 says so) and splits it; fails as
// parse_linked_text does, or with an Io error naming path. The store is not touched: the caller
// resets the document and hands the content over. A file in line form is read and split
// pieceBytes at a time (a test may make them small).
Result<LinkedTextRead> linked_text_read(const QString& path, Utf8Choice& utf8,
                                        qsizetype pieceBytes = 512 * 1024);

} // namespace pote
