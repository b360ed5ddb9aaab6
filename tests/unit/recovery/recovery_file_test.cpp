#include "recovery/recovery_file.h"

#include "support/result_check.h"
#include "support/test_files.h"

#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

namespace pote::recovery {
namespace {

using test::failureOf;
using Kind = Error::Kind;

const docfile::PasswordGate acceptAll = [](const QByteArray&) { return true; };

SectionStore novel(QByteArray password = {}) {
    SectionStore store;
    store.addGroup(test::sjis("第一部"));
    const std::pair<const char*, const char*> sections[] = {
        {"はじめに", "吾輩は猫である。\r\n名前はまだ無い。"},
        {"", ""},
        {"ぽてまる君の一日", "朝ごはんはカリカリ。\r\n\r\n昼寝。"},
    };
    for (int i = 0; i < 3; ++i) {
        const int pos = i == 0 ? 0 : store.appendEmpty();
        store.section(pos).name = test::sjis(sections[i].first);
        store.section(pos).text = test::sjis(sections[i].second);
        store.section(pos).group = i % 2;
    }
    store.current = 2;
    store.documentPath = QStringLiteral("/家/原稿/猫.ptm");
    store.displayName = QStringLiteral("猫");
    if (!password.isEmpty()) store.setPassword(password);
    return store;
}

class RecoveryFileTest : public ::testing::Test {
protected:
    QString path(const QString& name) const { return m_dir.filePath(name); }
    QTemporaryDir m_dir;
};

TEST_F(RecoveryFileTest, CopyComesBackWithItsHeader) {
    SectionStore store = novel();
    store.enterPlainTextMode(QStringLiteral("/家/メモ.txt"));
    const QDateTime taken = QDateTime::fromMSecsSinceEpoch(1733600000123, Qt::UTC);
    const QString file = path(QStringLiteral("写し.recovery"));
    ASSERT_TRUE(writeRecoveryFile(file, headerFor(store, taken), store.document()).ok());

    const Result<RecoveryRead> result = readRecoveryFile(file, acceptAll);
    ASSERT_TRUE(result) << test::errorText(result);
    const RecoveryRead& read = *result;
    EXPECT_EQ(read.header.takenAt, taken);
    EXPECT_EQ(read.header.currentSection, 2);
    EXPECT_TRUE(read.header.plainTextMode);
    EXPECT_EQ(read.header.documentPath, store.documentPath);
    EXPECT_EQ(read.header.displayName, store.displayName);
    EXPECT_EQ(read.header.textPath, QStringLiteral("/家/メモ.txt"));
    const auto& sections = read.content.sections;
    ASSERT_EQ(sections.size(), 3u);
    for (int pos = 0; pos < 3; ++pos) {
        EXPECT_EQ(sections[pos].section.name, store.section(pos).name) << pos;
        EXPECT_EQ(sections[pos].section.text, store.section(pos).text) << pos;
        EXPECT_EQ(sections[pos].section.group, store.section(pos).group) << pos;
    }
    EXPECT_EQ(read.content.groupNames, std::vector<QByteArray>{test::sjis("第一部")});
}

TEST_F(RecoveryFileTest, ProtectedDocumentIsNeverCopiedInPlainText) {
    const SectionStore store = novel("Neko2024");
    const QString file = path(QStringLiteral("p.recovery"));
    ASSERT_TRUE(
        writeRecoveryFile(file, headerFor(store, QDateTime::currentDateTimeUtc()), store.document())
            .ok());
    const QByteArray bytes = test::readAll(file);
    for (const char* plain : {"吾輩は猫である", "ぽてまる君の一日", "第一部"})
        EXPECT_FALSE(bytes.contains(test::sjis(plain))) << plain;

    QByteArray asked;
    const Result<RecoveryRead> refused =
        readRecoveryFile(file, [&asked](const QByteArray& candidate) {
            asked = candidate;
            return false;
        });
    EXPECT_EQ(failureOf(refused), Kind::Cancelled);
    EXPECT_EQ(asked, "Neko2024");
    const Result<RecoveryRead> read = readRecoveryFile(file, acceptAll);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->content.sections[0].section.text, store.section(0).text);
    EXPECT_EQ(read->content.password, "Neko2024");
}

TEST_F(RecoveryFileTest, EveryCutShortCopyIsRefused) {
    const SectionStore store = novel();
    const QString whole = path(QStringLiteral("whole.recovery"));
    ASSERT_TRUE(writeRecoveryFile(whole, headerFor(store, QDateTime::currentDateTimeUtc()),
                                  store.document())
                    .ok());
    const QByteArray bytes = test::readAll(whole);
    const QString cut = path(QStringLiteral("cut.recovery"));
    for (qsizetype n = 0; n < bytes.size(); ++n) {
        test::writeAll(cut, bytes.left(n));
        const Result<RecoveryRead> read = readRecoveryFile(cut, acceptAll);
        ASSERT_EQ(failureOf(read), Kind::Refused) << "cut at " << n;
        EXPECT_FALSE(read.error().text.isEmpty()) << "cut at " << n;
    }
}

TEST_F(RecoveryFileTest, AStringRunningPastItsFieldsIsRefused) {
    // The fields are whole and the document follows them; only a string's length says more
    // than the fields have left (yet no more than all the fields hold).
    SectionStore store = novel();
    store.enterPlainTextMode(QStringLiteral("/家/メモ.txt"));
    const QString whole = path(QStringLiteral("whole.recovery"));
    ASSERT_TRUE(writeRecoveryFile(whole, headerFor(store, QDateTime::currentDateTimeUtc()),
                                  store.document())
                    .ok());
    const QByteArray bytes = test::readAll(whole);
    constexpr qsizetype kFieldsStart = 16; // magic, version, size of the fields
    const quint32 fieldBytes = qFromLittleEndian<quint32>(bytes.constData() + 12);
    const qsizetype fieldsEnd = kFieldsStart + fieldBytes;
    qsizetype at = kFieldsStart + 12; // the time, the section and the flags come first
    const QString damaged = path(QStringLiteral("damaged.recovery"));
    for (int field = 0; field < 3; ++field) {
        const quint32 length = qFromLittleEndian<quint32>(bytes.constData() + at);
        const quint32 left = quint32(fieldsEnd - at - 4);
        for (const quint32 claimed : {left + 1, fieldBytes}) {
            QByteArray changed = bytes;
            qToLittleEndian<quint32>(claimed, changed.data() + at);
            test::writeAll(damaged, changed);
            const Result<HeaderRead> read = readRecoveryHeader(damaged);
            EXPECT_EQ(failureOf(read), Kind::Refused) << "field " << field << " claims " << claimed;
        }
        at += 4 + length;
    }
    ASSERT_EQ(at, fieldsEnd);
}

TEST_F(RecoveryFileTest, OtherFilesAreNotCopies) {
    const SectionStore store = novel();
    const QString document = path(QStringLiteral("猫.ptm"));
    ASSERT_TRUE(docfile::writeDocument(document, store.document()).ok());
    const Result<HeaderRead> notACopy = readRecoveryHeader(document);
    ASSERT_EQ(failureOf(notACopy), Kind::Refused);
    EXPECT_EQ(notACopy.error().text, QStringLiteral("この記録は壊れてて読めないにゃ。"));

    const Result<HeaderRead> missing = readRecoveryHeader(path(QStringLiteral("ない.recovery")));
    ASSERT_EQ(failureOf(missing), Kind::Io);
    EXPECT_FALSE(missing.error().text.isEmpty());
}

TEST_F(RecoveryFileTest, FailedWriteLeavesNothing) {
    const SectionStore store = novel();
    const QString file = path(QStringLiteral("無い/写し.recovery"));
    const Result<void> written = writeRecoveryFile(
        file, headerFor(store, QDateTime::currentDateTimeUtc()), store.document());
    ASSERT_FALSE(written);
    EXPECT_FALSE(written.error().text.isEmpty());
    EXPECT_TRUE(QDir(m_dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).isEmpty());
}

} // namespace
} // namespace pote::recovery
