#include "textio/linked_text.h"

#include "core/cp932.h"
#include "core/file_io.h"
#include "core/section_store.h"
#include "core/text_lines.h"
#include "editing/search.h"
#include "support/result_check.h"
#include "support/test_files.h"
#include "textio/text_messages.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <atomic>
#include <iterator>
#include <random>
#include <thread>

#include <unistd.h>

namespace pote {
namespace {

using test::sjis;
using Kind = Error::Kind;
using test::failureOf;

// A document holding the given (name, text) sections.
Document documentOf(const std::vector<std::pair<QByteArray, QByteArray>>& sections) {
    Document document;
    for (size_t k = 0; k < sections.size(); ++k) {
        const int pos = k == 0 ? 0 : document.appendEmpty();
        document.section(pos).name = sections[k].first;
        document.section(pos).text = sections[k].second;
    }
    return document;
}

std::vector<std::pair<QByteArray, QByteArray>> sectionsOf(const Result<LinkedTextRead>& r) {
    std::vector<std::pair<QByteArray, QByteArray>> out;
    if (!r) return out;
    for (const auto& e : r->content.sections)
        out.emplace_back(e.section.name, e.section.text);
    return out;
}

// The split as the format states it, on the whole text at once: a block from each header to the
// next; the character after the mark belongs to neither name nor text; the name runs to the
// block's first CR, the text starts two bytes after it; a block without a CR is all text but
// for its first character.
std::vector<std::pair<QByteArray, QByteArray>> splitByTheBook(QByteArrayView lines) {
    std::vector<qsizetype> headers;
    for (qsizetype at = search_from(lines, kSectionMark, 0, CaseMode::Sensitive); at >= 0;
         at = search_from(lines, kSectionMark, at + kSectionMark.size(), CaseMode::Sensitive))
        headers.push_back(at);
    std::vector<std::pair<QByteArray, QByteArray>> sections;
    for (size_t j = 0; j < headers.size(); ++j) {
        const qsizetype end = j + 1 < headers.size() ? headers[j + 1] : lines.size();
        qsizetype start = headers[j] + kSectionMark.size();
        if (start < end) start += cp932::charLengthAt(lines, start);
        const QByteArray block =
            lines.sliced(qMin(start, end), qMax<qsizetype>(0, end - start)).toByteArray();
        const qsizetype cr = block.indexOf('\r');
        if (cr >= 0)
            sections.emplace_back(block.left(cr), block.mid(cr + 2));
        else if (!block.isEmpty())
            sections.emplace_back(QByteArray(), block.mid(cp932::charLengthAt(block, 0)));
        else
            sections.emplace_back();
    }
    return sections;
}

class LinkedText : public testing::Test {
protected:
    QString path(const QString& name) const { return m_dir.filePath(name); }

    QByteArray written(const Document& document) {
        const QString file = path(QStringLiteral("連結.txm"));
        const Result<void> w = linked_text_write(file, document);
        EXPECT_TRUE(w.ok()) << test::errorText(w);
        return test::readAll(file);
    }

    Result<LinkedTextRead> read(const QByteArray& bytes, Utf8Choice* choice = nullptr) {
        const QString file = path(QStringLiteral("読む.txm"));
        test::writeAll(file, bytes);
        Utf8Choice none;
        return linked_text_read(file, choice ? *choice : none);
    }

