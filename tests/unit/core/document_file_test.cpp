#include "core/document_file.h"
#include "core/file_io.h"

#include "core/password_scramble.h"
#include "support/result_check.h"
#include "support/test_files.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QSet>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace pote {
namespace {

using ReadResult = Result<docfile::DocumentRead>;
using Kind = Error::Kind;
using test::failureOf;

// Byte strings compared as spaced hex, so that a failure shows where the bytes differ.
std::string hexOf(QByteArrayView bytes) {
    return bytes.toByteArray().toHex(' ').toStdString();
}
std::string hexDigits(const char* digits) {
    return hexOf(QByteArray::fromHex(digits));
}

// Raw little-endian file bytes, for files the writer would never produce.
struct Bytes {
    QByteArray data;
    Bytes& raw(QByteArrayView b) {
        data.append(b);
        return *this;
    }
    Bytes& w16(quint16 v) {
        data.append(static_cast<char>(v & 0xFF)).append(static_cast<char>(v >> 8));
        return *this;
    }
    Bytes& w32(quint32 v) {
        return w16(static_cast<quint16>(v & 0xFFFF)).w16(static_cast<quint16>(v >> 16));
    }
};

void setWord(QByteArray& file, qsizetype offset, quint16 v) {
    file[offset] = static_cast<char>(v & 0xFF);
    file[offset + 1] = static_cast<char>(v >> 8);
}

const docfile::PasswordGate acceptAll = [](const QByteArray&) { return true; };

class DocumentFileTest : public ::testing::Test {
protected:
    QString path(const QString& name) const { return m_dir.filePath(name); }

    QByteArray written(const Document& store, quint32 seed = 1) {
        const QString file = path(QStringLiteral("書き出し.ptm"));
        QRandomGenerator rng(seed);
        const Result<void> result = docfile::writeDocument(file, store, &rng);
        EXPECT_TRUE(result.ok()) << result.error().text.toStdString();
        return test::readAll(file);
    }

