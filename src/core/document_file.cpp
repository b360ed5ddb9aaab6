#include "core/document_file.h"

#include "core/document_format.h"
#include "core/file_io.h"
#include "core/password_rules.h"
#include "core/password_scramble.h"
#include "core/text_interleave.h"

#include <QRandomGenerator>
#include <QSaveFile>

#include <cstring>
#include <limits>

namespace pote::docfile {

using namespace format;

QString tooManySectionsMessage() {
    return QStringLiteral("にゃ！！セクション数が多すぎるにゃ。\r\n") +
           QStringLiteral("ヴァージョンが新しいかどうか確認してにゃん。\r\n");
}
QString emptyFileMessage() {
    return QStringLiteral("このファイルは空っぽだにゃ。読めないにゃん。");
}
QString truncatedFileMessage() {
    return QStringLiteral("このファイルは途中で切れてるみたいだにゃ。読めないにゃん。");
}
QString unknownVersionMessage() {
    return QStringLiteral("知らないヴァージョンのファイルだにゃ。読めないにゃん。");
}
QString noSectionsMessage() {
    return QStringLiteral("セクションがひとつも入ってないファイルだにゃ。読めないにゃん。");
}
QString tooManyOldSectionsMessage() {
    return QStringLiteral("セクション数が５００を超える古いファイルだにゃ。読めないにゃん。");
}
QString tooManyGroupsMessage() {
    return QStringLiteral("グループ数が５００を超えてるにゃ。壊れたファイルみたいだにゃん。");
}
QString damagedPasswordMessage() {
    return QStringLiteral("パスワードの記録が壊れてるにゃ。読めないにゃん。");
}
QString damagedTextLengthMessage() {
    return QStringLiteral("文章の長さの記録がおかしいにゃ。壊れたファイルみたいだにゃん。");
}
QString nameTooLongMessage() {
    return QStringLiteral(
        "長すぎる名前があって保存できないにゃ。名前は６５５３４バイトまでにしてにゃん。");
}
QString textTooLongMessage() {
    return QStringLiteral(
        "大きすぎる文章があって保存できないにゃ。２ギガバイトより小さくしてにゃん。");
}
QString invalidPasswordMessage() {
    return QStringLiteral("パスワードが４文字から８文字の英数字じゃないにゃ。保存できないにゃん。");
}

bool isValidPassword(QByteArrayView password) {
    return checkPasswordBytes(password) == PasswordProblem::None;
}

namespace {

qint64 nameFieldSize(const QByteArray& name) {
    return 2 + name.size() + 1;
}

qint64 passwordBlockSize(const Document& document) {
    return document.hasPassword() ? 2 + 2 * (document.password().size() + 2) : 0;
}

// Collects small pieces into large writes; after the first failed write it writes nothing more.
class BlockWriter {
public:
    static constexpr qsizetype kCapacity = 2 * kChunk;

    explicit BlockWriter(QIODevice& device) : m_device(device), m_buffer(kCapacity, '\0') {}

    // Room for n (<= kCapacity) bytes at the end of the buffer; fill it, then advance(n).
    char* space(qsizetype n) {
        Q_ASSERT(n <= kCapacity);
        if (m_used + n > kCapacity) flush();
        return m_buffer.data() + m_used;
    }
    void advance(qsizetype n) { m_used += n; }

    void put16(quint16 v) {
        putLe16(space(2), v);
        advance(2);
    }
    void put32(quint32 v) {
        putLe32(space(4), v);
        advance(4);
    }

