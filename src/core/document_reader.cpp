// Reading .ptm files. Every count and length is checked against the bytes that remain before
// anything is allocated, and the whole layout is checked before the password is asked for, so
// a damaged file is refused without bothering the user. Texts are then read a chunk at a time
// straight into their final buffers.

#include "core/document_file.h"

#include "core/document_format.h"
#include "core/file_io.h"
#include "core/password_scramble.h"
#include "core/text_interleave.h"

#include <QFile>

#include <cstring>
#include <optional>

namespace pote::docfile {

using namespace format;
namespace {

// The bytes of a file, from memory or from disk.
class Source {
public:
    virtual ~Source() = default;
    qint64 size() const { return m_size; }
    // The n bytes at offset (the caller has checked that they lie within size()), either in
    // place or copied into scratch; nullptr when they could not be read.
    virtual const char* bytes(qint64 offset, qint64 n, QByteArray& scratch) = 0;
    // Why bytes() returned nullptr.
    virtual Error error() const = 0;

protected:
    qint64 m_size = 0;
};

class MemorySource final : public Source {
public:
    explicit MemorySource(QByteArrayView bytes) : m_bytes(bytes) { m_size = bytes.size(); }
    const char* bytes(qint64 offset, qint64, QByteArray&) override {
        return m_bytes.constData() + offset;
    }
    Error error() const override { return Error::io({}, {}); }

private:
    QByteArrayView m_bytes;
};

// The file from start on (a document may follow a header of another file).
class FileSource final : public Source {
public:
    FileSource(QFile& file, QString path, qint64 start = 0)
        : m_file(file), m_path(std::move(path)), m_start(start) {
        m_size = qMax<qint64>(0, file.size() - start);
    }
    const char* bytes(qint64 offset, qint64 n, QByteArray& scratch) override {
        if (scratch.size() < n) scratch.resize(n);
        if (n > 0 && (!m_file.seek(m_start + offset) || m_file.read(scratch.data(), n) != n))
            return nullptr;
        return scratch.constData();
    }
    Error error() const override {
        // A short read without an error: the file shrank while we read it.
        return Error::io(m_path, m_file.error() != QFileDevice::NoError ? m_file.errorString()
                                                                        : truncatedFileMessage());
    }

private:
    QFile& m_file;
    QString m_path;
    qint64 m_start = 0;
};

struct NameField {
    qint64 offset;
    qint64 size; // N: the stored bytes, terminator included
};

struct Record {
    quint16 group = 0;
    quint16 r1 = 0;
    quint16 r2 = 0;
    quint16 r3 = 0;
    qint64 textLength = 0;
};

// Where everything is, found by walking the file once without reading names or texts.
struct Layout {
    DocumentInfo info;
    bool hasPasswordBlock = false;
    QByteArray candidate;
    std::vector<Record> records;
    std::vector<NameField> groupNames;
    std::vector<NameField> sectionNames;
    qint64 textsStart = 0;
};

// A cursor over a source that refuses, once, at the first read past the end.
class Cursor {
public:
    explicit Cursor(Source& source) : m_source(source) {}

    qint64 pos() const { return m_pos; }
    void seek(qint64 pos) { m_pos = pos; }
    const std::optional<Error>& refusal() const { return m_refusal; }
    void refuse(QString message) {
        if (!m_refusal) m_refusal = Error::refused(std::move(message));
    }