    QTemporaryDir m_dir;
};

// One section per text, named after its position; groups as given.
Document storeOf(const std::vector<QByteArray>& texts, QByteArray password = {}) {
    Document store;
    for (size_t i = 0; i < texts.size(); ++i) {
        const int pos = i == 0 ? 0 : store.appendEmpty();
        store.section(pos).name = "s" + QByteArray::number(pos + 1);
        store.section(pos).text = texts[i];
    }
    if (!password.isEmpty()) store.setPassword(password);
    return store;
}

void expectSameDocument(const Document& a, const Document& b) {
    ASSERT_EQ(a.count(), b.count());
    ASSERT_EQ(a.groupCount(), b.groupCount());
    for (int g = 1; g <= a.groupCount(); ++g)
        EXPECT_EQ(a.groupName(g), b.groupName(g)) << "group " << g;
    for (int pos = 0; pos < a.count(); ++pos) {
        EXPECT_EQ(a.section(pos).name, b.section(pos).name) << "position " << pos;
        EXPECT_EQ(a.section(pos).text, b.section(pos).text) << "position " << pos;
        EXPECT_EQ(a.section(pos).group, b.section(pos).group) << "position " << pos;
        EXPECT_EQ(a.reserved(pos).r1, b.reserved(pos).r1) << "position " << pos;
        EXPECT_EQ(a.reserved(pos).r2, b.reserved(pos).r2) << "position " << pos;
        EXPECT_EQ(a.reserved(pos).r3, b.reserved(pos).r3) << "position " << pos;
    }
    EXPECT_EQ(a.headerReserved, b.headerReserved);
    EXPECT_EQ(a.hasPassword(), b.hasPassword());
    EXPECT_EQ(a.password(), b.password());
}

Document readBack(QByteArrayView file, const docfile::PasswordGate& gate = acceptAll) {
    ReadResult result = docfile::parseDocument(file, gate);
    EXPECT_TRUE(result) << test::errorText(result);
    Document store;
    if (result) store.replace(std::move(result->content));
    return store;
}

// A document with everything the format holds: password, groups, R values, header word.
Document richStore() {
    Document store;
    store.addGroup(test::sjis("第一部"));
    store.addGroup("");
    store.addGroup(test::sjis("資料"));
    const std::vector<std::pair<const char*, const char*>> sections = {
        {"はじめに", "吾輩は猫である。\r\n名前はまだ無い。"},
        {"", ""},
        {"x", "y"},
        {"ぽてまる君の一日", "朝ごはんはカリカリ。\r\n\r\n昼寝。"},
    };
    for (size_t i = 0; i < sections.size(); ++i) {
        const int pos = i == 0 ? 0 : store.appendEmpty();
        store.section(pos).name = test::sjis(sections[i].first);
        store.section(pos).text = test::sjis(sections[i].second);
        store.section(pos).group = static_cast<int>(i % 4);
        store.reserved(pos) = {quint32(0x1000 + i), quint32(0xFFFF - i), quint32(7 * i)};
    }
    store.headerReserved = 0xBEEF;
    store.setPassword("Neko2024");
    return store;
}

TEST_F(DocumentFileTest, SmallestDocumentIsFortyOneBytes) {
    Document store = storeOf({"abc"});
    store.section(0).name = "abc";
    const QByteArray file = written(store);
    EXPECT_EQ(hexOf(file), hexDigits("50544D30"                                // PTM0
                                     "0200 0100 0000 0000 0000 0100 0000 0000" // header
                                     "0000 0000 0300 0000 0000 0000"           // record
                                     "0400 5898 D800"                          // name
                                     "616362"));                               // text
    EXPECT_EQ(docfile::encodedSize(store), 41);
}

TEST_F(DocumentFileTest, TextsAreStoredEvenBytesFirst) {
    const struct {
        const char* name;
        QByteArray text;
        QByteArray stored;
    } rows[] = {
        {"empty", "", ""},
        {"one byte", "a", "a"},
        {"odd length", "abcde", "acebd"},
        {"even length", "abcdef", "acebdf"},
    };
    for (const auto& row : rows) {
        const QByteArray file = written(storeOf({row.text}));
        EXPECT_EQ(file.right(row.stored.size()), row.stored) << row.name;
        EXPECT_EQ(file.size(), 20 + 12 + 5 + row.text.size()) << row.name;
    }
}

TEST_F(DocumentFileTest, KeyRestartsForEveryNameAndEveryTextHalf) {
    Document store = storeOf({"abcdefghij", ""}, "ABCD");
    store.section(0).name = "abcde";
    store.section(1).name = "ab";
    const QByteArray file = written(store);
    const qsizetype names = 20 + 2 + 12 + 2 * 12;
    EXPECT_EQ(hexOf(file.mid(names)),
              hexDigits("0600 19DA9B5D18 00" // a b c d e: rotated, XOR A B C D A
                        "0300 19DA 00"       // a b: the key starts again at A
                        "2021262328"         // a c e g i XOR A B C D A
                        "2326252C2B"));      // b d f h j XOR A B C D A
}

TEST_F(DocumentFileTest, PasswordBlockFollowsTheHeader) {
    for (const QByteArray password : {"abcd", "abcd5", "ABCDEF", "a1b2c3d", "Zz09Zz09"}) {
        const qsizetype L = password.size();
        const QByteArray file = written(storeOf({"text"}, password), static_cast<quint32>(L));
        const char* p = file.constData();
        auto word = [p](qsizetype offset) {
            return static_cast<quint16>(static_cast<quint8>(p[offset]) |
                                        static_cast<quint8>(p[offset + 1]) << 8);
        };
        SCOPED_TRACE(password.toStdString());
        EXPECT_EQ(word(12), 1) << "password word";
        EXPECT_EQ(word(20), 2 * (L + 2)) << "N";
        EXPECT_LT(word(22), 7000) << "filler word 0";
        EXPECT_EQ(word(24), pw_char_encode(static_cast<quint8>(password[0])));
        EXPECT_LT(word(26), 7000) << "filler word 2";
        for (qsizetype i = 1; i < L; ++i)
            EXPECT_EQ(word(26 + 2 * i), pw_char_encode(static_cast<quint8>(password[i])));
        const qsizetype records = 20 + 2 + 2 * (L + 2);
        EXPECT_EQ(word(records + 4), 4) << "the section record comes right after the block";
        EXPECT_EQ(file.size(), docfile::encodedSize(storeOf({"text"}, password)));
    }
}

TEST_F(DocumentFileTest, FillerWordsAreFreshForEveryWrite) {
    const Document store = storeOf({"text"}, "abcd");
    QSet<QByteArray> fillers;
    for (quint32 seed = 1; seed <= 8; ++seed) {
        const QByteArray file = written(store, seed);
        fillers.insert(file.mid(22, 2) + file.mid(26, 2));
        EXPECT_EQ(file.left(22), written(store, 99).left(22));
        EXPECT_EQ(file.mid(28), written(store, 99).mid(28));
    }
    EXPECT_GT(fillers.size(), 1);
}

// Names and texts of every length from 0 to 20 round the key length, and round the 16-byte
// blocks in which texts are split and merged, with every byte value.
TEST_F(DocumentFileTest, NamesAndTextsOfEveryLengthRoundTrip) {
    std::vector<int> lengths;
    for (int len = 0; len <= 20; ++len)
        lengths.push_back(len);
    lengths.insert(lengths.end(), {31, 32, 33, 34, 35, 63, 64, 65, 66, 1001});
    for (const QByteArray password : {"", "abcd", "Abcd5", "ab12CD", "x9x9x9x", "PASSword"}) {
        SCOPED_TRACE("password '" + password.toStdString() + "'");
        Document store = storeOf({}, password);
        for (const int len : lengths) {
            const int pos = len == 0 ? 0 : store.appendEmpty();
            QByteArray bytes(len, Qt::Uninitialized);
            for (int i = 0; i < len; ++i)
                bytes[i] = static_cast<char>((len * 41 + i * 97 + 1) & 0xFF);
            store.section(pos).name = bytes;
            store.section(pos).text = bytes + QByteArray(len % 3, '\0');
            store.addGroup(bytes.left(len / 2));
            store.section(pos).group = pos + 1;
        }
        expectSameDocument(readBack(written(store)), store);
    }
}

TEST_F(DocumentFileTest, StoredTextFollowsTheRuleAtEveryByte) {
    for (const QByteArray password : {"", "abcde"}) {
        QByteArray text(101, Qt::Uninitialized);
        for (qsizetype i = 0; i < text.size(); ++i)
            text[i] = static_cast<char>(i * 7 + 3);
        QByteArray expected;
        for (int parity : {0, 1})
            for (qsizetype i = parity, k = 0; i < text.size(); i += 2, ++k)
                expected += static_cast<char>(text[i] ^ (password.isEmpty() ? 0 : password[k % 5]));
        const QByteArray file = written(storeOf({text}, password));
        EXPECT_EQ(hexOf(file.right(text.size())), hexOf(expected)) << password.toStdString();
    }
}

TEST_F(DocumentFileTest, NameByteThatEncodesToZeroIsNotTheEnd) {
    // rotate_left of the first key byte is stored as 0x00 under that key.
    Document store = storeOf({"t"}, "abcd");
    store.section(0).name = QByteArray(1, static_cast<char>(rotate_left('a'))) + "xyz";
    const QByteArray file = written(store);
    EXPECT_EQ(file.at(20 + 14 + 12 + 2), '\0');
    expectSameDocument(readBack(file), store);
}

TEST_F(DocumentFileTest, LongTextsCrossChunkBoundaries) {
    QByteArray text(3 * 512 * 1024 + 5, Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i)
        text[i] = static_cast<char>((i * 131 + i / 7) & 0xFF);
    const Document store = storeOf({"ab", text, "c"}, "key1234");
    const QByteArray file = written(store);
    ASSERT_EQ(file.size(), docfile::encodedSize(store));
    expectSameDocument(readBack(file), store);

    // The even half of the long text, checked against the rule byte by byte.
    const qsizetype start = file.size() - 1 - text.size();
    const QByteArray key = "key1234";
    for (qsizetype k = 0; k < (text.size() + 1) / 2; k += 4099)
        ASSERT_EQ(file[start + k], static_cast<char>(text[2 * k] ^ key[k % key.size()])) << k;
}

// Pieces at random places (odd and even starts, across the halves' chunks), with and without
// a password, and of an old-format file: each the bytes of the text that a whole read gives.
TEST_F(DocumentFileTest, PiecesOfTextsAreTheirBytesWhereverTheyStart) {
    QByteArray text(2 * 512 * 1024 + 7, Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i)
        text[i] = static_cast<char>((i * 37 + i / 11) & 0xFF);
    Bytes old;
    old.raw("?\x01?\x02").w16(0).w16(2).w16(3).w16(1).w16(5).w16(1);
    old.raw(QByteArray("\0\0", 2)).raw("xyz").raw("abcde");
    QFile oldFile(path(QStringLiteral("古い.ptm")));
    ASSERT_TRUE(oldFile.open(QIODevice::WriteOnly) && oldFile.write(old.data) == old.data.size());
    oldFile.close();
    const QString current = path(QStringLiteral("書き出し.ptm"));
    QRandomGenerator random(3);
    for (const QByteArray& password : {QByteArray(), QByteArray("key1234")}) {
        written(storeOf({"ab", text, "", "c"}, password));
        for (const QString& file : {current, oldFile.fileName()}) {
            Result<std::unique_ptr<docfile::SectionTexts>> opened =
                docfile::SectionTexts::open(file, acceptAll);
            ASSERT_TRUE(opened) << test::errorText(opened);
            const ReadResult whole = docfile::readDocument(file, acceptAll);
            ASSERT_TRUE(whole);
            docfile::SectionTexts& texts = **opened;
            ASSERT_EQ(texts.count(), static_cast<int>(whole->content.sections.size()));
            for (int s = 0; s < texts.count(); ++s) {
                const QByteArray& expected = whole->content.sections[size_t(s)].section.text;
                ASSERT_EQ(texts.textLength(s), expected.size());
                for (int round = 0; round < 40; ++round) {
                    const qint64 pos = random.bounded(expected.size() + 1);
                    const qint64 n = random.bounded(
                        std::min(expected.size() - pos, docfile::SectionTexts::kMaxPiece) + 1);
                    QByteArray piece(n, '?');
                    ASSERT_TRUE(texts.read(s, pos, n, piece.data()));
                    ASSERT_EQ(piece, expected.mid(pos, n)) << s << " " << pos << " " << n;
                }
            }
        }
    }
    // A protected file opens only through its gate.
    EXPECT_EQ(failureOf(docfile::SectionTexts::open(current, {})), Kind::Cancelled);

    // A file that shrinks after it was opened fails the read, naming the file.
    Result<std::unique_ptr<docfile::SectionTexts>> opened =
        docfile::SectionTexts::open(current, acceptAll);
    ASSERT_TRUE(opened);
    ASSERT_EQ(::truncate(QFile::encodeName(current).constData(), 100), 0);
    QByteArray piece(64, '?');
    const Result<void> read = (*opened)->read(1, text.size() - 64, 64, piece.data());
    EXPECT_EQ(failureOf(read), Kind::Io);
    EXPECT_EQ(read.error().path, current);
}

TEST_F(DocumentFileTest, WriteThenReadGivesTheSameStore) {
    const Document store = richStore();
    const QString file = path(QStringLiteral("猫の日記.ptm"));
    ASSERT_TRUE(docfile::writeDocument(file, store).ok());
    EXPECT_EQ(QFileInfo(file).size(), docfile::encodedSize(store));

    QByteArray seen;
    ReadResult result = docfile::readDocument(file, [&seen](const QByteArray& candidate) {
        seen = candidate;
        return true;
    });
    ASSERT_TRUE(result) << test::errorText(result);
    EXPECT_EQ(result->version, 2);
    EXPECT_EQ(seen, "Neko2024");
    Document back;
    back.replace(std::move(result->content));
    expectSameDocument(back, store);
    EXPECT_EQ(written(back, 5), written(store, 5)) << "a second write is byte-identical";
}

TEST_F(DocumentFileTest, GateDecidesWhetherAProtectedFileIsRead) {
    const QByteArray file = written(richStore());
    int asked = 0;
    const ReadResult no = docfile::parseDocument(file, [&asked](const QByteArray&) {
        ++asked;
        return false;
    });
    EXPECT_EQ(failureOf(no), Kind::Cancelled);
    EXPECT_EQ(asked, 1);

    EXPECT_EQ(failureOf(docfile::parseDocument(file, {})), Kind::Cancelled) << "no gate, no read";

    const QByteArray open = written(storeOf({"free"}));
    const ReadResult read = docfile::parseDocument(open, [&asked](const QByteArray&) {
        ++asked;
        return false;
    });
    EXPECT_TRUE(read.ok());
    EXPECT_EQ(asked, 1) << "a file without a password asks nothing";
}

// Only a password word of 1 marks a protected document; any other non-zero word still brings a
// password block, which is asked for, but nothing is scrambled and no password is kept.
TEST_F(DocumentFileTest, PasswordWordOtherThanOneAsksButDoesNotProtect) {
    const QByteArray plain = written(storeOf({"abcd"}));
    Bytes block;
    block.w16(12).w16(0).w16(pw_char_encode('a')).w16(0);
    for (char c : QByteArray("bcd"))
        block.w16(pw_char_encode(static_cast<quint8>(c)));
    QByteArray file = plain.left(20) + block.data + plain.mid(20);
    setWord(file, 12, 2);
    QByteArray asked;
    ReadResult result = docfile::parseDocument(file, [&asked](const QByteArray& candidate) {
        asked = candidate;
        return true;
    });
    ASSERT_TRUE(result) << test::errorText(result);
    EXPECT_EQ(asked, "abcd");
    EXPECT_FALSE(result->content.hasPassword);
    EXPECT_EQ(result->content.sections[0].section.text, "abcd");
    EXPECT_EQ(result->content.sections[0].section.name, "s1");
}

TEST_F(DocumentFileTest, OldFormatIsRead) {
    Bytes old;
    old.raw("?\x01?\x02").w16(0).w16(3);
    old.w16(3).w16(5).w16(0).w16(2).w16(4).w16(0); // text length, name length per section
    old.raw(QByteArray("ab\0xy", 5)).raw("cd");    // names: "ab" (first 0x00 ends it), "cd"
    old.raw("xyz").raw(QByteArray("\0\r\n\0", 4)); // texts, stored whole

    Document store = richStore();
    store.reserved(0) = {11, 22, 33};
    store.reserved(2) = {44, 55, 66};
    ReadResult result = docfile::parseDocument(old.data, acceptAll);
    ASSERT_TRUE(result) << test::errorText(result);
    EXPECT_EQ(result->version, 0);
    store.replace(std::move(result->content));

    EXPECT_EQ(store.count(), 3);
    EXPECT_EQ(store.groupCount(), 0);
    EXPECT_FALSE(store.hasPassword());
    EXPECT_TRUE(store.password().isEmpty());
    EXPECT_EQ(store.headerReserved, 0);
    EXPECT_EQ(store.section(0).name, "ab");
    EXPECT_EQ(store.section(1).name, "cd");
    EXPECT_EQ(store.section(2).name, "");
    EXPECT_EQ(store.section(0).text, "xyz");
    EXPECT_EQ(store.section(1).text, "");
    EXPECT_EQ(store.section(2).text, QByteArray("\0\r\n\0", 4));
    for (int pos = 0; pos < 3; ++pos)
        EXPECT_EQ(store.section(pos).group, 0);
    EXPECT_EQ(store.reserved(0).r1, 11u) << "R1 is untouched";
    EXPECT_EQ(store.reserved(0).r2, 0u) << "R2 becomes 0";
    EXPECT_EQ(store.reserved(0).r3, 33u) << "R3 is untouched";
    EXPECT_EQ(store.reserved(2).r1, 44u);
    EXPECT_EQ(store.reserved(2).r2, 0u);
    EXPECT_EQ(store.reserved(2).r3, 66u);
}

TEST_F(DocumentFileTest, MalformedFilesAreRefusedWithAReason) {
    const QByteArray valid = written(storeOf({"abc", "de"}, "abcd"));
    const qsizetype records = 20 + 14;
    auto patched = [&valid](qsizetype offset, quint16 v) {
        QByteArray f = valid;
        setWord(f, offset, v);
        return f;
    };
    auto oldFile = [](quint16 count) {
        return Bytes{}.raw("PTM0").w16(0).w16(count).w16(0).w16(0).data;
    };
    const struct {
        const char* name;
        QByteArray file;
        QString message;
    } rows[] = {
        {"empty file", {}, docfile::emptyFileMessage()},
        {"shorter than a header", "PTM0\x02", docfile::truncatedFileMessage()},
        {"version 1", patched(4, 1), docfile::unknownVersionMessage()},
        {"version 3", patched(4, 3), docfile::unknownVersionMessage()},
        {"version 0xFFFF", patched(4, 0xFFFF), docfile::unknownVersionMessage()},
        {"501 sections", patched(6, 501), docfile::tooManySectionsMessage()},
        {"65535 sections", patched(6, 0xFFFF), docfile::tooManySectionsMessage()},
        {"no sections", patched(6, 0), docfile::noSectionsMessage()},
        {"501 groups", patched(8, 501), docfile::tooManyGroupsMessage()},
        {"block of 10 bytes", patched(20, 10), docfile::damagedPasswordMessage()},
        {"block of 13 bytes", patched(20, 13), docfile::damagedPasswordMessage()},
        {"block of 22 bytes", patched(20, 22), docfile::damagedPasswordMessage()},
        {"password word off by one", patched(24, pw_char_encode('a') + 1),
         docfile::damagedPasswordMessage()},
        {"password character not a letter or digit", patched(28, pw_char_encode('-')),
         docfile::damagedPasswordMessage()},
        {"negative text length", patched(records + 6, 0x8000), docfile::damagedTextLengthMessage()},
        {"text longer than the file", patched(records + 4, 6), docfile::truncatedFileMessage()},
        {"name longer than the file", patched(records + 24, 0x4000),
         docfile::truncatedFileMessage()},
        {"old format, no sections", oldFile(0), docfile::noSectionsMessage()},
        {"old format, 501 sections", oldFile(501), docfile::tooManyOldSectionsMessage()},
        {"old format, entries missing", oldFile(2), docfile::truncatedFileMessage()},
    };
    for (const auto& row : rows) {
        const ReadResult result = docfile::parseDocument(row.file, acceptAll);
        EXPECT_EQ(failureOf(result), Kind::Refused) << row.name;
        EXPECT_EQ(result.error().text, row.message) << row.name;
    }
}

TEST_F(DocumentFileTest, FiveHundredAndOneSectionsGiveTheTwoLineMessage) {
    Bytes file;
    file.raw("PTM0").w16(2).w16(501).w16(0).w16(0).w16(0).w16(1).w16(0).w16(0);
    for (int i = 0; i < 501; ++i)
        file.w16(0).w16(0).w32(0).w16(0).w16(0);
    for (int i = 0; i < 501; ++i)
        file.w16(1).raw(QByteArray(1, '\0'));
    const ReadResult result = docfile::parseDocument(file.data, acceptAll);
    EXPECT_EQ(failureOf(result), Kind::Refused);
    EXPECT_EQ(
        result.error().text.toStdString(),
        "にゃ！！セクション数が多すぎるにゃ。\r\nヴァージョンが新しいかどうか確認してにゃん。\r\n");
}

TEST_F(DocumentFileTest, FiveHundredSectionsAndGroupsAreRead) {
    Document store;
    for (int pos = 0; pos < 500; ++pos) {
        if (pos > 0) store.appendEmpty();
        store.addGroup("g" + QByteArray::number(pos));
        store.section(pos).group = 500 - pos;
        store.section(pos).text = QByteArray::number(pos);
    }
    expectSameDocument(readBack(written(store)), store);
}

TEST_F(DocumentFileTest, TruncationAtEveryOffsetIsRefused) {
    const QByteArray file = written(richStore());
    for (qsizetype cut = 0; cut < file.size(); ++cut) {
        bool asked = false;
        const ReadResult result =
            docfile::parseDocument(file.left(cut), [&asked](const QByteArray&) {
                asked = true;
                return true;
            });
        ASSERT_EQ(failureOf(result), Kind::Refused) << "cut at " << cut;
        EXPECT_FALSE(asked) << "a damaged file is refused before the password is asked, cut at "
                            << cut;
    }
    // From disk as well, at a few offsets.
    for (qsizetype cut : {qsizetype(0), qsizetype(7), qsizetype(33), file.size() - 1}) {
        const QString name = path(QStringLiteral("切れた.ptm"));
        test::writeAll(name, file.left(cut));
        EXPECT_EQ(failureOf(docfile::readDocument(name, acceptAll)), Kind::Refused) << cut;
    }
}

TEST_F(DocumentFileTest, GroupNumbersPastTheTableBecomeNoGroup) {
    Document store = storeOf({"a", "b"});
    store.addGroup("only");
    store.section(0).group = 1;
    store.section(1).group = 2;
    const Document back = readBack(written(store));
    EXPECT_EQ(back.section(0).group, 1);
    EXPECT_EQ(back.section(1).group, 0);
    EXPECT_EQ(back.section(1).text, "b");
}

TEST_F(DocumentFileTest, TrailingBytesAndUnexaminedWordsAreIgnored) {
    QByteArray file = written(storeOf({"abc"}));
    file.replace(0, 4, "XXXX");
    setWord(file, 14, 0x7777);
    setWord(file, 18, 0x7777);
    const Document back = readBack(file + "trailing");
    EXPECT_EQ(back.section(0).text, "abc");
}

TEST_F(DocumentFileTest, ReadOnlyDocumentsCanBeOpened) {
    const QString file = path(QStringLiteral("読むだけ.ptm"));
    ASSERT_TRUE(docfile::writeDocument(file, storeOf({"abc"})).ok());
    ASSERT_TRUE(QFile::setPermissions(file, QFileDevice::ReadOwner | QFileDevice::ReadGroup));
    EXPECT_TRUE(docfile::readDocument(file, acceptAll).ok());
    const Result<docfile::DocumentInfo> info = docfile::inspectDocument(file);
    EXPECT_TRUE(info.ok());
    EXPECT_EQ(info->totalTextBytes, 3);
}

TEST_F(DocumentFileTest, MissingFileIsAnIoError) {
    const ReadResult result = docfile::readDocument(path("ない.ptm"), acceptAll);
    EXPECT_EQ(failureOf(result), Kind::Io);
    EXPECT_FALSE(result.error().text.isEmpty());
    EXPECT_EQ(failureOf(docfile::readDocument(m_dir.path(), acceptAll)), Kind::Io)
        << "a folder is not a document";
}

TEST_F(DocumentFileTest, FailedWriteToAFolderKeepsItAndSaysWhy) {
    const QString target = path(QStringLiteral("フォルダ.ptm"));
    ASSERT_TRUE(QDir().mkdir(target));
    const Result<void> result = docfile::writeDocument(target, storeOf({"abc"}));
    EXPECT_FALSE(result.ok());
    EXPECT_FALSE(result.error().text.isEmpty());
    EXPECT_TRUE(QFileInfo(target).isDir());
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files), QStringList()) << "no leftovers";
}

