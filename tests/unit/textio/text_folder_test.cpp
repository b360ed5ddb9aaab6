#include "textio/text_folder.h"

#include "core/cp932.h"
#include "support/result_check.h"
#include "support/test_files.h"
#include "textio/text_messages.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <iterator>
#include <random>

namespace pote {
namespace {

using test::sjis;

SectionStore storeWith(int count) {
    SectionStore store;
    while (store.count() < count)
        store.appendEmpty();
    return store;
}

class TextFolder : public testing::Test {
protected:
    QString put(const QString& name, const QByteArray& bytes = "x") {
        const QString path = m_dir.filePath(name);
        test::writeAll(path, bytes);
        return path;
    }
    QString folder() const { return m_dir.path(); }

    QTemporaryDir m_dir;
};

TEST_F(TextFolder, ListsTextsByNameInAnyLetterCase) {
    for (const char* name : {"第10章.txt", "第2章.txt", "B.TXT", "a.txt", ".隠し.txt", "memo.md"})
        put(QString::fromUtf8(name));
    ASSERT_TRUE(QDir(folder()).mkdir(QStringLiteral("フォルダ.txt")));
    const Result<TextFolderListing> listing = list_text_files(folder());
    ASSERT_TRUE(listing) << test::errorText(listing);
    QStringList names;
    for (const QString& path : listing->files)
        names.append(QFileInfo(path).fileName());
    EXPECT_EQ(names, QStringList({".隠し.txt", "B.TXT", "a.txt", "第2章.txt", "第10章.txt"}));
    EXPECT_EQ(listing->skipped, QStringList{"フォルダ.txt"});

    EXPECT_FALSE(list_text_files(m_dir.filePath(QStringLiteral("ない"))).ok());
}

TEST(FileNameOrder, NumbersCompareAsNumbers) {
    EXPECT_TRUE(file_name_less("新規2.txt", "新規10.txt"));
    EXPECT_FALSE(file_name_less("新規10.txt", "新規2.txt"));
    EXPECT_TRUE(file_name_less("a.txt", "b.txt"));
    EXPECT_TRUE(file_name_less("a.txt", "a1.txt") != file_name_less("a1.txt", "a.txt"));
    EXPECT_NE(file_name_less("01.txt", "1.txt"), file_name_less("1.txt", "01.txt"));
    EXPECT_FALSE(file_name_less("x.txt", "x.txt"));
}

TEST_F(TextFolder, FiveHundredSectionsAtMost) {
    for (const char* name : {"1.txt", "2.txt", "3.txt"})
        put(QString::fromUtf8(name), "a\tb\n");
    Utf8Choice none;
    const Result<TextFolderRead> refused = read_text_folder(folder(), 498, none);
    ASSERT_EQ(test::failureOf(refused), Error::Kind::Refused);
    EXPECT_EQ(refused.error().text,
              QStringLiteral("テキストが多すぎて、読めないにゃ！！\r\n発見したテキスト数＝3"));

    Result<TextFolderRead> read = read_text_folder(folder(), 497, none);
    ASSERT_TRUE(read) << test::errorText(read);
    ASSERT_EQ(read->texts.size(), 3u);
    EXPECT_EQ(read->texts[0].text, "a\tb\r\n") << "lines, tabs left for the pane";

    SectionStore store = storeWith(497);
    store.section(0).name = "first";
    store.reserved(497).r1 = 7;
    store.reserved(497).r2 = 8;
    store.enterPlainTextMode(QStringLiteral("/tmp/x.txt"));
    for (ImportedText& t : read->texts)
        t.name = QFileInfo(t.path).completeBaseName().toUtf8();
    append_texts(store, std::move(read->texts));
    EXPECT_EQ(store.count(), 500);
    EXPECT_EQ(store.current, 499);
    EXPECT_EQ(store.section(497).name, "1");
    EXPECT_EQ(store.section(499).name, "3");
    EXPECT_EQ(store.reserved(497).r1, 7u);
    EXPECT_EQ(store.reserved(497).r2, 0u);
    EXPECT_TRUE(store.isModified());
    EXPECT_FALSE(store.plainTextMode());
    EXPECT_TRUE(store.textPath().isEmpty());
}

TEST_F(TextFolder, EmptyFolderAndUnreadableFiles) {
    Utf8Choice none;
    const Result<TextFolderRead> empty = read_text_folder(folder(), 1, none);
    ASSERT_TRUE(empty) << test::errorText(empty);
    EXPECT_TRUE(empty->texts.empty());
    EXPECT_EQ(textmsg::noTextFiles(), QStringLiteral("テキストファイルが発見できなかったよ。"));

    // A link to nothing stands for any entry that cannot be read (the tests may run as root,
    // who reads every file).
    put(QStringLiteral("読める.txt"));
    ASSERT_TRUE(QFile::link(m_dir.filePath(QStringLiteral("消えた")),
                            m_dir.filePath(QStringLiteral("壊れた.txt"))));
    const Result<TextFolderRead> read = read_text_folder(folder(), 1, none);
    ASSERT_TRUE(read) << test::errorText(read);
    EXPECT_EQ(read->texts.size(), 1u);
    EXPECT_EQ(read->skipped, QStringList{QStringLiteral("壊れた.txt")});
    EXPECT_EQ(textmsg::skippedFolderEntries(read->skipped),
              QStringLiteral("読めないものがあったから、飛ばしたにゃ。\r\n壊れた.txt"));
}

TEST_F(TextFolder, Utf8QuestionOncePerFolder) {
    put(QStringLiteral("a.txt"), "ねこ");
    put(QStringLiteral("b.txt"), "\xEF\xBB\xBF"
                                 "いぬ");
    put(QStringLiteral("c.txt"), sjis("さる"));
    int asked = 0;
    Utf8Choice yes([&] { return ++asked > 0; });
    const Result<TextFolderRead> read = read_text_folder(folder(), 1, yes);
    ASSERT_TRUE(read) << test::errorText(read);
    ASSERT_EQ(read->texts.size(), 3u);
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(read->texts[0].text, sjis("ねこ\r\n"));
    EXPECT_EQ(read->texts[1].text, sjis("いぬ\r\n"));
    EXPECT_EQ(read->texts[2].text, sjis("さる\r\n"));
}

TEST(SectionFileBase, NamesThatCannotBeFileNames) {
    const QString shin = QStringLiteral("新規");
    EXPECT_EQ(section_file_base(sjis("第一章"), shin, 1), QStringLiteral("第一章"));
    EXPECT_EQ(section_file_base("", shin, 3), QStringLiteral("新規3"));
    EXPECT_EQ(section_file_base(".", shin, 4), QStringLiteral("新規4"));
    EXPECT_EQ(section_file_base("..", shin, 5), QStringLiteral("新規5"));
    EXPECT_EQ(section_file_base(QByteArray("a\0b", 3), shin, 6), QStringLiteral("新規6"));
    EXPECT_EQ(section_file_base("../../evil", shin, 8), QStringLiteral("..／..／evil"));
    EXPECT_EQ(section_file_base("a/b", shin, 9), QStringLiteral("a／b"));
}

TEST(SectionFileBase, NamesTooLongAsWrittenAreCutBetweenCharacters) {
    const QString shin = QStringLiteral("新規");
    const struct {
        const char* name;
        QByteArray section;
        QString base;
    } rows[] = {
        // 244 bytes and ".txt" leave room for the seven bytes a replacing save adds to the
        // 255 a name may take.
        {"ascii", QByteArray(300, 'x'), QString(244, u'x')},
        {"just fits", QByteArray(244, 'x'), QString(244, u'x')},
        {"slashes grow threefold", QByteArray(200, '/'), QString(81, u'／')},
        {"three-byte characters", sjis("あ").repeated(100), QString(81, u'あ')},
        {"a character is never split", "x" + sjis("あ").repeated(100),
         QStringLiteral("x") + QString(81, u'あ')},
    };
    for (const auto& row : rows) {
        const QString base = section_file_base(row.section, shin, 7);
        EXPECT_EQ(base, row.base) << row.name;
        EXPECT_LE(QFile::encodeName(base + QStringLiteral(".txt")).size(), 248) << row.name;
    }
}

class FolderSave : public TextFolder {
protected:
    // Saves store, answering each question with the next answer, and records the questions.
    FolderSaveResult save(const SectionStore& store, std::vector<OverwriteAnswer> answers = {}) {
        const FolderSavePlan plan = plan_folder_save(folder(), store.document(), store.displayName);
        size_t next = 0;
        return save_sections_to_folder(plan, store.document(), [&](const QString& name) {
            asked.append(name);
            return next < answers.size() ? answers[next++] : OverwriteAnswer::No;
        });
    }
    QByteArray file(const QString& name) { return test::readAll(m_dir.filePath(name)); }

