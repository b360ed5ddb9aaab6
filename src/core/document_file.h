#pragma once
// The .ptm document file: version 2 written and read, version 0 (the old format) read.
// Logic only: these routines return results; the window turns them into messages.

#include "core/document.h"
#include "core/result.h"

#include <QString>

#include <functional>
#include <memory>

class QFileDevice;
class QRandomGenerator;

namespace pote::docfile {

// Shown when a version 2 file declares more than 500 sections.
QString tooManySectionsMessage();

// Why a file was refused or could not be written, in the mascot's words.
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

// Writes the whole document to path through QSaveFile: on failure the previous file stays as it
// was. A path that names a folder, a pipe or a device is refused. rng draws the filler words of the
// password block (QRandomGenerator::global() if null). The error names the file: the platform's
// text, or the cat's words for a full disk, a target that is no file, or a document the format
// cannot hold.
Result<void> writeDocument(const QString& path, const Document& document,
                           QRandomGenerator* rng = nullptr);
// The same bytes into a device that is already open, for files that carry a document after
// a header of their own; committing (or discarding) the device is the caller's part.
Result<void> writeDocumentTo(QFileDevice& device, const Document& document,
                             QRandomGenerator* rng = nullptr);

// Asked once with the password stored in a protected file; returns true to go on reading
// (the user typed exactly that password), false to stop with nothing changed.
using PasswordGate = std::function<bool(const QByteArray& candidate)>;

struct DocumentRead {
    DocumentContent content; // complete and consistent
    int version = -1;        // the format version found
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

// Reads and validates a whole file. The open document is not touched: the caller hands the
// content to SectionStore::replaceDocument or Document::replace. Errors: Cancelled when the gate
// said no; Refused, with the cat's words alone, for a damaged file or one this program cannot
// hold; Io, naming the file, with the platform's text or the cat's words for a path that is no
// regular file (refused before opening: a pipe would never answer).
Result<DocumentRead> readDocument(const QString& path, const PasswordGate& gate);
// A document that starts at offset within the file and runs to its end.
Result<DocumentRead> readDocumentAt(const QString& path, qint64 offset, const PasswordGate& gate);
Result<DocumentRead> parseDocument(QByteArrayView bytes, const PasswordGate& gate);

// A document's texts read a piece at a time, for tools that look through documents of any
// size in bounded memory: the file is checked and the password asked for as readDocument does,
// but the texts stay in the file until asked for.
class SectionTexts {
public:
    // The longest piece one read gives.
    static constexpr qint64 kMaxPiece = 512 * 1024;

    static Result<std::unique_ptr<SectionTexts>> open(const QString& path,
                                                      const PasswordGate& gate);
    ~SectionTexts();
    SectionTexts(const SectionTexts&) = delete;
    SectionTexts& operator=(const SectionTexts&) = delete;

    int count() const;
    qint64 textLength(int section) const;
    // Bytes [pos, pos + n) of the section's text into out (n <= kMaxPiece, within the text).
    // The error names the file: a read that failed or a file that shrank since it was opened.
    Result<void> read(int section, qint64 pos, qint64 n, char* out);

private:
    SectionTexts();
    struct Parts;
    std::unique_ptr<Parts> d;
};

// Checks every length and count of a file as readDocument does, without asking for the
// password and without reading the texts; fails as readDocument does.
Result<DocumentInfo> inspectDocument(const QString& path);

} // namespace pote::docfile
