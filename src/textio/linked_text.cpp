#include "textio/linked_text.h"

#include "core/cp932.h"
#include "core/file_io.h"
#include "core/text_lines.h"
#include "editing/search.h"
#include "textio/free_space.h"
#include "textio/text_files.h"
#include "textio/text_messages.h"

#include <QFile>
#include <QSaveFile>

#include <algorithm>
#include <cstring>
#include <limits>

namespace pote {

namespace {

constexpr QByteArrayView kHeaderStart = "*section ";
constexpr QByteArrayView kLineBreak = "\r\n";

// The text as the file holds it: without the zero bytes at its end.
QByteArrayView writtenText(const QByteArray& text) {
    qsizetype n = text.size();
    while (n > 0 && text[n - 1] == '\0')
        --n;
    return QByteArrayView(text).first(n);
}

bool holdsMark(QByteArrayView bytes) {
    return search_from(bytes, kSectionMark, 0, CaseMode::Sensitive) >= 0;
}

// Gathers the many small pieces (headers, short texts) into large writes; long texts go to
// the file directly. After the first failed write nothing more is written.
class PieceWriter {
public:
    explicit PieceWriter(QIODevice& device) : m_device(device) { m_buffer.reserve(kCapacity); }

    void put(QByteArrayView piece) {
        if (m_buffer.size() + piece.size() > kCapacity) flush();
        if (piece.size() >= kCapacity / 2)
            writeOut(piece);
        else
            m_buffer.append(piece);
    }

    bool flush() {
        writeOut(m_buffer);
        m_buffer.clear();
        return m_ok;
    }

private:
    static constexpr qsizetype kCapacity = 1 << 20;

    void writeOut(QByteArrayView bytes) {
        if (m_ok && !bytes.isEmpty()) m_ok = writeFully(m_device, bytes.data(), bytes.size());
    }

    QIODevice& m_device;
    QByteArray m_buffer;
    bool m_ok = true;
};

} // namespace

qint64 linked_text_size(const Document& document) {
    qint64 size = kLineBreak.size();
    for (int pos = 0; pos < document.count(); ++pos) {
        const Section& s = document.section(pos);
        size +=
            kHeaderStart.size() + s.name.size() + kLineBreak.size() + writtenText(s.text).size();
    }
    return size;
}

namespace {

std::vector<int> sectionsWhere(const Document& document, bool (*holds)(QByteArrayView)) {
    std::vector<int> positions;
    for (int pos = 0; pos < document.count(); ++pos) {
        const Section& s = document.section(pos);
        if (holds(s.name) || holds(writtenText(s.text))) positions.push_back(pos);
    }
    return positions;
}

} // namespace

std::vector<int> sections_holding_mark(const Document& document) {
    return sectionsWhere(document, holdsMark);
}

std::vector<int> sections_holding_nul(const Document& document) {
    return sectionsWhere(document, [](QByteArrayView bytes) { return bytes.contains('\0'); });
}

Result<void> linked_text_write(const QString& path, const Document& document) {
    // The new file is written beside the old one and replaces it at the end, so the whole new
    // size must fit while the old file still takes its room.
    if (Result<void> space =
            free_space_check(path, linked_text_size(document), SpaceForm::SingleFile);
        !space)
        return space;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return Error::io(path, file.errorString());
    PieceWriter out(file);
    for (int pos = 0; pos < document.count(); ++pos) {
        const Section& s = document.section(pos);
        out.put(kHeaderStart);
        out.put(s.name);
        out.put(kLineBreak);
        out.put(writtenText(s.text));
    }
    out.put(kLineBreak);
    if (!out.flush()) {
        Error error = writeError(file);
        file.cancelWriting();
        return error;
    }
    return commitSaveFile(file);
}

namespace {

// Offsets of every "*section" in lines from `from` on (a character start).
void findHeaders(QByteArrayView lines, qsizetype from, std::vector<qsizetype>& headers) {
    for (qsizetype at = search_from(lines, kSectionMark, from, CaseMode::Sensitive); at >= 0;
         at = search_from(lines, kSectionMark, at + kSectionMark.size(), CaseMode::Sensitive))
        headers.push_back(at);
}

// Splits a linked text handed over a piece at a time, as it is read. No mark and no character
// may straddle two pieces: pieces that end right after an LF never do. The bytes of each block
// (from a header to the next) go straight into their section.
class Splitter {
public:
    void take(QByteArrayView piece) {
        std::vector<qsizetype>& headers = m_headersInPiece;
        headers.clear();
        findHeaders(piece, 0, headers);
        qsizetype pos = 0;
        for (size_t k = 0; k < headers.size(); ++k) {
            takeBlockBytes(piece.sliced(pos, headers[k] - pos));
            endBlock();
            const qsizetype end = k + 1 < headers.size() ? headers[k + 1] : piece.size();
            // The character right after the mark (a space in the files we write) belongs to
            // neither name nor text, whatever it is.
            qsizetype start = headers[k] + kSectionMark.size();
            if (start < end) start += cp932::charLengthAt(piece, start);
            pos = qMin(start, end);
            startBlock();
        }
        takeBlockBytes(piece.sliced(pos));
    }

    Result<LinkedTextRead> finish() {
        endBlock();
        if (m_headers == 0) return Error::refused(textmsg::notLinkedText());
        if (m_headers > Document::kMaxSections)
            return Error::refused(textmsg::tooManyLinkedSections(m_headers));
        LinkedTextRead result;
        result.headers = m_headers;
        result.content.sections = std::move(m_sections);
        return result;
    }

private:
    // Where the bytes of the block at hand go: before the first header nowhere; then into the
    // name up to its first CR; past the CR and the byte after it, into the text.
    enum class Phase { Outside, Name, SkipBreak, Text };