TEST_F(DocumentFileTest, OnlyRegularFilesAreReadOrReplaced) {
    const QString pipe = path(QStringLiteral("管.ptm"));
    if (::mkfifo(QFile::encodeName(pipe).constData(), 0600) != 0)
        GTEST_SKIP() << "this file system cannot hold a named pipe";
    // Someone holds the pipe open, so that even a reader that opens it blindly gets an answer.
    const int holder = ::open(QFile::encodeName(pipe).constData(), O_RDWR | O_NONBLOCK);
    ASSERT_GE(holder, 0);
    const auto isPipe = [&pipe] {
        struct stat st {};
        return ::lstat(QFile::encodeName(pipe).constData(), &st) == 0 && S_ISFIFO(st.st_mode);
    };
    const struct {
        const char* name;
        QString path;
    } refused[] = {{"a named pipe", pipe}, {"a folder", m_dir.path()}, {"a device", "/dev/zero"}};
    for (const auto& row : refused) {
        const ReadResult read = docfile::readDocument(row.path, acceptAll);
        EXPECT_EQ(failureOf(read), Kind::Io) << row.name;
        EXPECT_EQ(read.error().text.toStdString(), notAFileToReadMessage().toStdString())
            << row.name;
        const Result<docfile::DocumentInfo> info = docfile::inspectDocument(row.path);
        EXPECT_EQ(failureOf(info), Kind::Io) << row.name;
        EXPECT_EQ(info.error().text.toStdString(), notAFileToReadMessage().toStdString())
            << row.name;
    }
    const Result<void> written = docfile::writeDocument(pipe, storeOf({"abc"}));
    EXPECT_FALSE(written.ok());
    EXPECT_EQ(written.error().text.toStdString(), notAFileToWriteMessage().toStdString());
    EXPECT_TRUE(isPipe()) << "the pipe was not replaced by a file";
    ::close(holder);

    // A link to a document is the document.
    const QString document = path(QStringLiteral("本体.ptm"));
    const QString link = path(QStringLiteral("リンク.ptm"));
    ASSERT_TRUE(docfile::writeDocument(document, storeOf({"abc"})).ok());
    ASSERT_TRUE(QFile::link(document, link));
    EXPECT_TRUE(docfile::readDocument(link, acceptAll).ok());
    EXPECT_TRUE(docfile::writeDocument(link, storeOf({"abcd"})).ok());
    EXPECT_EQ(readBack(test::readAll(document)).section(0).text, "abcd");
}