    QTemporaryDir m_dir;
};

TEST_F(LinkedText, TwoSectionsByteForByte) {
    const Document document = documentOf({{"a", "x\r\n"}, {"b", "y"}});
    const QByteArray expected = "*section a\r\nx\r\n*section b\r\ny\r\n";
    EXPECT_EQ(written(document), expected);
    EXPECT_EQ(linked_text_size(document), expected.size());
}

TEST_F(LinkedText, WriterDropsZeroBytesAtTheEndOfTexts) {
    const Document document =
        documentOf({{sjis("第一章"), QByteArray("x\0y\0\0", 5)}, {"", QByteArray("\0", 1)}});
    const QByteArray expected =
        sjis("*section 第一章\r\n") + QByteArray("x\0y", 3) + "*section \r\n\r\n";
    EXPECT_EQ(written(document), expected);
    EXPECT_EQ(linked_text_size(document), expected.size());
}

TEST_F(LinkedText, ReaderSplitsAtEveryMark) {
    const struct {
        const char* name;
        QByteArray file;
        std::vector<std::pair<QByteArray, QByteArray>> sections;
    } rows[] = {
        {"WrittenTwoSections",
         "*section a\r\nx\r\n*section b\r\ny\r\n",
         {{"a", "x\r\n"}, {"b", "y\r\n"}}},
        {"MarkInsideAText",
         "*section a\r\nsee *section 2 here\r\nmore\r\n",
         {{"a", "see "}, {"2 here", "more\r\n"}}},
        {"TextBeforeTheFirstHeaderIsDropped", "preface\r\n*section a\r\nx\r\n", {{"a", "x\r\n"}}},
        {"OnlyHeaderAtTheVeryEnd", "text\r\n*section last\r\n", {{"last", ""}}},
        {"TabAfterTheMark", "*section\tname\r\nx\r\n", {{"name", "x\r\n"}}},
        {"LfOnlyReadsLikeCrLf", "*section a\nx\ny\n*section b\n", {{"a", "x\r\ny\r\n"}, {"b", ""}}},
        {"NoFinalBreak", "*section a\r\nx", {{"a", "x\r\n"}}},
        {"MarkRightAfterMark", "*section*section b\r\n", {{"", ""}, {"b", ""}}},
        {"HeaderWithoutLineBreakBeforeNext", "*section ab*section c\r\n", {{"", "b"}, {"c", ""}}},
        {"DoubleByteAfterTheMarkIsOneCharacter",
         sjis("*section猫名前\r\n本文\r\n"),
         {{sjis("名前"), sjis("本文\r\n")}}},
        {"UpperCaseIsNoMark", "*section a\r\n*SECTION b\r\n", {{"a", "*SECTION b\r\n"}}},
        {"FileEndsAtItsFirstZeroByte",
         QByteArray("*section a\r\nx") + '\0' + "*section b\r\n",
         {{"a", "x\r\n"}}},
    };
    for (const auto& row : rows) {
        const Result<LinkedTextRead> r = read(row.file);
        ASSERT_TRUE(r) << row.name;
        EXPECT_EQ(sectionsOf(r), row.sections) << row.name;
        for (const auto& e : r->content.sections) {
            EXPECT_EQ(e.section.group, 0) << row.name;
            EXPECT_FALSE(e.reserved.has_value()) << row.name;
        }
    }
}

TEST_F(LinkedText, LargeFilesSplitAsSmallOnes) {
    // Files of a few MiB, read in pieces: headers near every piece boundary, a line longer than
    // a piece, and one stray LF deep inside that sends the whole file down the copying path.
    std::mt19937 rng(11);
    QByteArray body;
    int section = 0;
    while (body.size() < 3 * 1024 * 1024) {
        const unsigned pick = rng() % 1000;
        if (pick < 8)
            body += "*section " + QByteArray::number(++section) + "\r\n";
        else if (pick < 10)
            body += "x*section" + QByteArray::number(++section) + "\r\n";
        else
            body +=
                sjis("吾輩は猫である。名前はまだ無い。") + QByteArray(rng() % 200, 'a') + "\r\n";
        if (body.size() > 1024 * 1024 && body.size() < 1100 * 1024)
            body += QByteArray(700 * 1024, 'L') + "\r\n";
    }
    for (const QByteArray& file : {body, QByteArray(body).insert(2 * 1024 * 1024 + 5, '\n')}) {
        const Result<LinkedTextRead> expected = parse_linked_text(read_as_lines(file));
        const Result<LinkedTextRead> r = read(file);
        ASSERT_TRUE(r);
        ASSERT_TRUE(expected);
        EXPECT_EQ(r->headers, expected->headers);
        EXPECT_EQ(r->headers, section);
        EXPECT_TRUE(sectionsOf(r) == sectionsOf(expected));
    }
}

TEST_F(LinkedText, FileWithoutHeaderIsRefused) {
    for (const QByteArray& file :
         {QByteArray("just text\r\n"), QByteArray(), QByteArray("*sectio")}) {
        const Result<LinkedTextRead> r = read(file);
        ASSERT_EQ(failureOf(r), Kind::Refused);
        EXPECT_EQ(r.error().text,
                  QStringLiteral("このテキストは、連結テキストの書式と違うみたいだにゃ。\r"
                                 "コンバート失敗しちゃったにゃ。ゴメンニャ。"));
    }
}

TEST_F(LinkedText, FiveHundredHeadersAreReadAndOneMoreIsRefused) {
    QByteArray file;
    for (int k = 1; k <= 500; ++k)
        file += "*section " + QByteArray::number(k) + "\r\ntext\r\n";
    const Result<LinkedTextRead> full = read(file);
    ASSERT_TRUE(full);
    EXPECT_EQ(full->content.sections.size(), 500u);
    EXPECT_EQ(full->content.sections[499].section.name, "500");

    const Result<LinkedTextRead> over = read(file + "*section 501\r\n");
    ASSERT_EQ(failureOf(over), Kind::Refused);
    EXPECT_EQ(over.error().text, textmsg::tooManyLinkedSections(501));
    EXPECT_TRUE(over.error().text.contains(QStringLiteral("501")));
}

TEST_F(LinkedText, ImportReplacesATenSectionDocument) {
    SectionStore store;
    store.addGroup(sjis("第一部"));
    for (int k = 0; k < 10; ++k) {
        const int pos = k == 0 ? 0 : store.appendEmpty();
        store.section(pos).name = "old" + QByteArray::number(k);
        store.section(pos).group = 1;
    }
    store.current = 7;
    Result<LinkedTextRead> r = read("*section a\r\n1\r\n*section b\r\n2\r\n*section c\r\n3\r\n");
    ASSERT_TRUE(r);
    // What the import command does with the content.
    store.resetToNew();
    store.replaceDocument(std::move(r->content));
    EXPECT_EQ(store.count(), 3);
    EXPECT_EQ(store.groupCount(), 0);
    EXPECT_EQ(store.current, 0);
    for (int pos = 0; pos < 3; ++pos)
        EXPECT_EQ(store.section(pos).group, 0);
    EXPECT_EQ(store.section(2).name, "c");
    EXPECT_EQ(store.section(3).name, QByteArray()) << "later positions are emptied";
}

TEST_F(LinkedText, ReadInPiecesOfAnySizeAsTheFormatSplitsTheWholeText) {
    std::mt19937 rng(28);
    const QByteArray pieces[] = {
        "*section ", "*section", "*section\r\n",      "\r\n", "\r\n",   "\r", "\n", "a", "\x82",
        sjis("猫"),  sjis("ｱ"),  QByteArray("\0", 1), "*",    "section"};
    const QString file = path(QStringLiteral("片.txm"));
    for (int round = 0; round < 800; ++round) {
        QByteArray bytes;
        const int count = static_cast<int>(rng() % 40);
        for (int k = 0; k < count; ++k) {
            // Mostly files this program could have written: no lone CR, LF or NUL.
            const QByteArray& piece = pieces[rng() % std::size(pieces)];
            if (round % 4 != 0 && (piece == "\r" || piece == "\n" || piece.contains('\0')))
                continue;
            bytes += piece;
        }
        if (round % 4 != 1 && !bytes.endsWith("\r\n")) bytes += "\r\n";
        test::writeAll(file, bytes);
        const QByteArray lines = read_as_lines(bytes);
        const auto expected = splitByTheBook(lines);
        Utf8Choice none;
        const Result<LinkedTextRead> r = linked_text_read(file, none, 1 + qsizetype(rng() % 24));
        if (expected.empty()) {
            ASSERT_EQ(failureOf(r), Kind::Refused) << bytes.toHex().toStdString();
            EXPECT_EQ(r.error().text, textmsg::notLinkedText());
            continue;
        }
        ASSERT_TRUE(r) << bytes.toHex().toStdString();
        ASSERT_EQ(r->headers, int(expected.size())) << bytes.toHex().toStdString();
        ASSERT_EQ(sectionsOf(r), expected) << bytes.toHex().toStdString();
        ASSERT_EQ(sectionsOf(parse_linked_text(lines)), expected) << bytes.toHex().toStdString();
    }

    // Past 500 headers nothing is kept, but every header is counted.
    QByteArray many;
    for (int k = 0; k < 700; ++k)
        many += "*section " + QByteArray::number(k) + "\r\ntext\r\n";
    test::writeAll(file, many);
    Utf8Choice none;
    const Result<LinkedTextRead> tooMany = linked_text_read(file, none, 64);
    ASSERT_EQ(failureOf(tooMany), Kind::Refused);
    EXPECT_EQ(tooMany.error().text, textmsg::tooManyLinkedSections(700));
}

TEST_F(LinkedText, AFileShortenedWhileItIsReadGivesWhatItStillHeld) {
    // Another program cuts the file again and again while it is read in small pieces: every
    // read ends with a result, never with a crash.
    QByteArray body;
    for (int k = 0; body.size() < 4 * 1024 * 1024; ++k)
        body += "*section " + QByteArray::number(k % 400) + "\r\n" +
                sjis("吾輩は猫である。\r\n").repeated(40);
    const QString file = path(QStringLiteral("縮む.txm"));
    for (int round = 0; round < 8; ++round) {
        test::writeAll(file, body);
        std::atomic<bool> reading{true};
        std::thread cutter([&] {
            for (qint64 size = body.size(); reading && size > 0; size -= 256 * 1024) {
                ::truncate(QFile::encodeName(file).constData(), size);
                std::this_thread::yield();
            }
        });
        Utf8Choice none;
        const Result<LinkedTextRead> r = linked_text_read(file, none, 4096);
        reading = false;
        cutter.join();
        EXPECT_NE(failureOf(r), Kind::Io) << test::errorText(r);
        if (r) {
            EXPECT_LE(r->content.sections.size(), size_t(SectionStore::kMaxSections));
        }
    }
}

TEST_F(LinkedText, RandomDocumentsComeBackThroughExportAndImport) {
    std::mt19937 rng(2024);
    const QByteArray pieces[] = {sjis("猫"), sjis("ｱｲ"), "abc", " ", "\r\n", sjis("表"), "*", "\t"};
    const auto randomBytes = [&](int maxPieces, bool breaks) {
        QByteArray s;
        const int n = static_cast<int>(rng() % (maxPieces + 1));
        for (int k = 0; k < n; ++k) {
            const QByteArray& p = pieces[rng() % 8];
            if (breaks || p != "\r\n") s += p;
        }
        return s;
    };
    for (int round = 0; round < 40; ++round) {
        std::vector<std::pair<QByteArray, QByteArray>> sections;
        const int count = 1 + static_cast<int>(rng() % 12);
        for (int k = 0; k < count; ++k) {
            QByteArray text = randomBytes(30, true);
            // Every text but the last ends with a line break, or its successor's header would
            // run on from it.
            if (k + 1 < count && !text.endsWith("\r\n")) text += "\r\n";
            sections.emplace_back(randomBytes(5, false), text);
        }
        const QByteArray file = written(documentOf(sections));
        const Result<LinkedTextRead> r = read(file);
        ASSERT_TRUE(r);
        sections.back().second += "\r\n"; // the file's final line break
        EXPECT_EQ(sectionsOf(r), sections) << file.toHex().toStdString();
    }
}

TEST_F(LinkedText, SectionsHoldingTheMarkAreFound) {
    const Document document = documentOf({{"a", "ok\r\n"},
                                          {"b", "see *section here"},
                                          {"*section in the name", ""},
                                          {"d", "*Section, *sectio"}});
    EXPECT_EQ(sections_holding_mark(document), (std::vector<int>{1, 2}));
    EXPECT_EQ(
        textmsg::headerInsideSections({2, 3}),
        QStringLiteral("セクション No.2、No.3 の名前かテキストに「*section」が入ってるにゃ。\r\n"
                       "読み込み直すと、そこでセクションが分かれちゃうにゃん。\r\n"
                       "このまま保存するにゃん？"));
}

TEST_F(LinkedText, SectionsHoldingANulAreFoundBecauseTheReaderStopsThere) {
    const Document document = documentOf({{"a", "ok\r\n"},
                                          {"b", QByteArray("cut\0here\r\n", 11)},
                                          {"c", QByteArray("only at the end\0\0", 17)},
                                          {QByteArray("d\0", 2), "x"},
                                          {"e", "lost"}});
    EXPECT_EQ(sections_holding_nul(document), (std::vector<int>{1, 3}));
    // What the warning is about: the sections after the first NUL do not come back.
    const Result<LinkedTextRead> back = read(written(document));
    ASSERT_TRUE(back);
    EXPECT_EQ(sectionsOf(back),
              (std::vector<std::pair<QByteArray, QByteArray>>{{"a", "ok\r\n"}, {"b", "cut\r\n"}}));
    EXPECT_EQ(
        textmsg::nulInsideSections({2, 4}),
        QStringLiteral("セクション No.2、No.4 の名前かテキストに NUL（コード0）が入ってるにゃ。\r\n"
                       "読み込み直すと、そこから後ろはみんな消えちゃうにゃん。\r\n"
                       "このまま保存するにゃん？"));
}

TEST_F(LinkedText, Utf8FilesAreConvertedWhenTheUserSaysSo) {
    const QByteArray utf8 = "*section 猫\r\n吾輩は猫である。é\r\n";
    const std::vector<std::pair<QByteArray, QByteArray>> converted = {
        {sjis("猫"), sjis("吾輩は猫である。?\r\n")}};
    for (const QByteArray& file : {utf8, QByteArray("\xEF\xBB\xBF") + utf8}) {
        int asked = 0;
        Utf8Choice yes([&] { return ++asked > 0; });
        const Result<LinkedTextRead> r = read(file, &yes);
        ASSERT_TRUE(r);
        EXPECT_EQ(asked, 1);
        EXPECT_EQ(sectionsOf(r), converted);
        EXPECT_EQ(yes.unmappable(), 1);

        Utf8Choice no([] { return false; });
        const Result<LinkedTextRead> raw = read(file, &no);
        ASSERT_TRUE(raw);
        EXPECT_EQ(raw->content.sections[0].section.name, "猫") << "bytes as they are";
    }
}

TEST_F(LinkedText, FailuresLeaveNothingBehind) {
    Utf8Choice choice;
    const Result<LinkedTextRead> missing =
        linked_text_read(path(QStringLiteral("ない.txm")), choice);
    ASSERT_EQ(failureOf(missing), Kind::Io);
    EXPECT_FALSE(missing.error().text.isEmpty());
    if (test::pipesAvailable(m_dir.path())) {
        const QString pipe = path(QStringLiteral("管.txm"));
        std::optional<Result<LinkedTextRead>> fromPipe;
        EXPECT_TRUE(test::readsPipeWithoutWaiting(
            pipe, [&] { fromPipe = linked_text_read(pipe, choice); }));
        ASSERT_TRUE(fromPipe);
        ASSERT_EQ(failureOf(*fromPipe), Kind::Io);
        EXPECT_EQ(fromPipe->error().text, notAFileToReadMessage());
    }

    const QString target = path(QStringLiteral("ない/連結.txm"));
    const Result<void> w = linked_text_write(target, documentOf({{"a", "x"}}));
    ASSERT_EQ(failureOf(w), Kind::Io);
    EXPECT_FALSE(w.error().text.isEmpty());
}

} // namespace
} // namespace pote