    // The next n bytes, or nullptr (and a refusal) when the file ends first or cannot be read.
    const char* take(qint64 n) {
        if (!skip(n)) return nullptr;
        const char* p = m_source.bytes(m_pos - n, n, m_scratch);
        if (!p) m_refusal = m_source.error();
        return p;
    }
    bool skip(qint64 n) {
        if (m_refusal) return false;
        if (n < 0 || n > m_source.size() - m_pos) {
            refuse(truncatedFileMessage());
            return false;
        }
        m_pos += n;
        return true;
    }

private:
    Source& m_source;
    QByteArray m_scratch;
    qint64 m_pos = 0;
    std::optional<Error> m_refusal;
};

// Word 1 and words 3 .. N/2-1 of the block hold the password; words 0 and 2 are filler.
// A word that is not exactly the encoding of a character, or a password that is not letters
// and digits, means the block is damaged: no password the user can type would match it.
std::optional<QByteArray> decodePasswordBlock(const char* words, qint64 wordCount) {
    QByteArray password;
    for (qint64 i = 1; i < wordCount; ++i) {
        if (i == 2) continue;
        const quint16 w = le16(words + 2 * i);
        const quint8 c = pw_char_decode(w);
        if (pw_char_encode(c) != w) return std::nullopt;
        password.append(static_cast<char>(c));
    }
    if (!isValidPassword(password)) return std::nullopt;
    return password;
}

bool readNameFields(Cursor& in, qint64 count, std::vector<NameField>& out) {
    out.reserve(static_cast<size_t>(count));
    for (qint64 i = 0; i < count; ++i) {
        const char* p = in.take(2);
        if (!p) return false;
        const qint64 n = le16(p);
        out.push_back({in.pos(), n});
        if (!in.skip(n)) return false;
    }
    return true;
}

bool skipTexts(Cursor& in, Layout& layout) {
    layout.textsStart = in.pos();
    for (const Record& r : layout.records) {
        if (!in.skip(r.textLength)) return false;
        layout.info.totalTextBytes += r.textLength;
    }
    return true;
}

void readOldLayout(Cursor& in, const char* header, Layout& layout) {
    const int count = le16(header + 6);
    layout.info.sectionCount = count;
    if (count == 0) return in.refuse(noSectionsMessage());
    if (count > Document::kMaxSections) return in.refuse(tooManyOldSectionsMessage());
    const char* entries = in.take(kOldEntrySize * count);
    if (!entries) return;
    layout.records.resize(static_cast<size_t>(count));
    layout.sectionNames.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        layout.records[static_cast<size_t>(i)].textLength = le16(entries + kOldEntrySize * i);
        layout.sectionNames.push_back({0, le16(entries + kOldEntrySize * i + 2)});
    }
    for (NameField& name : layout.sectionNames) {
        name.offset = in.pos();
        if (!in.skip(name.size)) return;
    }
    skipTexts(in, layout);
}

void readCurrentLayout(Cursor& in, Layout& layout) {
    in.seek(0);
    const char* header = in.take(kHeaderSize);
    if (!header) return;
    const int count = le16(header + 6);
    const int groups = le16(header + 8);
    const quint16 passwordWord = le16(header + 12);
    layout.info.sectionCount = count;
    layout.info.groupCount = groups;
    layout.info.headerReserved = le16(header + 10);
    layout.info.hasPassword = passwordWord == 1;
    if (count > Document::kMaxSections) return in.refuse(tooManySectionsMessage());
    if (count == 0) return in.refuse(noSectionsMessage());
    if (groups > Document::kMaxGroups) return in.refuse(tooManyGroupsMessage());

    if (passwordWord != 0) {
        layout.hasPasswordBlock = true;
        const char* p = in.take(2);
        if (!p) return;
        const qint64 n = le16(p);
        if (n % 2 != 0 || n < 2 * (kMinPasswordLength + 2) || n > 2 * (kMaxPasswordLength + 2))
            return in.refuse(damagedPasswordMessage());
        const char* words = in.take(n);
        if (!words) return;
        std::optional<QByteArray> candidate = decodePasswordBlock(words, n / 2);
        if (!candidate) return in.refuse(damagedPasswordMessage());
        layout.candidate = std::move(*candidate);
    }

    const char* records = in.take(kRecordSize * count);
    if (!records) return;
    layout.records.resize(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        const char* p = records + kRecordSize * i;
        Record& r = layout.records[static_cast<size_t>(i)];
        r.group = le16(p);
        r.r1 = le16(p + 2);
        r.textLength = static_cast<qint32>(le32(p + 4));
        r.r2 = le16(p + 8);
        r.r3 = le16(p + 10);
        if (r.textLength < 0) return in.refuse(damagedTextLengthMessage());
    }
    if (readNameFields(in, groups, layout.groupNames) &&
        readNameFields(in, count, layout.sectionNames))
        skipTexts(in, layout);
}

std::optional<Error> readLayout(Source& source, Layout& layout) {
    if (source.size() == 0) return Error::refused(emptyFileMessage());
    Cursor in(source);
    const char* p = in.take(kOldHeaderSize);
    if (!p) return in.refusal();
    char header[kOldHeaderSize];
    std::memcpy(header, p, sizeof header);
    layout.info.version = le16(header + 4);
    if (layout.info.version == kVersionOld)
        readOldLayout(in, header, layout);
    else if (layout.info.version == kVersionCurrent)
        readCurrentLayout(in, layout);
    else
        in.refuse(unknownVersionMessage());
    return in.refusal();
}

// Reads names and texts into content, following a layout that has been checked.
class ContentReader {
public:
    ContentReader(Source& source, const Layout& layout)
        : m_source(source), m_layout(layout),
          m_key(layout.info.hasPassword ? QByteArrayView(layout.candidate) : QByteArrayView()) {}