TEST_F(DocumentFileTest, WholeFileReadsTakeWhatTheFileHoldsWhileAnotherProgramChangesIt) {
    QByteArray original(10000, Qt::Uninitialized);
    for (qsizetype k = 0; k < original.size(); ++k)
        original[k] = char(k * 7 + k / 256);
    const QString file = path(QStringLiteral("変わる.txm"));
    const struct {
        const char* name;
        qint64 resizeTo; // after the first piece of 4096 bytes
        QByteArray expected;
    } rows[] = {
        {"cut before what was read", 1000, original.left(4096)},
        {"cut inside the rest", 6000, original.left(6000)},
        {"emptied", 0, original.left(4096)},
        {"grown", 12000, original},
    };
    for (const auto& row : rows) {
        test::writeAll(file, original);
        RegularFileReadOptions options;
        options.pieceBytes = 4096;
        int pieces = 0;
        options.afterPiece = [&](qint64) {
            if (++pieces == 1) {
                ASSERT_TRUE(QFile::resize(file, row.resizeTo));
            }
        };
        const Result<RegularFileRead> read = readRegularFile(file, options);
        ASSERT_TRUE(read) << row.name;
        ASSERT_TRUE(read->bytes) << row.name;
        EXPECT_EQ(*read->bytes, row.expected) << row.name;
    }

    RegularFileReadOptions small;
    small.maxBytes = original.size() - 1;
    test::writeAll(file, original);
    const Result<RegularFileRead> tooLarge = readRegularFile(file, small);
    ASSERT_TRUE(tooLarge) << "too large is no failure to read: the caller decides";
    EXPECT_EQ(tooLarge->size, original.size());
    EXPECT_FALSE(tooLarge->bytes) << "nothing read";
    for (const QString& notAFile : {m_dir.path(), QStringLiteral("/dev/zero")}) {
        const Result<RegularFileRead> refused = readRegularFile(notAFile);
        ASSERT_EQ(failureOf(refused), Kind::Io);
        EXPECT_EQ(refused.error().text, notAFileToReadMessage());
        EXPECT_EQ(refused.error().path, notAFile);
    }
    if (!test::pipesAvailable(m_dir.path())) return;
    const QString pipe = path(QStringLiteral("管.txt"));
    QString fromPipe;
    EXPECT_TRUE(test::readsPipeWithoutWaiting(pipe, [&] {
        const Result<RegularFileRead> read = readRegularFile(pipe);
        EXPECT_FALSE(read);
        if (!read) fromPipe = read.error().text;
    }));
    EXPECT_EQ(fromPipe, notAFileToReadMessage());
}

