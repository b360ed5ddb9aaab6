#pragma once
// The .ptm document file: version 2 written and read, version 0 (the old format) read.
// Logic only: these routines return results; the window turns them into messages.

#include "core/section_store.h"

#include <QString>

#include <functional>

class QRandomGenerator;

namespace pote::docfile {

// Shown when a version 2 file declares more than 500 sections.
QString tooManySectionsMessage();

// Exact size in bytes of the file that writeDocument would produce for the store.
qint64 encodedSize(const SectionStore& store);

struct WriteResult {
    bool ok = false;
    QString error; // the platform's error text when !ok
};

// Writes the whole store to path through QSaveFile: on failure the previous file stays as it
// was. rng draws the filler words of the password block (QRandomGenerator::global() if null).
WriteResult writeDocument(const QString& path, const SectionStore& store,
                          QRandomGenerator* rng = nullptr);

// Asked once with the password stored in a protected file; returns true to go on reading
// (the user typed exactly that password), false to stop with nothing changed.
using PasswordGate = std::function<bool(const QByteArray& candidate)>;

struct ReadResult {
    enum class Status { Ok, Cancelled, Refused, IoError };
    Status status = Status::IoError;
    DocumentContent content; // complete and consistent when Ok
    int version = -1;        // format version found, when the header could be read
    QString message;         // Refused: message for the user; IoError: the platform's error text
};

// Reads and validates a whole file. The store is not touched: on Ok the caller hands the
// content to SectionStore::replaceDocument.
ReadResult readDocument(const QString& path, const PasswordGate& gate);
ReadResult parseDocument(QByteArrayView bytes, const PasswordGate& gate);

} // namespace pote::docfile
