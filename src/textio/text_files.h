#pragma once
// Plain .txt files to and from sections: reading one (as lines, optionally from UTF-8),
// writing one atomically, and the plain-text mode a lone text file puts the document in.

#include "core/result.h"
#include "textio/utf8_text.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <initializer_list>

namespace pote {

class SectionStore;

// The pane holds at most this many bytes; larger text files are refused before reading.
constexpr qint64 kMaxTextFileBytes = 1073741824;

struct TextFileRead {
    QByteArray text;       // the file as lines (CP932, CR LF, ending in CR LF unless empty)
    bool fromUtf8 = false; // the file was UTF-8 and text is its conversion
};

// The file's whole bytes (see readRegularFile). A folder, a pipe, a device, a missing or an
// unreadable file is an Io error naming path; a file larger than maxBytes is Refused with the
// cat's words alone.
Result<TextFileRead> read_file_bytes(const QString& path, qint64 maxBytes = kMaxTextFileBytes);

// A text file read as lines, converted from UTF-8 when utf8 says so.
Result<TextFileRead> read_text_file(const QString& path, Utf8Choice& utf8);

// What load_text_into_current puts into the pane: the file as lines with its tabs expanded.
Result<TextFileRead> text_for_pane(const QString& path, int tabWidth, Utf8Choice& utf8);

// Replaces path with bytes (the pieces one after the other) through QSaveFile: on failure the
// old file stays as it was, and the error names path.
Result<void> write_text_file(const QString& path, std::initializer_list<QByteArrayView> pieces);
inline Result<void> write_text_file(const QString& path, QByteArrayView bytes) {
    return write_text_file(path, {bytes});
}

// Whether every line break of text is CR LF (a last line without a break is fine) and it holds
// no NUL: such a text is written to a text file as it is.
bool crlf_breaks_only(QByteArrayView text);

// A text loaded into the only section of a document that was never saved makes the document
// that text file (plain-text mode).
bool opens_plain_text_mode(const SectionStore& store);
// Plain-text mode on: the text path, the display name (base name of the file) and not modified.
void enter_plain_text_mode(SectionStore& store, const QString& textPath,
                           const QString& displayName);

} // namespace pote