    bool flush() {
        if (m_used > 0 && m_ok) m_ok = writeFully(m_device, m_buffer.constData(), m_used);
        m_used = 0;
        return m_ok;
    }

private:
    QIODevice& m_device;
    QByteArray m_buffer;
    qsizetype m_used = 0;
    bool m_ok = true;
};

void writeName(BlockWriter& out, const QByteArray& name, QByteArrayView key) {
    const qsizetype n = name.size();
    out.put16(static_cast<quint16>(n + 1));
    char* p = out.space(n + 1);
    for (qsizetype i = 0; i < n; ++i)
        p[i] = static_cast<char>(rotate_right(static_cast<quint8>(name[i])));
    xor_with_key(p, n, key);
    p[n] = '\0';
    out.advance(n + 1);
}

// One half of a text: every other byte from src, for n bytes, each run XORed from P[1] on.
void writeHalf(BlockWriter& out, const char* src, qsizetype n, const KeyStream& keys) {
    for (qsizetype k0 = 0; k0 < n; k0 += kChunk) {
        const qsizetype run = qMin(kChunk, n - k0);
        gatherEveryOther(src + 2 * k0, out.space(run), run, keys.at(k0));
        out.advance(run);
    }
}

void writeText(BlockWriter& out, const QByteArray& text, const KeyStream& keys) {
    const qsizetype len = text.size();
    const qsizetype evenSize = (len + 1) / 2;
    if (len <= BlockWriter::kCapacity) {
        // Most texts: both halves at once, reading the text a single time.
        char* p = out.space(len);
        splitHalves(text.constData(), len, p, p + evenSize, keys.at(0));
        out.advance(len);
        return;
    }
    writeHalf(out, text.constData(), evenSize, keys);
    writeHalf(out, text.constData() + 1, len / 2, keys);
}

// Why the format cannot hold the document (empty when it can), found before anything is written.
QString unwritableReason(const Document& document) {
    if (document.hasPassword() && !isValidPassword(document.password()))
        return invalidPasswordMessage();
    for (int g = 1; g <= document.groupCount(); ++g)
        if (document.groupName(g).size() > kMaxNameBytes) return nameTooLongMessage();
    for (int pos = 0; pos < document.count(); ++pos) {
        if (document.section(pos).name.size() > kMaxNameBytes) return nameTooLongMessage();
        if (document.section(pos).text.size() > std::numeric_limits<qint32>::max())
            return textTooLongMessage();
    }
    return {};
}

} // namespace

qint64 encodedSize(const Document& document) {
    qint64 size = kHeaderSize + passwordBlockSize(document) + kRecordSize * document.count();
    for (int g = 1; g <= document.groupCount(); ++g)
        size += nameFieldSize(document.groupName(g));
    for (int pos = 0; pos < document.count(); ++pos)
        size += nameFieldSize(document.section(pos).name) + document.section(pos).text.size();
    return size;
}

Result<void> writeDocument(const QString& path, const Document& document, QRandomGenerator* rng) {
    if (QString reason = unwritableReason(document); !reason.isEmpty())
        return Error::refused(reason, path);
    if (Result<void> target = checkWriteTarget(path); !target) return target;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) return writeError(file);
    Result<void> written = writeDocumentTo(file, document, rng);
    if (!written) return written;
    return commitSaveFile(file);
}

Result<void> writeDocumentTo(QFileDevice& file, const Document& document, QRandomGenerator* rng) {
    if (QString reason = unwritableReason(document); !reason.isEmpty())
        return Error::refused(reason, file.fileName());
    if (!rng) rng = QRandomGenerator::global();

    const QByteArrayView key =
        document.hasPassword() ? QByteArrayView(document.password()) : QByteArrayView();
    BlockWriter out(file);

    std::memcpy(out.space(4), "PTM0", 4);
    out.advance(4);
    for (quint16 word :
         {kVersionCurrent, static_cast<quint16>(document.count()),
          static_cast<quint16>(document.groupCount()), document.headerReserved,
          static_cast<quint16>(document.hasPassword() ? 1 : 0), quint16(1), quint16(0), quint16(0)})
        out.put16(word);

    if (document.hasPassword()) {
        const auto filler = [rng] { return static_cast<quint16>(rng->bounded(kFillerLimit)); };
        const auto& pw = document.password();
        out.put16(static_cast<quint16>(2 * (pw.size() + 2)));
        out.put16(filler());
        out.put16(pw_char_encode(static_cast<quint8>(pw[0])));
        out.put16(filler());
        for (qsizetype i = 1; i < pw.size(); ++i)
            out.put16(pw_char_encode(static_cast<quint8>(pw[i])));
    }

    for (int pos = 0; pos < document.count(); ++pos) {
        const PositionReserved& r = document.reserved(pos);
        out.put16(static_cast<quint16>(document.section(pos).group));
        out.put16(static_cast<quint16>(r.r1));
        out.put32(static_cast<quint32>(document.section(pos).text.size()));
        out.put16(static_cast<quint16>(r.r2));
        out.put16(static_cast<quint16>(r.r3));
    }
    for (int g = 1; g <= document.groupCount(); ++g)
        writeName(out, document.groupName(g), key);
    for (int pos = 0; pos < document.count(); ++pos)
        writeName(out, document.section(pos).name, key);

    const KeyStream keys(key, kChunk);
    for (int pos = 0; pos < document.count(); ++pos)
        writeText(out, document.section(pos).text, keys);

    if (!out.flush()) return writeError(file);
    return {};
}

} // namespace pote::docfile