    std::optional<Error> read(DocumentContent& content) {
        const bool old = m_layout.info.version == kVersionOld;
        content.sections.resize(m_layout.records.size());
        content.groupNames.reserve(m_layout.groupNames.size());
        for (const NameField& field : m_layout.groupNames)
            content.groupNames.push_back(currentName(field));

        const int groupCount = static_cast<int>(m_layout.groupNames.size());
        qint64 textOffset = m_layout.textsStart;
        for (size_t i = 0; i < m_layout.records.size() && m_ok; ++i) {
            const Record& r = m_layout.records[i];
            DocumentContent::Entry& entry = content.sections[i];
            entry.section.name =
                old ? oldName(m_layout.sectionNames[i]) : currentName(m_layout.sectionNames[i]);
            entry.section.text =
                old ? oldText(textOffset, r.textLength) : currentText(textOffset, r.textLength);
            textOffset += r.textLength;
            if (!old) {
                // A member of a group the file does not name would point past the group
                // table; it keeps its text and joins no group.
                entry.section.group = r.group <= groupCount ? r.group : 0;
                entry.reserved = PositionReserved{r.r1, r.r2, r.r3};
            }
        }
        if (!m_ok) return m_source.error();
        content.headerReserved = m_layout.info.headerReserved;
        content.hasPassword = m_layout.info.hasPassword;
        if (content.hasPassword) content.password = m_layout.candidate;
        return std::nullopt;
    }

private:
    const char* bytes(qint64 offset, qint64 n, QByteArray& scratch) {
        const char* p = m_ok ? m_source.bytes(offset, n, scratch) : nullptr;
        m_ok = p != nullptr;
        return p;
    }

    // The last of the N stored bytes is the terminator: with a password any other byte may
    // be 0x00 as well.
    QByteArray currentName(const NameField& field) {
        const qint64 n = qMax<qint64>(field.size - 1, 0);
        const char* p = bytes(field.offset, field.size, m_scratch);
        if (!p) return {};
        QByteArray name(n, Qt::Uninitialized);
        std::memcpy(name.data(), p, static_cast<size_t>(n));
        xor_with_key(name.data(), n, m_key);
        for (char& c : name)
            c = static_cast<char>(rotate_left(static_cast<quint8>(c)));
        return name;
    }

    QByteArray oldName(const NameField& field) {
        const char* p = bytes(field.offset, field.size, m_scratch);
        if (!p) return {};
        const void* nul = std::memchr(p, 0, static_cast<size_t>(field.size));
        return QByteArray(p, nul ? static_cast<const char*>(nul) - p : field.size);
    }

    QByteArray oldText(qint64 offset, qint64 len) {
        const char* p = bytes(offset, len, m_scratch);
        return p ? QByteArray(p, len) : QByteArray();
    }

