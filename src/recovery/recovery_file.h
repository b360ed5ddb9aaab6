#pragma once
// A recovery file: a small header naming what was being edited, then the document in the .ptm
// format (scrambled with the document's password, like the document itself would be).
//
//   "PTMRECOV"  magic
//   u32         header version (1)
//   u32         bytes of the fields that follow, up to the document
//   i64         when the copy was taken, ms since 1970 UTC
//   u16         current section (position)
//   u16         flags: bit 0 plain-text mode
//   3 strings   document path, display name, text path: u32 byte length + UTF-8
//   document    to the end of the file
//
// Integers are little-endian. Readers check every length against what remains.

#include "core/document_file.h"
#include "core/section_store.h"

#include <QDateTime>
#include <QString>

namespace pote::recovery {

struct RecoveryHeader {
    QDateTime takenAt;
    int currentSection = 0;
    bool plainTextMode = false;
    QString documentPath; // empty for a document that was never saved
    QString displayName;
    QString textPath;
};

// What the document's state says the header should hold.
RecoveryHeader headerFor(const SectionStore& store, const QDateTime& takenAt);

// Writes header and document through QSaveFile: a copy is complete or not there at all.
Result<void> writeRecoveryFile(const QString& path, const RecoveryHeader& header,
                               const Document& document);

struct HeaderRead {
    RecoveryHeader header;
    qint64 documentOffset = 0; // where the document starts
};
// Only the header: enough to offer the file without asking for a password. Refused (the cat's
// words alone) when it is not a recovery file of this program or a damaged one; Io names the
// file.
Result<HeaderRead> readRecoveryHeader(const QString& path);

struct RecoveryRead {
    RecoveryHeader header;
    DocumentContent content;
};
// Header and document; gate is asked for the password of a protected document. Fails as
// readRecoveryHeader and docfile::readDocument do.
Result<RecoveryRead> readRecoveryFile(const QString& path, const docfile::PasswordGate& gate);

} // namespace pote::recovery
