#pragma once
// Writes a book as an EPUB 3 file: the mimetype entry first and stored, the container, the
// package and navigation documents, the style sheet, and the sections' content documents, made
// one section at a time while the zip is written, so that a book of hundreds of megabytes needs
// the memory of its largest section only.

#include "core/result.h"
#include "epub/book.h"

#include <QList>
#include <QString>

#include <atomic>
#include <functional>

namespace pote::epub {

// Where characters a book cannot hold were left out: a section (0-based) and its line (1-based),
// or line 0 for the section's name.
struct DroppedPlace {
    int section = 0;
    int line = 0;
    bool operator==(const DroppedPlace&) const = default;
};

// The places a result lists; the count says how many there were in all.
constexpr int kMaxListedPlaces = 20;

struct EpubWrite {
    QList<DroppedPlace> dropped;
    qsizetype droppedPlaces = 0;
    // Where user-defined characters are: kept as Private Use code points, which no reader has
    // a glyph for, so they show as blanks. Listed and counted as dropped is.
    QList<DroppedPlace> userDefined;
    qsizetype userDefinedPlaces = 0;
};

// done and total count bytes of section text; called from the thread that writes.
using EpubProgress = std::function<void(qint64 done, qint64 total)>;

// Nothing appears under path unless the whole book was written; the old file stays otherwise.
// cancel, checked between paragraphs and while the zip is written, stops the work: Cancelled.
// A book of too many pages is Refused with the cat's whole text; a failed write names path.
Result<EpubWrite> write_epub(const QString& path, const Book& book,
                             const std::atomic<bool>* cancel = nullptr,
                             const EpubProgress& progress = {});

// The 1-based numbers of the lines that hold the byte offsets, each once, in order.
QList<int> lineNumbersAt(QByteArrayView text, QList<quint32> offsets);

} // namespace pote::epub