    QByteArray currentText(qint64 offset, qint64 len) {
        QByteArray text(len, Qt::Uninitialized);
        for (qint64 pos = 0; pos < len && m_ok; pos += kChunk)
            readText(offset, len, pos, qMin(kChunk, len - pos), text.data() + pos);
        return m_ok ? text : QByteArray();
    }

public:
    // Bytes [pos, pos + n) of the text of length len stored at offset, n <= kChunk. The
    // halves of a current-format text are read from the two places that hold them.
    bool readText(qint64 offset, qint64 len, qint64 pos, qint64 n, char* out) {
        if (m_layout.info.version == kVersionOld) {
            const char* p = bytes(offset + pos, n, m_scratch);
            if (p) std::memcpy(out, p, static_cast<size_t>(n));
            return p != nullptr;
        }
        // Merged from an even text offset, so that both halves start at the same index.
        const qint64 k0 = pos / 2;
        const qint64 end = pos + n;
        const qint64 nEven = (end + 1) / 2 - k0;
        const qint64 nOdd = end / 2 - k0;
        const char* even = bytes(offset + k0, nEven, m_scratch);
        const char* odd = bytes(offset + (len + 1) / 2 + k0, nOdd, m_scratchOdd);
        if (!even || !odd) return false;
        if (pos % 2 == 0) {
            interleaveHalves(even, nEven, odd, nOdd, out, m_keys.at(k0));
        } else {
            if (m_merged.size() < n + 1) m_merged.resize(n + 1);
            interleaveHalves(even, nEven, odd, nOdd, m_merged.data(), m_keys.at(k0));
            std::memcpy(out, m_merged.constData() + 1, static_cast<size_t>(n));
        }
        return true;
    }
    std::optional<Error> error() const {
        return m_ok ? std::nullopt : std::optional<Error>(m_source.error());
    }

private:
    Source& m_source;
    const Layout& m_layout;
    QByteArrayView m_key;
    KeyStream m_keys{m_key, kChunk};
    QByteArray m_scratch;
    QByteArray m_scratchOdd;
    QByteArray m_merged;
    bool m_ok = true;
};

Result<DocumentRead> readFrom(Source& source, const PasswordGate& gate) {
    Layout layout;
    if (std::optional<Error> refusal = readLayout(source, layout)) return *std::move(refusal);
    if (layout.hasPasswordBlock && !(gate && gate(layout.candidate))) return Error::cancelled();
    DocumentRead read;
    read.version = layout.info.version;
    if (std::optional<Error> refusal = ContentReader(source, layout).read(read.content))
        return *std::move(refusal);
    return read;
}

} // namespace

Result<DocumentRead> parseDocument(QByteArrayView bytes, const PasswordGate& gate) {
    MemorySource source(bytes);
    return readFrom(source, gate);
}

Result<DocumentRead> readDocument(const QString& path, const PasswordGate& gate) {
    return readDocumentAt(path, 0, gate);
}

Result<DocumentRead> readDocumentAt(const QString& path, qint64 offset, const PasswordGate& gate) {
    // Read-only: a document the user may not change can still be opened and read.
    QFile file;
    if (Result<void> opened = openRegularFileForReading(file, path); !opened) return opened.error();
    FileSource source(file, path, offset);
    return readFrom(source, gate);
}

static_assert(SectionTexts::kMaxPiece <= kChunk, "one piece is one run of the key stream");

struct SectionTexts::Parts {
    QFile file;
    std::optional<FileSource> source;
    Layout layout;
    std::optional<ContentReader> reader;
    std::vector<qint64> offsets; // where each text is stored
};

SectionTexts::SectionTexts() : d(std::make_unique<Parts>()) {}
SectionTexts::~SectionTexts() = default;

Result<std::unique_ptr<SectionTexts>> SectionTexts::open(const QString& path,
                                                         const PasswordGate& gate) {
    std::unique_ptr<SectionTexts> texts(new SectionTexts);
    Parts& d = *texts->d;
    if (Result<void> opened = openRegularFileForReading(d.file, path); !opened)
        return opened.error();
    d.source.emplace(d.file, path);
    if (std::optional<Error> refusal = readLayout(*d.source, d.layout)) return *std::move(refusal);
    if (d.layout.hasPasswordBlock && !(gate && gate(d.layout.candidate))) return Error::cancelled();
    d.reader.emplace(*d.source, d.layout);
    qint64 offset = d.layout.textsStart;
    for (const Record& r : d.layout.records) {
        d.offsets.push_back(offset);
        offset += r.textLength;
    }
    return texts;
}

int SectionTexts::count() const {
    return static_cast<int>(d->layout.records.size());
}

qint64 SectionTexts::textLength(int section) const {
    return d->layout.records[static_cast<size_t>(section)].textLength;
}

Result<void> SectionTexts::read(int section, qint64 pos, qint64 n, char* out) {
    const qint64 len = textLength(section);
    Q_ASSERT(pos >= 0 && n >= 0 && n <= kMaxPiece && pos + n <= len);
    if (n == 0) return {};
    if (!d->reader->readText(d->offsets[static_cast<size_t>(section)], len, pos, n, out))
        return *d->reader->error();
    return {};
}

Result<DocumentInfo> inspectDocument(const QString& path) {
    QFile file;
    if (Result<void> opened = openRegularFileForReading(file, path); !opened) return opened.error();
    FileSource source(file, path);
    Layout layout;
    if (std::optional<Error> refusal = readLayout(source, layout)) return *std::move(refusal);
    return layout.info;
}

} // namespace pote::docfile
