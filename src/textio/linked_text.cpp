#include "textio/linked_text.h"

#include "core/cp932.h"
#include "core/file_io.h"
#include "core/text_lines.h"
#include "editing/search.h"
#include "textio/free_space.h"
#include "textio/text_files.h"
#include "textio/text_messages.h"

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

qint64 linked_text_size(const SectionStore& store) {
    qint64 size = kLineBreak.size();
    for (int pos = 0; pos < store.count(); ++pos) {
        const Section& s = store.section(pos);
        size +=
            kHeaderStart.size() + s.name.size() + kLineBreak.size() + writtenText(s.text).size();
    }
    return size;
}

namespace {

std::vector<int> sectionsWhere(const SectionStore& store, bool (*holds)(QByteArrayView)) {
    std::vector<int> positions;
    for (int pos = 0; pos < store.count(); ++pos) {
        const Section& s = store.section(pos);
        if (holds(s.name) || holds(writtenText(s.text))) positions.push_back(pos);
    }
    return positions;
}

} // namespace

std::vector<int> sections_holding_mark(const SectionStore& store) {
    return sectionsWhere(store, holdsMark);
}

std::vector<int> sections_holding_nul(const SectionStore& store) {
    return sectionsWhere(store, [](QByteArrayView bytes) { return bytes.contains('\0'); });
}

LinkedTextWrite linked_text_write(const QString& path, const SectionStore& store) {
    LinkedTextWrite result;
    // The new file is written beside the old one and replaces it at the end, so the whole new
    // size must fit while the old file still takes its room.
    const SpaceCheck space = free_space_check(path, linked_text_size(store), SpaceForm::SingleFile);
    if (!space.ok) {
        result.status = LinkedTextWrite::Status::NoSpace;
        result.message = space.message;
        return result;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        result.message = file.errorString();
        return result;
    }
    PieceWriter out(file);
    for (int pos = 0; pos < store.count(); ++pos) {
        const Section& s = store.section(pos);
        out.put(kHeaderStart);
        out.put(s.name);
        out.put(kLineBreak);
        out.put(writtenText(s.text));
    }
    out.put(kLineBreak);
    if (!out.flush()) {
        result.message = writeErrorText(file);
        file.cancelWriting();
        return result;
    }
    if (!file.commit()) {
        result.message = writeErrorText(file);
        return result;
    }
    result.status = LinkedTextWrite::Status::Ok;
    return result;
}

namespace {

// Offsets of every "*section" in lines from `from` on (a character start).
void findHeaders(QByteArrayView lines, qsizetype from, std::vector<qsizetype>& headers) {
    for (qsizetype at = search_from(lines, kSectionMark, from, CaseMode::Sensitive); at >= 0;
         at = search_from(lines, kSectionMark, at + kSectionMark.size(), CaseMode::Sensitive))
        headers.push_back(at);
}

// One pass over the file in pieces small enough to stay in the cache: each piece is checked for
// line form and searched for headers while it is there. Pieces end right after an LF, so no line
// break and no header straddles two of them, and each starts a character. nullopt when the text
// is not in line form.
std::optional<std::vector<qsizetype>> scanInPieces(QByteArrayView text) {
    constexpr qsizetype kPiece = 512 * 1024;
    std::vector<qsizetype> headers;
    const char* const data = text.data();
    const qsizetype n = text.size();
    for (qsizetype pos = 0; pos < n;) {
        qsizetype end = std::min(n, pos + kPiece);
        if (end < n) {
            const void* lf = memrchr(data + pos, '\n', static_cast<size_t>(end - pos));
            if (!lf) // a line longer than a piece: the piece runs to its end
                lf = std::memchr(data + end, '\n', static_cast<size_t>(n - end));
            end = lf ? static_cast<const char*>(lf) - data + 1 : n;
        }
        const QByteArrayView piece = text.sliced(pos, end - pos);
        if (!is_in_line_form(piece)) return std::nullopt;
        const size_t first = headers.size();
        findHeaders(piece, 0, headers);
        for (size_t k = first; k < headers.size(); ++k)
            headers[k] += pos;
        pos = end;
    }
    return headers;
}

LinkedTextRead split(QByteArrayView lines, const std::vector<qsizetype>& headers) {
    LinkedTextRead result;
    result.headers = static_cast<int>(headers.size());
    if (headers.empty()) {
        result.status = LinkedTextRead::Status::NoHeader;
        result.message = textmsg::notLinkedText();
        return result;
    }
    if (headers.size() > static_cast<size_t>(SectionStore::kMaxSections)) {
        result.status = LinkedTextRead::Status::TooManySections;
        result.message = textmsg::tooManyLinkedSections(result.headers);
        return result;
    }
    result.content.sections.reserve(headers.size());
    for (size_t j = 0; j < headers.size(); ++j) {
        const qsizetype end = j + 1 < headers.size() ? headers[j + 1] : lines.size();
        // The character right after the mark (a space in the files we write) belongs to
        // neither name nor text, whatever it is.
        qsizetype start = headers[j] + kSectionMark.size();
        if (start < end) start += cp932::charLengthAt(lines, start);
        const QByteArrayView block =
            lines.sliced(qMin(start, end), qMax<qsizetype>(0, end - start));
        DocumentContent::Entry entry;
        const void* cr = std::memchr(block.data(), '\r', static_cast<size_t>(block.size()));
        if (cr) {
            const qsizetype nameLength = static_cast<const char*>(cr) - block.data();
            entry.section.name = block.first(nameLength).toByteArray();
            entry.section.text = block.sliced(qMin(nameLength + 2, block.size())).toByteArray();
        } else if (!block.isEmpty()) {
            entry.section.text = block.sliced(cp932::charLengthAt(block, 0)).toByteArray();
        }
        result.content.sections.push_back(std::move(entry));
    }
    result.status = LinkedTextRead::Status::Ok;
    return result;
}

} // namespace

LinkedTextRead parse_linked_text(QByteArrayView lines) {
    std::vector<qsizetype> headers;
    findHeaders(lines, 0, headers);
    return split(lines, headers);
}

LinkedTextRead linked_text_read(const QString& path, Utf8Choice& utf8) {
    const TextFileRead file = read_file_bytes(path, std::numeric_limits<qint64>::max());
    if (file.status != TextFileRead::Status::Ok) {
        LinkedTextRead result;
        result.message = file.error;
        return result;
    }
    const QByteArrayView bytes = file.text;
    if (std::optional<QByteArray> converted = utf8.convert(bytes))
        return parse_linked_text(read_as_lines(std::move(*converted)));
    // Files this program wrote are in line form already and are split straight from the
    // bytes read; anything else is normalised into a copy first.
    if (const std::optional<std::vector<qsizetype>> headers = scanInPieces(bytes))
        return split(bytes, *headers);
    return parse_linked_text(read_as_lines(bytes));
}

} // namespace pote
