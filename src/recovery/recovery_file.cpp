#include "recovery/recovery_file.h"

#include "core/file_io.h"

#include <QFile>
#include <QSaveFile>
#include <QtEndian>

namespace pote::recovery {

namespace {

constexpr char kMagic[8] = {'P', 'T', 'M', 'R', 'E', 'C', 'O', 'V'};
constexpr quint32 kHeaderVersion = 1;
constexpr quint16 kPlainTextFlag = 0x1;
// Paths and names are short; anything longer is a damaged file, not a header to allocate for.
constexpr quint32 kMaxFieldBytes = 1 << 20;

QString damagedHeaderMessage() {
    return QStringLiteral("この記録は壊れてて読めないにゃ。");
}

void putString(QByteArray& out, const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    char length[4];
    qToLittleEndian<quint32>(static_cast<quint32>(utf8.size()), length);
    out.append(length, 4).append(utf8);
}

QByteArray encodeHeader(const RecoveryHeader& header) {
    QByteArray fields;
    char word[8];
    qToLittleEndian<qint64>(header.takenAt.toMSecsSinceEpoch(), word);
    fields.append(word, 8);
    qToLittleEndian<quint16>(static_cast<quint16>(header.currentSection), word);
    qToLittleEndian<quint16>(header.plainTextMode ? kPlainTextFlag : 0, word + 2);
    fields.append(word, 4);
    putString(fields, header.documentPath);
    putString(fields, header.displayName);
    putString(fields, header.textPath);

    QByteArray out(kMagic, sizeof kMagic);
    qToLittleEndian<quint32>(kHeaderVersion, word);
    qToLittleEndian<quint32>(static_cast<quint32>(fields.size()), word + 4);
    out.append(word, 8);
    return out + fields;
}

// Reads fields front to back; the first shortfall sticks, so nothing is read past it.
class FieldReader {
public:
    explicit FieldReader(QByteArrayView bytes) : m_bytes(bytes) {}
    bool ok() const { return m_ok; }

    QByteArrayView take(qint64 n) {
        if (!m_ok || n < 0 || n > m_bytes.size() - m_at) {
            m_ok = false;
            return {};
        }
        const QByteArrayView piece = m_bytes.sliced(m_at, n);
        m_at += n;
        return piece;
    }
    template <typename T> T number() {
        const QByteArrayView b = take(sizeof(T));
        return m_ok ? qFromLittleEndian<T>(b.data()) : T{};
    }
    QString string() {
        const quint32 n = number<quint32>();
        if (n > kMaxFieldBytes) m_ok = false;
        return QString::fromUtf8(take(n));
    }

private:
    QByteArrayView m_bytes;
    qint64 m_at = 0;
    bool m_ok = true;
};

} // namespace

RecoveryHeader headerFor(const SectionStore& store, const QDateTime& takenAt) {
    RecoveryHeader header;
    header.takenAt = takenAt;
    header.currentSection = store.current;
    header.plainTextMode = store.plainTextMode();
    header.documentPath = store.documentPath;
    header.displayName = store.displayName;
    header.textPath = store.textPath();
    return header;
}

Result<void> writeRecoveryFile(const QString& path, const RecoveryHeader& header,
                               const Document& document) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) return writeError(file);
    const QByteArray head = encodeHeader(header);
    if (!writeFully(file, head.constData(), head.size())) return writeError(file);
    Result<void> written = docfile::writeDocumentTo(file, document);
    if (!written) return written;
    return commitSaveFile(file);
}

Result<HeaderRead> readRecoveryHeader(const QString& path) {
    // Only a read error is an I/O error; whatever else is wrong is a damaged file.
    const auto refuse = [&path](const QFile& file) {
        if (file.error() != QFileDevice::NoError) return Error::io(path, file.errorString());
        return Error::refused(damagedHeaderMessage());
    };
    QFile file;
    if (Result<void> opened = openRegularFileForReading(file, path); !opened) return opened.error();
    const QByteArray start = file.read(sizeof kMagic + 8);
    FieldReader prefix(start);
    const QByteArrayView magic = prefix.take(sizeof kMagic);
    const quint32 version = prefix.number<quint32>();
    const quint32 fieldBytes = prefix.number<quint32>();
    if (!prefix.ok() || magic != QByteArrayView(kMagic, sizeof kMagic) ||
        version != kHeaderVersion || fieldBytes > 3 * (kMaxFieldBytes + 4) + 12)
        return refuse(file);
    const QByteArray fieldBytesRead = file.read(fieldBytes);
    FieldReader fields(fieldBytesRead);
    HeaderRead result;
    RecoveryHeader& header = result.header;
    header.takenAt = QDateTime::fromMSecsSinceEpoch(fields.number<qint64>(), Qt::UTC);
    header.currentSection = fields.number<quint16>();
    header.plainTextMode = (fields.number<quint16>() & kPlainTextFlag) != 0;
    header.documentPath = fields.string();
    header.displayName = fields.string();
    header.textPath = fields.string();
    if (!fields.ok() || fieldBytesRead.size() != qsizetype(fieldBytes)) return refuse(file);
    result.documentOffset = qint64(sizeof kMagic) + 8 + fieldBytes;
    return result;
}

Result<RecoveryRead> readRecoveryFile(const QString& path, const docfile::PasswordGate& gate) {
    Result<HeaderRead> head = readRecoveryHeader(path);
    if (!head) return head.error();
    Result<docfile::DocumentRead> document =
        docfile::readDocumentAt(path, head->documentOffset, gate);
    if (!document) return document.error();
    RecoveryRead result{std::move(head->header), std::move(document->content)};
    // A section beyond the document (only a damaged header says so) shows section 1.
    if (result.header.currentSection >= int(result.content.sections.size()))
        result.header.currentSection = 0;
    return result;
}

} // namespace pote::recovery