    QStringList asked;
};

TEST_F(FolderSave, UnnamedSectionsTakeTheDisplayNameAndTheirNumber) {
    SectionStore store = storeWith(5);
    for (int pos : {0, 2, 3})
        store.section(pos).name = "s" + QByteArray::number(pos + 1);
    store.section(1).text = sjis("二番");
    const FolderSaveResult r = save(store);
    EXPECT_TRUE(r.ok());
    EXPECT_EQ(r.written, 5);
    EXPECT_TRUE(asked.isEmpty());
    EXPECT_EQ(file(QStringLiteral("新規2.txt")), sjis("二番\r\n"));
    EXPECT_EQ(file(QStringLiteral("新規5.txt")), "\r\n");
    EXPECT_EQ(file(QStringLiteral("s4.txt")), "\r\n");
}

TEST_F(FolderSave, SameNameTwiceAsksForTheSecond) {
    SectionStore store = storeWith(2);
    store.section(0).name = store.section(1).name = sjis("同じ");
    store.section(0).text = "first";
    store.section(1).text = "second";
    const FolderSaveResult r = save(store, {OverwriteAnswer::Yes});
    EXPECT_EQ(asked, QStringList{QStringLiteral("同じ.txt")});
    EXPECT_EQ(r.written, 2);
    EXPECT_EQ(file(QStringLiteral("同じ.txt")), "second\r\n");
}

TEST_F(FolderSave, AnswersDecideEachExistingFile) {
    SectionStore store = storeWith(4);
    for (int pos = 0; pos < 4; ++pos) {
        store.section(pos).name = "f" + QByteArray::number(pos);
        store.section(pos).text = "new";
        put(QStringLiteral("f%1.txt").arg(pos), "old");
    }
    // No skips f0; the closed dialog skips f1; All writes f2 and f3 without further questions.
    const FolderSaveResult r =
        save(store, {OverwriteAnswer::No, OverwriteAnswer::Closed, OverwriteAnswer::All});
    EXPECT_EQ(asked, QStringList({"f0.txt", "f1.txt", "f2.txt"}));
    EXPECT_EQ(r.skipped, QStringList({"f0.txt", "f1.txt"}));
    EXPECT_EQ(file(QStringLiteral("f0.txt")), "old");
    EXPECT_EQ(file(QStringLiteral("f1.txt")), "old");
    EXPECT_EQ(file(QStringLiteral("f3.txt")), "new\r\n");

    // The next save asks again.
    asked.clear();
    save(store,
         {OverwriteAnswer::Yes, OverwriteAnswer::No, OverwriteAnswer::No, OverwriteAnswer::No});
    EXPECT_EQ(asked.size(), 4);
    EXPECT_EQ(file(QStringLiteral("f0.txt")), "new\r\n");
}

TEST_F(FolderSave, NamesNeverLeaveTheFolder) {
    const QString inner = m_dir.filePath(QStringLiteral("a/b"));
    ASSERT_TRUE(QDir().mkpath(inner));
    SectionStore store;
    store.section(0).name = "../../evil";
    const FolderSavePlan plan = plan_folder_save(inner, store.document(), QStringLiteral("新規"));
    const FolderSaveResult r = save_sections_to_folder(plan, store.document(), {});
    EXPECT_TRUE(r.ok());
    EXPECT_EQ(QDir(inner).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("..／..／evil.txt")});
    EXPECT_FALSE(QFileInfo::exists(m_dir.filePath(QStringLiteral("evil.txt"))));
}

TEST_F(FolderSave, NamesCutToFitAreWrittenAndKeptApart) {
    SectionStore store = storeWith(15);
    for (int pos = 0; pos < 15; ++pos)
        store.section(pos).name = "f" + QByteArray::number(pos);
    store.section(4).name = QByteArray(200, '/');
    store.section(5).name = QByteArray(200, '/') + "x";        // cut to the same as section 5
    store.section(6).name = QByteArray(200, '/');              // the same name: the same file
    store.section(7).name = cp932::encode(QString(81, u'／')); // section 5's cut name, uncut
    for (int pos = 0; pos < 15; ++pos)
        store.section(pos).text = QByteArray::number(pos);

    // Twice, so that every file is replaced once. The first time only the section of the same
    // name meets a file; All answers the second time's questions.
    const QString cut(80, u'／');
    for (const QString& firstQuestion :
         {cut + QStringLiteral("(2).txt"), QStringLiteral("f0.txt")}) {
        asked.clear();
        const FolderSaveResult r = save(store, {OverwriteAnswer::All});
        EXPECT_TRUE(r.ok()) << test::errorText(r.result);
        EXPECT_EQ(r.written, 15);
        EXPECT_EQ(asked, QStringList{firstQuestion});
    }
    EXPECT_EQ(file(QString(81, u'／') + QStringLiteral(".txt")), "7\r\n");
    EXPECT_EQ(file(cut + QStringLiteral("(2).txt")), "6\r\n");
    EXPECT_EQ(file(cut + QStringLiteral("(3).txt")), "5\r\n");
    EXPECT_EQ(file(QStringLiteral("f14.txt")), "14\r\n");
}

TEST(FolderSavePlan, EveryFileNameFitsAndOnlySameNamesShareAFile) {
    std::mt19937 random(25);
    const QByteArray pieces[] = {"/", "a", sjis("あ"), sjis("漢字"), "\x81", "."};
    for (int round = 0; round < 200; ++round) {
        SectionStore store = storeWith(12);
        for (int pos = 0; pos < store.count(); ++pos) {
            QByteArray name;
            const int length = int(random() % 3) == 0 ? int(random() % 8) : int(random() % 300);
            // Few distinct starts, so that cut names meet often.
            name += QByteArray(int(random() % 3), '/');
            while (name.size() < length)
                name += pieces[random() % std::size(pieces)];
            store.section(pos).name = name;
        }
        const FolderSavePlan plan =
            plan_folder_save(QStringLiteral("/f"), store.document(), QStringLiteral("新規"));
        // Names that cannot be file names take the display name and their own number.
        const auto ownName = [&store](int pos) {
            const QString name = cp932::decode(store.section(pos).name);
            return name.isEmpty() || name == u"." || name == u".." ? QString() : name;
        };
        for (int a = 0; a < store.count(); ++a) {
            const QString& fileA = plan.items[size_t(a)].fileName;
            ASSERT_LE(QFile::encodeName(fileA).size(), 248) << fileA.toStdString();
            ASSERT_TRUE(fileA.endsWith(QStringLiteral(".txt")));
            ASSERT_FALSE(fileA.contains(u'/'));
            for (int b = 0; b < a; ++b) {
                const bool sameName = !ownName(a).isEmpty() && ownName(a) == ownName(b);
                EXPECT_EQ(fileA == plan.items[size_t(b)].fileName, sameName)
                    << store.section(a).name.toHex().toStdString() << " / "
                    << store.section(b).name.toHex().toStdString();
            }
        }
    }
}

TEST_F(FolderSave, StopsAtAFileItCannotWriteAndKeepsTheOthers) {
    SectionStore store = storeWith(3);
    for (int pos = 0; pos < 3; ++pos)
        store.section(pos).name = "f" + QByteArray::number(pos);
    ASSERT_TRUE(QDir(folder()).mkdir(QStringLiteral("f1.txt")));
    const FolderSaveResult r = save(store, {OverwriteAnswer::Yes});
    EXPECT_FALSE(r.ok());
    EXPECT_EQ(r.written, 1);
    EXPECT_EQ(r.result.error().path, m_dir.filePath(QStringLiteral("f1.txt")));
    EXPECT_FALSE(r.result.error().text.isEmpty());
    EXPECT_TRUE(QFileInfo::exists(m_dir.filePath(QStringLiteral("f0.txt"))));
    EXPECT_FALSE(QFileInfo::exists(m_dir.filePath(QStringLiteral("f2.txt"))));
}

TEST_F(FolderSave, SpaceNeededCountsEachFileBesideTheOneItReplaces) {
    SectionStore store = storeWith(3);
    for (int pos = 0; pos < 3; ++pos)
        store.section(pos).name = "f" + QByteArray::number(pos);
    store.section(0).text = QByteArray(98, 'a');  // 100 bytes written, replaces 300
    store.section(1).text = QByteArray(48, 'b');  // 50, new
    store.section(2).text = QByteArray(198, 'c'); // 200, new
    put(QStringLiteral("f0.txt"), QByteArray(300, 'z'));
    // Peak: f0 beside its old file (100), then -200 + 50, then -150 + 200 = 50.
    EXPECT_EQ(plan_folder_save(folder(), store.document(), {}).bytesNeeded, 100);

    store.section(1).name = "f0"; // f0.txt again: 50 beside the 100 just written
    store.section(2).text = QByteArray(998, 'c');
    // 100 | -200 + 50 | -250 + 1000 = 750.
    EXPECT_EQ(plan_folder_save(folder(), store.document(), {}).bytesNeeded, 750);
}

} // namespace
} // namespace pote