    void startBlock() {
        ++m_headers;
        if (m_headers > Document::kMaxSections) {
            m_sections.clear(); // refused: nothing more is kept
            m_phase = Phase::Outside;
            return;
        }
        m_sections.emplace_back();
        m_phase = Phase::Name;
    }

    void takeBlockBytes(QByteArrayView bytes) {
        while (!bytes.isEmpty()) {
            switch (m_phase) {
            case Phase::Outside:
                return;
            case Phase::Name: {
                Section& section = m_sections.back().section;
                const qsizetype cr = bytes.indexOf('\r');
                if (cr < 0) {
                    section.name.append(bytes);
                    return;
                }
                section.name.append(bytes.first(cr));
                bytes = bytes.sliced(cr + 1);
                m_phase = Phase::SkipBreak;
                break;
            }
            case Phase::SkipBreak:
                bytes = bytes.sliced(1);
                m_phase = Phase::Text;
                break;
            case Phase::Text:
                m_sections.back().section.text.append(bytes);
                return;
            }
        }
    }

    void endBlock() {
        if (m_phase == Phase::Outside) return;
        Section& section = m_sections.back().section;
        // A block without a CR holds no name: what it holds, but for its first character, is
        // the text.
        if (m_phase == Phase::Name && !section.name.isEmpty()) {
            section.text = section.name.sliced(cp932::charLengthAt(section.name, 0));
            section.name.clear();
        }
        section.text.squeeze(); // grown piece by piece
        m_phase = Phase::Outside;
    }

    std::vector<DocumentContent::Entry> m_sections;
    std::vector<qsizetype> m_headersInPiece;
    int m_headers = 0;
    Phase m_phase = Phase::Outside;
};

// The bytes up to and with the last LF of bytes (all of them at the end of the file), so that
// the rest waits for the next read.
qsizetype wholeLines(QByteArrayView bytes, bool atEnd) {
    if (atEnd) return bytes.size();
    const void* lf = memrchr(bytes.data(), '\n', static_cast<size_t>(bytes.size()));
    return lf ? static_cast<const char*>(lf) - bytes.data() + 1 : 0;
}

// Whether bytes cannot be the start of a UTF-8 text: they hold a byte beyond ASCII and are no
// valid UTF-8 (bytes that end after an LF cut no character).
bool cannotBeUtf8(QByteArrayView bytes) {
    return !looks_like_utf8(bytes) &&
           std::any_of(bytes.begin(), bytes.end(), [](char c) { return (c & 0x80) != 0; });
}

enum class PieceRead { Split, ReadWhole, IoError };

// Reads the open file front to back in pieces that stay in the cache: each piece is checked for
// line form and split while it is there. A file written by this program is split so without
// another copy of its bytes. A piece that is not in line form, or a start that could be UTF-8
// while utf8 may convert, stops the reading: such a file is read whole.
PieceRead splitInPieces(QFile& file, qsizetype pieceBytes, const Utf8Choice& utf8,
                        Splitter& splitter) {
    QByteArray buffer(std::max<qsizetype>(pieceBytes, 2), Qt::Uninitialized);
    qsizetype held = 0;
    bool first = true;
    for (;;) {
        if (held == buffer.size()) // a line longer than the buffer
            buffer.resize(buffer.size() * 2);
        const qint64 n = file.read(buffer.data() + held, buffer.size() - held);
        if (n < 0) return PieceRead::IoError;
        held += n;
        const bool atEnd = n == 0; // also where the file was shortened while it was read
        const qsizetype lines = wholeLines(QByteArrayView(buffer).first(held), atEnd);
        if (lines > 0) {
            const QByteArrayView piece = QByteArrayView(buffer).first(lines);
            if (!is_in_line_form(piece)) return PieceRead::ReadWhole;
            if (first && utf8.mayConvert() && !cannotBeUtf8(piece)) return PieceRead::ReadWhole;
            first = false;
            splitter.take(piece);
            std::memmove(buffer.data(), buffer.constData() + lines, size_t(held - lines));
            held -= lines;
        }
        if (atEnd) return PieceRead::Split;
    }
}

} // namespace

Result<LinkedTextRead> parse_linked_text(QByteArrayView lines) {
    Splitter splitter;
    splitter.take(lines);
    return splitter.finish();
}

Result<LinkedTextRead> linked_text_read(const QString& path, Utf8Choice& utf8,
                                        qsizetype pieceBytes) {
    {
        QFile file;
        if (Result<void> opened = openRegularFileForReading(file, path); !opened)
            return opened.error();
        Splitter splitter;
        switch (splitInPieces(file, pieceBytes, utf8, splitter)) {
        case PieceRead::Split:
            return splitter.finish();
        case PieceRead::IoError:
            return Error::io(path, file.errorString());
        case PieceRead::ReadWhole:
            break;
        }
    }
    // Anything else is read whole, converted or normalised into lines, then split.
    const Result<TextFileRead> file = read_file_bytes(path, std::numeric_limits<qint64>::max());
    if (!file) return file.error();
    if (std::optional<QByteArray> converted = utf8.convert(file->text))
        return parse_linked_text(read_as_lines(std::move(*converted)));
    return parse_linked_text(read_as_lines(file->text));
}

} // namespace pote