TEST_F(DocumentFileTest, AnEmptyPathIsAnIoErrorWithoutAToolkitWarning) {
    static int warnings = 0;
    warnings = 0;
    const QtMessageHandler previous = qInstallMessageHandler(
        [](QtMsgType, const QMessageLogContext&, const QString&) { ++warnings; });
    const ReadResult read = docfile::readDocument(QString(), acceptAll);
    const Result<docfile::DocumentInfo> info = docfile::inspectDocument(QString());
    const Result<void> written = docfile::writeDocument(QString(), storeOf({"abc"}));
    qInstallMessageHandler(previous);
    EXPECT_EQ(failureOf(read), Kind::Io);
    EXPECT_FALSE(read.error().text.isEmpty());
    EXPECT_EQ(failureOf(info), Kind::Io);
    EXPECT_FALSE(written.ok());
    EXPECT_EQ(warnings, 0);
}

TEST_F(DocumentFileTest, FailedWriteInAReadOnlyFolderKeepsTheOldFile) {
    if (geteuid() == 0) GTEST_SKIP() << "permission bits do not stop root";
    const QString folder = path(QStringLiteral("鍵付き"));
    ASSERT_TRUE(QDir().mkdir(folder));
    const QString target = folder + QStringLiteral("/前の版.ptm");
    test::writeAll(target, "old contents");
    ASSERT_TRUE(QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    const Result<void> result = docfile::writeDocument(target, storeOf({"abc"}));
    QFile::setPermissions(folder,
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    EXPECT_FALSE(result.ok());
    EXPECT_FALSE(result.error().text.isEmpty());
    EXPECT_EQ(test::readAll(target), "old contents");
}

TEST_F(DocumentFileTest, StoresTheFormatCannotHoldAreNotWritten) {
    const QString target = path(QStringLiteral("前の版.ptm"));
    test::writeAll(target, "old contents");
    Document longName = storeOf({"abc"});
    longName.section(0).name = QByteArray(65535, 'n');
    Document longGroup = storeOf({"abc"});
    longGroup.addGroup(QByteArray(65535, 'g'));
    const struct {
        const char* name;
        Document store;
        QString error;
    } rows[] = {
        {"name of 65535 bytes", longName, docfile::nameTooLongMessage()},
        {"group name of 65535 bytes", longGroup, docfile::nameTooLongMessage()},
        {"password of 3 characters", storeOf({"abc"}, "abc"), docfile::invalidPasswordMessage()},
        {"password of 9 characters", storeOf({"abc"}, "abcdefghi"),
         docfile::invalidPasswordMessage()},
        {"password with a symbol", storeOf({"abc"}, "abc-d"), docfile::invalidPasswordMessage()},
    };
    for (const auto& row : rows) {
        const Result<void> result = docfile::writeDocument(target, row.store);
        EXPECT_FALSE(result.ok()) << row.name;
        EXPECT_EQ(result.error().text, row.error) << row.name;
    }
    EXPECT_EQ(test::readAll(target), "old contents");

    longName.section(0).name.chop(1);
    expectSameDocument(readBack(written(longName)), longName);
}

// Files in tests/data made by a separate little writer, so that a mistake shared by this
// reader and this writer cannot hide.
TEST(DocumentFileFixtures, KeptFilesStillRead) {
    const struct {
        const char* file;
        const char* password;
        int version;
        int sections;
        int groups;
        const char* firstName;
        const char* firstText;
    } rows[] = {
        {"旧形式.ptm", "", 0, 2, 0, "むかしの話", "むかしむかし、\r\nあるところに。"},
        {"パスワード付き.ptm", "Tama3", 2, 3, 2, "秘密の章", "ないしょの話だにゃ。\r\n"},
        {"グループ付き.ptm", "", 2, 4, 2, "一", "いち"},
    };
    for (const auto& row : rows) {
        QByteArray candidate;
        ReadResult result = docfile::readDocument(test::dataPath(QString::fromUtf8(row.file)),
                                                  [&candidate](const QByteArray& c) {
                                                      candidate = c;
                                                      return true;
                                                  });
        ASSERT_TRUE(result) << row.file << test::errorText(result);
        EXPECT_EQ(candidate, QByteArray(row.password)) << row.file;
        EXPECT_EQ(result->version, row.version) << row.file;
        EXPECT_EQ(static_cast<int>(result->content.sections.size()), row.sections) << row.file;
        EXPECT_EQ(static_cast<int>(result->content.groupNames.size()), row.groups) << row.file;
        EXPECT_EQ(result->content.sections[0].section.name, test::sjis(row.firstName)) << row.file;
        EXPECT_EQ(result->content.sections[0].section.text, test::sjis(row.firstText)) << row.file;
    }
}

} // namespace
} // namespace pote
