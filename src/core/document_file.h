#pragma once
// The .ptm document file: version 2 written and read, version 0 (the old format) read.
// Logic only: these routines return results; the window turns them into messages.

#include "core/document.h"

#include <QString>

#include <functional>

class QFileDevice;
class QRandomGenerator;

namespace pote::docfile {

// Shown when a version 2 file declares more than 500 sections.
QString tooManySectionsMessage();

// Why a file was refused (ReadResult::message) or could not be written (WriteResult::error),
// in the mascot's words.
QString emptyFileMessage();
QString truncatedFileMessage();
QString unknownVersionMessage();
QString noSectionsMessage();
QString tooManyOldSectionsMessage(); // an old-format file with more than 500 sections
QString tooManyGroupsMessage();
QString damagedPasswordMessage();
QString damagedTextLengthMessage(); // a negative text length
QString nameTooLongMessage();       // writing: a name of more than 65534 bytes
QString textTooLongMessage();       // writing: a text of 2 GiB or more
QString invalidPasswordMessage();   // writing: the password is not 4 to 8 letters or digits

// Longest name a name field can hold (its 16-bit length counts the terminating zero).
constexpr qsizetype kMaxNameBytes = 65534;
// A document password: 4 to 8 of "0"-"9", "A"-"Z", "a"-"z".
bool isValidPassword(QByteArrayView password);

// Exact size in bytes of the file that writeDocument would produce for the document.
qint64 encodedSize(const Document& document);

struct WriteResult {
    bool ok = false;
    // When !ok: the platform's error text, or the cat's words for a full disk, a target that
    // is no file, or a document the format cannot hold.
    QString error;
};

// Writes the whole document to path through QSaveFile: on failure the previous file stays as it
// was. A path that names a folder, a pipe or a device is refused. rng draws the filler words of the
// password block (QRandomGenerator::global() if null).
WriteResult writeDocument(const QString& path, const Document& document,
                          QRandomGenerator* rng = nullptr);
// The same bytes into a device that is already open, for files that carry a document after
// a header of their own; committing (or discarding) the device is the caller's part.
WriteResult writeDocumentTo(QFileDevice& device, const Document& document,
                            QRandomGenerator* rng = nullptr);

// Asked once with the password stored in a protected file; returns true to go on reading
// (the user typed exactly that password), false to stop with nothing changed.
using PasswordGate = std::function<bool(const QByteArray& candidate)>;

struct ReadResult {
    enum class Status { Ok, Cancelled, Refused, IoError };
    Status status = Status::IoError;
    DocumentContent content; // complete and consistent when Ok
    int version = -1;        // format version found, when the header could be read
    // Refused: message for the user. IoError: the platform's error text, or the cat's words
    // for a path that is no regular file (refused before opening: a pipe would never answer).
    QString message;
};

// What the header and the tables of a file say, found without the password.
struct DocumentInfo {
    int version = -1;
    int sectionCount = 0;
    int groupCount = 0;
    quint16 headerReserved = 0;
    bool hasPassword = false;
    qint64 totalTextBytes = 0;
};

// Reads and validates a whole file. The open document is not touched: on Ok the caller hands the
// content to SectionStore::replaceDocument or Document::replace.
ReadResult readDocument(const QString& path, const PasswordGate& gate);
// A document that starts at offset within the file and runs to its end.
ReadResult readDocumentAt(const QString& path, qint64 offset, const PasswordGate& gate);
ReadResult parseDocument(QByteArrayView bytes, const PasswordGate& gate);

// Checks every length and count of a file as readDocument does, without asking for the
// password and without reading the texts. status is Ok, Refused or IoError.
struct InspectResult {
    ReadResult::Status status = ReadResult::Status::IoError;
    DocumentInfo info;
    QString message;
};
InspectResult inspectDocument(const QString& path);

} // namespace pote::docfile
