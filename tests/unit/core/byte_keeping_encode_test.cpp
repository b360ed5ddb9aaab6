#include "core/byte_keeping_encode.h"

#include "core/cp932.h"
#include "core/cp932_tables.h"
#include "support/test_files.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <QString>

#include <algorithm>
#include <functional>
#include <map>
#include <ostream>
#include <random>
#include <tuple>
#include <vector>

void PrintTo(const QByteArray& b, std::ostream* os) {
    *os << '[' << b.toHex(' ').toStdString() << ']';
}

namespace pote {
namespace {

using test::sjis;

QByteArray code(unsigned c) {
    QByteArray out;
    if (c > 0xFF) out += char(c >> 8);
    out += char(c & 0xFF);
    return out;
}

// Numbered lines of twenty NEC and IBM duplicates each, in the codes other programs write (not
// the ones the encoder picks), all of them within twenty lines.
QByteArray duplicateLines(int count) {
    const auto& dups = cp932::tables::duplicates;
    QByteArray text;
    for (int line = 0; line < count; ++line) {
        text += sjis("第") + QByteArray::number(line + 1) + sjis("行：");
        for (int k = 0; k < 20; ++k)
            text += code(dups[std::size_t(line * 20 + k) % dups.size()].from);
        text += sjis("。\r\n");
    }
    return text;
}

// A writer's section: every duplicate code, the preferred codes too, lone invalid bytes and a
// stray lead byte at the end of a line.
QByteArray writersSection() {
    return duplicateLines(20) + sjis("迷子のバイト") + "\x80" + sjis("と") + "\xA0" + sjis("と") +
           "\xFD\xFE\xFF" + sjis("です。\r\n") + sjis("行末に先行バイト") + "\x82\r\n" +
           code(0xED40) + sjis("で始まる行。\r\n") + sjis("優先の符号：") + code(0xFA5C) +
           code(0x81E0) + code(0x878A) + sjis("。\r\n") + sjis("最後の行");
}

// The byte offset in stored of pane position unit.
qsizetype byteAt(const QByteArray& stored, qsizetype unit) {
    qsizetype i = 0;
    for (qsizetype u = 0; u < unit; ++u) {
        if (stored[i] == '\r')
            i += i + 1 < stored.size() && stored[i + 1] == '\n' ? 2 : 1;
        else
            i += cp932::charLengthAt(stored, i);
    }
    return i;
}

struct PaneEdit {
    qsizetype at;
    qsizetype removed;
    QString inserted;
};

// The edits (positions in the pane before any of them, not overlapping) done to the pane text.
QString edited(QString pane, std::vector<PaneEdit> edits) {
    std::sort(edits.begin(), edits.end(), [](auto& a, auto& b) { return a.at > b.at; });
    for (const PaneEdit& e : edits)
        pane.replace(e.at, e.removed, e.inserted);
    return pane;
}

// The same edits done to the stored bytes: what the user typed in the encoder's codes,
// everything else as it was.
QByteArray editedBytes(QByteArray stored, std::vector<PaneEdit> edits) {
    std::sort(edits.begin(), edits.end(), [](auto& a, auto& b) { return a.at > b.at; });
    const QByteArray original = stored;
    for (const PaneEdit& e : edits) {
        const qsizetype from = byteAt(original, e.at);
        const qsizetype to = byteAt(original, e.at + e.removed);
        stored.replace(from, to - from, cp932::encodeFromPane(e.inserted));
    }
    return stored;
}

// The edits that take the edited pane back (an undo).
std::vector<PaneEdit> undoing(const QString& pane, std::vector<PaneEdit> edits) {
    std::sort(edits.begin(), edits.end(), [](auto& a, auto& b) { return a.at < b.at; });
    std::vector<PaneEdit> back;
    qsizetype shift = 0;
    for (const PaneEdit& e : edits) {
        back.push_back({e.at + shift, e.inserted.size(), pane.mid(e.at, e.removed)});
        shift += e.inserted.size() - e.removed;
    }
    return back;
}

qsizetype startOfLine(const QString& pane, const QString& prefix) {
    const qsizetype at = pane.indexOf(prefix);
    EXPECT_GE(at, 0) << prefix.toStdString();
    return at;
}

qsizetype lineLength(const QString& pane, qsizetype start) {
    return pane.indexOf(u'\n', start) + 1 - start;
}

struct EditCase {
    const char* name;
    std::function<std::vector<PaneEdit>(const QString& pane)> edits;
};

class KeepingStoredBytes : public testing::TestWithParam<EditCase> {};

// Only the typing changes bytes; undoing it, before or after a commit, brings the section back
// (what an undo puts back after a commit is new text, in the encoder's codes).
TEST_P(KeepingStoredBytes, OnlyTheEditedCharactersChange) {
    const QByteArray stored = writersSection();
    const QString pane = cp932::decodeForPane(stored);
    const std::vector<PaneEdit> edits = GetParam().edits(pane);
    const QString after = edited(pane, edits);

    const QByteArray committed = encodeKeepingStoredBytes(stored, after);
    EXPECT_EQ(committed, editedBytes(stored, edits));
    EXPECT_EQ(encodeKeepingStoredBytes(stored, pane), stored) << "undo before committing";
    const std::vector<PaneEdit> back = undoing(pane, edits);
    EXPECT_EQ(encodeKeepingStoredBytes(committed, pane), editedBytes(committed, back))
        << "undo after committing";
}

INSTANTIATE_TEST_SUITE_P(
    Edits, KeepingStoredBytes,
    testing::Values(
        EditCase{"TypingAtTheStart",
                 [](const QString&) {
                     return std::vector<PaneEdit>{{0, 0, u"あ"_qs}};
                 }},
        EditCase{
            "TypingInTheMiddleOfDuplicates",
            [](const QString& p) {
                return std::vector<PaneEdit>{{startOfLine(p, u"第10行："_qs) + 14, 0, u"a"_qs}};
            }},
        EditCase{"TypingAtTheEnd",
                 [](const QString& p) {
                     return std::vector<PaneEdit>{{p.size(), 0, u"。"_qs}};
                 }},
        EditCase{"TypingInFivePlaces",
                 [](const QString& p) {
                     std::vector<PaneEdit> e;
                     for (int line : {2, 5, 6, 13, 19})
                         e.push_back({startOfLine(p, u"第%1行："_qs.arg(line)) + 9, 0, u"猫"_qs});
                     return e;
                 }},
        EditCase{"DeletingALineOfDuplicates",
                 [](const QString& p) {
                     const qsizetype at = startOfLine(p, u"第7行："_qs);
                     return std::vector<PaneEdit>{{at, lineLength(p, at), {}}};
                 }},
        EditCase{"DeletingDuplicatesAcrossALineBreak",
                 [](const QString& p) {
                     const qsizetype at = startOfLine(p, u"第8行："_qs) - 6;
                     return std::vector<PaneEdit>{{at, 12, {}}};
                 }},
        EditCase{
            "ReplacingDuplicatesInsideALine",
            [](const QString& p) {
                return std::vector<PaneEdit>{{startOfLine(p, u"第3行："_qs) + 8, 5, u"かな"_qs}};
            }},
        EditCase{
            "SplittingALine",
            [](const QString& p) {
                return std::vector<PaneEdit>{{startOfLine(p, u"第12行："_qs) + 15, 0, u"\n"_qs}};
            }},
        EditCase{"JoiningTwoLines",
                 [](const QString& p) {
                     return std::vector<PaneEdit>{{startOfLine(p, u"第12行："_qs) - 1, 1, {}}};
                 }},
        EditCase{"TypingAfterTheStrayLeadByte",
                 [](const QString& p) {
                     return std::vector<PaneEdit>{{startOfLine(p, u"行末に"_qs) + 9, 0, u"1"_qs}};
                 }}),
    [](const testing::TestParamInfo<EditCase>& row) { return row.param.name; });

TEST(KeepingStoredBytes, AStrayLeadByteNeverJoinsAKeptCode) {
    // 82 followed by ED 40 would read as another character; FA 5C is the same 纊 and joins
    // nothing, so joining the lines gives up the stored code rather than the text.
    const QByteArray stored = sjis("先行") + "\x82\r\n" + code(0xED40) + code(0xED41) + sjis("字");
    QString pane = cp932::decodeForPane(stored);
    pane.remove(pane.indexOf(u'\n'), 1);
    const QByteArray committed = encodeKeepingStoredBytes(stored, pane);
    EXPECT_EQ(committed, sjis("先行") + "\x82" + code(0xFA5C) + code(0xED41) + sjis("字"));
    EXPECT_EQ(cp932::decodeForPane(committed), pane);
}

TEST(KeepingStoredBytes, MovedTextKeepsItsCodesAndACopyTakesTheEncodersCodes) {
    const QByteArray stored = writersSection();
    const QString pane = cp932::decodeForPane(stored);
    const qsizetype line4 = startOfLine(pane, u"第4行："_qs);
    const qsizetype line15 = startOfLine(pane, u"第15行："_qs);
    const QString whole4 = pane.mid(line4, lineLength(pane, line4));
    const QByteArray whole4Bytes = stored.mid(
        byteAt(stored, line4), byteAt(stored, line4 + whole4.size()) - byteAt(stored, line4));
    const QString part9 = pane.mid(startOfLine(pane, u"第9行："_qs) + 6, 8);
    const qsizetype part9At = byteAt(stored, startOfLine(pane, u"第9行："_qs) + 6);
    const QByteArray part9Bytes =
        stored.mid(part9At, byteAt(stored, startOfLine(pane, u"第9行："_qs) + 14) - part9At);

    {
        SCOPED_TRACE("a whole line cut and pasted further down");
        QString moved = pane;
        moved.insert(line15, whole4);
        moved.remove(line4, whole4.size());
        QByteArray expected = stored;
        expected.insert(byteAt(stored, line15), whole4Bytes);
        expected.remove(byteAt(stored, line4), whole4Bytes.size());
        EXPECT_EQ(encodeKeepingStoredBytes(stored, moved), expected);
    }
    {
        SCOPED_TRACE("part of a line cut and pasted into another line");
        QString moved = pane;
        moved.insert(line15 + 10, part9);
        moved.remove(startOfLine(pane, u"第9行："_qs) + 6, part9.size());
        QByteArray expected = stored;
        expected.insert(byteAt(stored, line15 + 10), part9Bytes);
        expected.remove(part9At, part9Bytes.size());
        EXPECT_EQ(encodeKeepingStoredBytes(stored, moved), expected);
    }
    {
        SCOPED_TRACE("a copy pasted into another line");
        QString copied = pane;
        copied.insert(line15 + 10, part9);
        QByteArray expected = stored;
        expected.insert(byteAt(stored, line15 + 10), cp932::encodeFromPane(part9));
        ASSERT_NE(cp932::encodeFromPane(part9), part9Bytes);
        EXPECT_EQ(encodeKeepingStoredBytes(stored, copied), expected);
    }
}

TEST(KeepingStoredBytes, LineBreaksOfAnEditedSectionBecomeCrLf) {
    const QByteArray stored = code(0xED40) + "\n" + code(0x8790) + "\r" + code(0xFA58) + "\r\n";
    QString pane = cp932::decodeForPane(stored);
    pane.prepend(u'x');
    EXPECT_EQ(encodeKeepingStoredBytes(stored, pane),
              "x" + code(0xED40) + "\r\n" + code(0x8790) + "\r\n" + code(0xFA58) + "\r\n");
}

// Beyond the nearby search: many lines changed at once, long runs removed and inserted.
TEST(KeepingStoredBytes, LargeChangesKeepTheLinesAroundThem) {
    const QByteArray stored = duplicateLines(300);
    const QString pane = cp932::decodeForPane(stored);
    const auto lineAt = [&](int n) { return startOfLine(pane, u"第%1行："_qs.arg(n)); };
    {
        SCOPED_TRACE("every line indented");
        QString indented = pane;
        QByteArray expected = stored;
        for (int n = 300; n >= 1; --n) {
            indented.insert(lineAt(n), u"　"_qs);
            expected.insert(byteAt(stored, lineAt(n)), sjis("　"));
        }
        EXPECT_EQ(encodeKeepingStoredBytes(stored, indented), expected);
    }
    {
        SCOPED_TRACE("a hundred lines removed, then typing further down");
        const std::vector<PaneEdit> edits = {{lineAt(20), lineAt(120) - lineAt(20), {}},
                                             {lineAt(150) + 7, 0, u"ね"_qs}};
        EXPECT_EQ(encodeKeepingStoredBytes(stored, edited(pane, edits)),
                  editedBytes(stored, edits));
    }
    {
        SCOPED_TRACE("a hundred new lines inserted, then typing further down");
        const QString block = cp932::decodeForPane(sjis("新しい行。\r\n").repeated(100));
        const std::vector<PaneEdit> edits = {{lineAt(20), 0, block},
                                             {lineAt(150) + 7, 0, u"ね"_qs}};
        EXPECT_EQ(encodeKeepingStoredBytes(stored, edited(pane, edits)),
                  editedBytes(stored, edits));
    }
    {
        SCOPED_TRACE("everything rewritten: the encoder's text");
        QString rewritten = pane;
        std::reverse(rewritten.begin(), rewritten.end());
        const QByteArray plain = cp932::encodeFromPane(rewritten);
        const QByteArray committed = encodeKeepingStoredBytes(stored, rewritten);
        EXPECT_EQ(cp932::decodeForPane(committed), cp932::decodeForPane(plain));
        EXPECT_EQ(committed.size(), plain.size());
    }
}

// Past the comparison's limits (more than a thousand edits in one run of changed lines), lines
// are taken in pairs: an indented line keeps its codes, a rewritten one takes the encoder's.
TEST(KeepingStoredBytes, BeyondTheLimitsLinesArePairedAndRewrittenOnesTakeTheEncodersCodes) {
    const QByteArray stored = duplicateLines(3000);
    QString pane;
    QByteArray expected;
    int n = 0;
    for (const QByteArray& line : stored.split('\n')) {
        if (line.isEmpty()) continue;            // after the last break
        const QByteArray text = line.chopped(1); // without its CR
        QString shown = cp932::decodeForPane(text);
        if (n++ % 10 == 5) {
            std::reverse(shown.begin(), shown.end());
            expected += cp932::encodeFromPane(shown) + "\r\n";
        } else {
            shown.prepend(u"　"_qs);
            expected += sjis("　") + text + "\r\n";
        }
        pane += shown + u'\n';
    }
    EXPECT_EQ(encodeKeepingStoredBytes(stored, pane), expected);
}

// A section far longer than the encoder's parts, edited around their borders.
TEST(KeepingStoredBytes, LongSectionsKeepTheirCodesAcrossTheEncodersParts) {
    const QByteArray stored = duplicateLines(10000);
    const QString pane = cp932::decodeForPane(stored);
    ASSERT_GT(pane.size(), 4 * 65536);
    const auto nearBorder = [&](int k, int shift) {
        return pane.indexOf(u'\n', k * 65536 + shift) + 1; // a line start
    };
    std::vector<std::vector<PaneEdit>> cases;
    std::vector<PaneEdit> typing;
    for (int k = 1; k <= 4; ++k) {
        for (int shift : {-40, -3, 0, 2, 30})
            typing.push_back({k * 65536 + shift, 0, u"ね"_qs});
    }
    cases.push_back(typing);
    // A hundred lines removed, and a hundred inserted, across a border.
    cases.push_back({{nearBorder(1, -2000), nearBorder(1, 1000) - nearBorder(1, -2000), {}}});
    cases.push_back(
        {{nearBorder(2, -2000), 0, cp932::decodeForPane(sjis("新しい行。\r\n").repeated(100))}});
    // A line joined with the next right at a border.
    cases.push_back({{nearBorder(3, 0) - 1, 1, {}}});
    for (std::size_t c = 0; c < cases.size(); ++c) {
        SCOPED_TRACE(testing::Message() << "case " << c);
        EXPECT_EQ(encodeKeepingStoredBytes(stored, edited(pane, cases[c])),
                  editedBytes(stored, cases[c]));
    }
    EXPECT_EQ(encodeKeepingStoredBytes(stored, pane), stored);
}

// Random sections and random edits against what the edits did: each character the edits did
// not touch keeps its stored code, each typed one has the encoder's, and the whole decodes as
// the encoder's text does.
class RandomSections {
public:
    explicit RandomSections(unsigned seed) : m_rng(seed) {
        std::map<char16_t, std::vector<unsigned>> codesOf;
        for (unsigned lead = 0x81; lead <= 0xFC; ++lead) {
            for (unsigned trail = 0x40; trail <= 0xFC; ++trail) {
                const char16_t u = cp932::pairUnit(lead, trail);
                const bool kana =
                    (lead == 0x82 && trail >= 0x9F) || (lead == 0x83 && trail <= 0x96);
                if (u == 0) continue;
                (kana ? m_typed : codesOf[u]).push_back(lead << 8 | trail);
            }
        }
        for (auto& [unit, codes] : codesOf)
            (codes.size() > 1 ? m_duplicated : m_plain).push_back(codes);
        for (unsigned b = 0x21; b < 0x7F; ++b)
            m_plain.push_back({b});
        for (unsigned b = 0xA1; b <= 0xDF; ++b)
            m_plain.push_back({b});
    }

    // A text of distinct characters (line breaks apart), so that every edit has one place;
    // loneBreaks in 40 line breaks are a lone LF and as many a lone CR.
    QByteArray section(int lines, int width, int loneBreaks = 1) {
        std::shuffle(m_plain.begin(), m_plain.end(), m_rng);
        std::shuffle(m_duplicated.begin(), m_duplicated.end(), m_rng);
        std::size_t plain = 0, duplicated = 0;
        std::vector<unsigned> strays = {0x80, 0xA0, 0xFD, 0xFE, 0xFF};
        std::vector<unsigned> strayLeads = {0x81, 0x82, 0x88, 0x9F, 0xE0, 0xED, 0xFA, 0xFC};
        QByteArray text;
        for (int line = 0; line < lines; ++line) {
            const int length = pick(0, 9) == 0 ? 0 : pick(1, width);
            for (int k = 0; k < length; ++k) {
                const int kind = pick(0, 19);
                if (kind < 7 && duplicated < m_duplicated.size()) {
                    const auto& codes = m_duplicated[duplicated++];
                    text += code(codes[std::size_t(pick(0, int(codes.size()) - 1))]);
                } else if (kind == 7 && !strays.empty()) {
                    text += char(strays.back());
                    strays.pop_back();
                } else if (plain < m_plain.size()) {
                    text += code(m_plain[plain++].front());
                }
            }
            if (pick(0, 5) == 0 && !strayLeads.empty()) {
                text += char(strayLeads.back());
                strayLeads.pop_back();
            }
            // Now and then a break of another program: a lone LF or CR.
            if (line + 1 < lines || pick(0, 1)) {
                const int kind = pick(0, 39);
                text += kind < loneBreaks ? "\n" : kind < 2 * loneBreaks ? "\r" : "\r\n";
            }
        }
        return text;
    }

    QString typed() {
        QString s;
        const int length = pick(1, 6);
        for (int k = 0; k < length; ++k) {
            if (pick(0, 9) == 0)
                s += u'\n';
            else
                s += cp932::decode(code(m_typed[std::size_t(pick(0, int(m_typed.size()) - 1))]));
        }
        return s;
    }

    int pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(m_rng); }

private:
    std::mt19937 m_rng;
    std::vector<std::vector<unsigned>> m_plain;
    std::vector<std::vector<unsigned>> m_duplicated;
    std::vector<unsigned> m_typed;
};

// The bytes with each lone LF or CR made a CR LF.
QByteArray withCrLf(const QByteArray& bytes) {
    QByteArray out;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') {
            out += "\r\n";
            ++i;
        } else if (bytes[i] == '\r' || bytes[i] == '\n') {
            out += "\r\n";
        } else {
            out += bytes[i];
        }
    }
    return out;
}

constexpr int kTyped = -1;

// Checks a commit of the edited pane text, whose characters came from stored character
// origin[i] (or were typed).
// The characters of a commit of the edited pane text whose code is not the one promised: the
// stored code of character origin[i], or the encoder's for a typed one.
std::vector<qsizetype> wrongCodes(const QByteArray& stored, const QString& pane,
                                  const std::vector<int>& origin, const QByteArray& committed) {
    const QByteArray plain = cp932::encodeFromPane(pane);
    std::vector<qsizetype> storedAt; // byte offset of each stored character
    for (qsizetype i = 0; i < stored.size();) {
        storedAt.push_back(i);
        i += stored[i] == '\r' && i + 1 < stored.size() && stored[i + 1] == '\n'
                 ? 2
                 : cp932::charLengthAt(stored, i);
    }
    // A stray lead byte that an edit put before a character may join it into another one in
    // the encoder's text, and throw the reading of the next few out of step: no code is promised
    // for characters the encoder's text does not hold as they are.
    std::vector<bool> starts(std::size_t(plain.size()) + 1, false);
    for (qsizetype i = 0; i < plain.size(); i += cp932::charLengthAt(plain, i))
        starts[std::size_t(i)] = true;
    starts.back() = true;
    std::vector<qsizetype> wrong;
    qsizetype at = 0;
    for (qsizetype i = 0; i < pane.size(); ++i) {
        const QChar c = pane[i];
        const qsizetype length = c == u'\n' ? 2 : cp932::byteLength(QStringView(&c, 1));
        const QByteArray bytes = committed.mid(at, length);
        const bool asItIs = starts[std::size_t(at)] && starts[std::size_t(at + length)] &&
                            cp932::decode(plain.mid(at, length)) == QString(c);
        if (c != u'\n' && asItIs) {
            const QByteArray promised = origin[i] == kTyped
                                            ? plain.mid(at, length)
                                            : stored.mid(storedAt[std::size_t(origin[i])], length);
            if (bytes != promised) wrong.push_back(i);
        }
        at += length;
    }
    return wrong;
}

// Checks a commit of the edited pane text, whose characters came from stored character
// origin[i] (or were typed).
void expectKept(const QByteArray& stored, const QString& pane, const std::vector<int>& origin) {
    const QByteArray plain = cp932::encodeFromPane(pane);
    const QByteArray committed = encodeKeepingStoredBytes(stored, pane);
    ASSERT_EQ(committed.size(), plain.size());
    ASSERT_EQ(cp932::decodeForPane(committed), cp932::decodeForPane(plain));
    EXPECT_EQ(wrongCodes(stored, pane, origin, committed), std::vector<qsizetype>{})
        << "characters of the pane without their promised code; committed "
        << committed.toHex(' ').toStdString();
}

TEST(KeepingStoredBytes, RandomEditsOfRandomSections) {
    RandomSections random(20240611);
    for (int round = 0; round < 400; ++round) {
        const bool large = round % 20 == 0;
        const QByteArray stored =
            large ? random.section(250, 12) : random.section(random.pick(1, 25), 30);
        QString pane = cp932::decodeForPane(stored);
        std::vector<int> origin(std::size_t(pane.size()));
        for (std::size_t i = 0; i < origin.size(); ++i)
            origin[i] = int(i);
        const int edits = random.pick(1, large ? 30 : 6);
        testing::Message done;
        for (int e = 0; e < edits; ++e) {
            const int at = random.pick(0, int(pane.size()));
            const int removable = int(pane.size()) - at;
            const int kind = random.pick(0, 2);
            const int removed =
                kind == 0 || removable == 0
                    ? 0
                    : random.pick(1, std::min(removable, large && e == 0 ? 1500 : 40));
            const QString inserted = kind == 1 ? QString() : random.typed();
            done << "\n  at " << at << " removed " << removed << " inserted " << inserted.size();
            pane.replace(at, removed, inserted);
            origin.erase(origin.begin() + at, origin.begin() + at + removed);
            origin.insert(origin.begin() + at, std::size_t(inserted.size()), kTyped);
        }
        SCOPED_TRACE(testing::Message() << "round " << round << done);
        expectKept(stored, pane, origin);
        ASSERT_EQ(encodeKeepingStoredBytes(stored, cp932::decodeForPane(stored)), withCrLf(stored))
            << "undo";
        if (HasFatalFailure() || HasNonfatalFailure()) return;
    }
}

// A pane text being edited, with where each of its characters came from.
struct Tracked {
    QString pane;
    std::vector<int> origin;

    explicit Tracked(const QByteArray& stored) : pane(cp932::decodeForPane(stored)) {
        origin.resize(std::size_t(pane.size()));
        for (std::size_t i = 0; i < origin.size(); ++i)
            origin[i] = int(i);
    }
    void insert(qsizetype at, const QString& text, const std::vector<int>& from) {
        pane.insert(at, text);
        origin.insert(origin.begin() + at, from.begin(), from.end());
    }
    void remove(qsizetype at, qsizetype length) {
        pane.remove(at, length);
        origin.erase(origin.begin() + at, origin.begin() + at + length);
    }
};

bool isStrayLead(QChar c) {
    return c.unicode() >= 0xDC80 && c.unicode() <= 0xDCFF &&
           cp932::isLeadByte(static_cast<unsigned char>(c.unicode() - 0xDC00));
}

// Edits that leave equal characters side by side or move what the comparison could match
// otherwise, in sections with many breaks of other programs and stray bytes:
// - a copy pasted right after its original, the only edit: the original keeps the stored
//   codes, the copy takes the encoder's (where an edit could lie in more than one place, the
//   earlier of the equal characters keeps the stored code);
// - a line break moved a few characters (a line split elsewhere than it was joined): no
//   character gives up its code for a break, which has none to keep;
// - typing right after a stray lead byte.
TEST(KeepingStoredBytes, EditsBesideEqualTextBreaksAndStrayBytes) {
    RandomSections random(20250301);
    for (int round = 0; round < 20000; ++round) {
        const QByteArray stored = random.section(random.pick(1, 8), 12, 8);
        Tracked t(stored);
        testing::Message done;
        // A copy on its own: after another edit in the same lines, the comparison reads the
        // changed lines from their common end too, and which twin keeps the code is open.
        const bool copying = round % 3 == 0;
        for (int e = copying ? 1 : random.pick(1, 3); e > 0; --e) {
            const int size = int(t.pane.size());
            const int kind = copying ? 0 : random.pick(1, 2);
            if (kind == 0 && size > 0) {
                const int at = random.pick(0, size - 1);
                int length = random.pick(1, std::min(4, size - at));
                const qsizetype stop = t.pane.indexOf(u'\n', at);
                if (stop >= 0 && stop < at + length) length = int(stop - at);
                if (length == 0) continue;
                done << "\n  copy " << at << "+" << length;
                t.insert(at + length, t.pane.mid(at, length), std::vector<int>(length, kTyped));
            } else if (kind == 1) {
                const qsizetype from = t.pane.indexOf(u'\n', random.pick(0, size));
                // A stray lead byte joined to the next line would read it out of step.
                if (from < 0 || (from > 0 && isStrayLead(t.pane[from - 1]))) continue;
                const int origin = t.origin[std::size_t(from)];
                t.remove(from, 1);
                const int to = std::clamp(int(from) + random.pick(-5, 5), 0, int(t.pane.size()));
                done << "\n  break " << from << " to " << to;
                t.insert(to, u"\n"_qs, {origin});
            } else {
                std::vector<qsizetype> afterStray;
                for (qsizetype i = 0; i < t.pane.size(); ++i) {
                    if (isStrayLead(t.pane[i])) afterStray.push_back(i + 1);
                }
                if (afterStray.empty()) continue;
                const qsizetype at =
                    afterStray[std::size_t(random.pick(0, int(afterStray.size()) - 1))];
                const QString typed = random.typed();
                done << "\n  typed after a stray lead byte at " << at;
                t.insert(at, typed, std::vector<int>(std::size_t(typed.size()), kTyped));
            }
        }
        SCOPED_TRACE(testing::Message() << "round " << round << done);
        expectKept(stored, t.pane, t.origin);
        if (HasFatalFailure() || HasNonfatalFailure()) return;
    }
}

TEST(KeepingStoredBytes, ALineBreakMovedOverACharacterLeavesItsCode) {
    // Both the character and the break could be matched; only the character has a code.
    const QByteArray stored = code(0xED40) + "\r\n";
    EXPECT_EQ(encodeKeepingStoredBytes(stored, u"\n纊"_qs), "\r\n" + code(0xED40));
    EXPECT_EQ(encodeKeepingStoredBytes(stored, u"\n　\n纊"_qs),
              "\r\n" + sjis("　") + "\r\n" + code(0xED40));
    const QByteArray inLine = sjis("あ") + code(0x8790) + "\r\n" + sjis("い");
    EXPECT_EQ(encodeKeepingStoredBytes(inLine, u"あ\n≒い"_qs),
              sjis("あ") + "\r\n" + code(0x8790) + sjis("い"));
}

TEST(KeepingStoredBytes, MovedTextKeepsItsCodesAcrossLineBreaks) {
    const QByteArray stored = QByteArray::fromHex("4142edd60d0aee7e"); // AB纊⏎蕙
    QString pane = cp932::decodeForPane(stored);
    const QChar moved = pane.back();
    pane.chop(1);
    pane.insert(1, moved);
    EXPECT_EQ(encodeKeepingStoredBytes(stored, pane), QByteArray::fromHex("41ee7e42edd60d0a"));
    EXPECT_EQ(encodeKeepingStoredBytes(stored + "\r\n", pane + u'\n'),
              QByteArray::fromHex("41ee7e42edd60d0a0d0a"))
        << "with a final line break";
    const QByteArray swapped = code(0xED40) + "\r\n" + sjis("い");
    EXPECT_EQ(encodeKeepingStoredBytes(swapped, u"い\n纊"_qs), sjis("い") + "\r\n" + code(0xED40))
        << "two characters swapped over a line break";
    const QByteArray lines = sjis("一") + code(0xED40) + "\r\n" + code(0x8790) + sjis("二\r\n三");
    EXPECT_EQ(encodeKeepingStoredBytes(lines, u"一二\n三纊\n≒"_qs),
              sjis("一二\r\n三") + code(0xED40) + "\r\n" + code(0x8790))
        << "a line break inside the moved text";
    // ≒A cut from beside a deleted W and pasted beside a typed z: a whole piece on neither side.
    const QByteArray beside = "XY" + code(0x8790) + "AWQ\r\nBCDEFGH";
    EXPECT_EQ(encodeKeepingStoredBytes(beside, u"XYQ\nBC≒AzDEFGH"_qs),
              "XYQ\r\nBC" + code(0x8790) + "AzDEFGH")
        << "typing and a deletion beside the moved text";
    // Cut from right before a stray lead byte that is the first byte of its first character, as
    // the random moves met it: 纊's kin ED 6E (the encoder's FA 8B) and the text after it up to
    // the last byte, a stray ED, moved to the start, with typing beside the paste.
    const QByteArray text = QByteArray::fromHex(
        "fc0d0a0d0a0d0aee49ee57e5f0fad7faf9eec08169edaf9bc5929f89e0ff94ab0d0af4c58bb789699b539a41"
        "e06487408cc5ed879bc3fa0d0ae1e79c89e192f751fb9a8cbeed6e968f915d0d0afad19e52ee440d0a9691ed");
    const QByteArray cut = text.sliced(text.indexOf("\xed\x6e"), 18);
    const QByteArray left = QByteArray(text).remove(text.indexOf(cut), cut.size());
    EXPECT_EQ(encodeKeepingStoredBytes(text, cp932::decodeForPane(cut) + u"むぬ\nガぜ"_qs +
                                                 cp932::decodeForPane(left))
                  .toHex(' '),
              (cut + sjis("むぬ\r\nガぜ") + left).toHex(' '))
        << "cut from before a stray lead byte, typed beside the paste";
}

// Bytes a move in the pane carried: the text cut may be gone from the store by the time it is
// pasted (a commit came between), and typing may surround the paste; a copy is not carried.
TEST(KeepingStoredBytes, CarriedBytesGoWhereTheirTextReappears) {
    const QByteArray cut = code(0xED40) + sjis("と") + code(0x8790);
    const QByteArray stored = sjis("前の行\r\n後の行");
    const QString pasted = u"前の行\n後に纊と≒の行"_qs;
    EXPECT_EQ(encodeKeepingStoredBytes(stored, pasted, {cut}),
              sjis("前の行\r\n後に") + cut + sjis("の行"));
    EXPECT_EQ(encodeKeepingStoredBytes(stored, pasted),
              sjis("前の行\r\n後に") + cp932::encodeFromPane(u"纊と≒"_qs) + sjis("の行"))
        << "without the carried bytes";
    EXPECT_EQ(encodeKeepingStoredBytes({}, u"纊と≒"_qs, {cut}), cut) << "into an empty section";
    EXPECT_EQ(encodeKeepingStoredBytes(stored, u"前の行\n後の行"_qs, {cut}), stored)
        << "nowhere to go";
}

// Cuts (from, length) of the unedited pane text of stored that end right before a stray lead
// byte equal to the first byte of the stored code of their first character.
std::vector<std::pair<int, int>> cutsBeforeLikeLeads(const QByteArray& stored,
                                                     const QString& pane) {
    std::vector<qsizetype> at; // byte offset of each pane character
    for (qsizetype i = 0; i < stored.size();) {
        at.push_back(i);
        i += stored[i] == '\r' && i + 1 < stored.size() && stored[i + 1] == '\n'
                 ? 2
                 : cp932::charLengthAt(stored, i);
    }
    std::vector<std::pair<int, int>> cuts;
    for (int end = 1; end < int(pane.size()); ++end) {
        if (!isStrayLead(pane[end])) continue;
        for (int from = std::max(0, end - 12); from < end; ++from) {
            const qsizetype b = at[std::size_t(from)];
            if (cp932::charLengthAt(stored, b) == 2 && stored[b] == stored[at[std::size_t(end)]])
                cuts.emplace_back(from, end - from);
        }
    }
    return cuts;
}

// Random single moves (cut and pasted, dragged) of stretches of text full of duplicate codes,
// with and without line breaks, taken from and put at the start, the middle and the end, of
// sections with and without a final line break, with and without typing right beside the paste
// and a deletion beside the cut, and cut from right before a stray lead byte: every moved
// character keeps its code, and so does every character left in place.
TEST(KeepingStoredBytes, RandomMovesKeepEveryCode) {
    RandomSections random(20250303);
    int moves = 0;
    int acrossBreaks = 0;
    int joining = 0;
    int lost = 0;
    testing::Message firstLoss;
    for (int round = 0; moves < 20000; ++round) {
        const QByteArray stored = random.section(random.pick(1, 10), 14, 2);
        Tracked t(stored);
        const int size = int(t.pane.size());
        if (size < 2) continue;
        int length = random.pick(1, std::min(12, size - 1));
        int from = round % 3 == 0   ? 0
                   : round % 3 == 1 ? size - length
                                    : random.pick(0, size - length);
        // Now and then the cut ends right before a stray lead byte that is the first byte of the
        // moved text's first stored code: where the cut closed, the one must not be read as the
        // start of the other.
        if (const auto cuts = cutsBeforeLikeLeads(stored, t.pane); round % 4 == 3 && !cuts.empty())
            std::tie(from, length) = cuts[std::size_t(random.pick(0, int(cuts.size()) - 1))];
        const QString stretch = t.pane.mid(from, length);
        // Now and then the writer types right before (1) or after (2) the paste, and deletes the
        // character beside the cut on the same side: the moved text is then a whole piece on
        // neither side, and its end there is known by a run of two equal characters or more.
        const int beside = (round / 9) % 3;
        const QString endPiece =
            beside == 1 ? stretch.section(u'\n', 0, 0) : stretch.section(u'\n', -1);
        int cut = from;
        if (beside != 0 && (round / 27) % 2 == 1 && endPiece.size() >= 2) {
            const int neighbour = beside == 1 ? from - 1 : from + length;
            if (neighbour >= 0 && neighbour < size && t.pane[neighbour] != u'\n') {
                t.remove(neighbour, 1);
                if (beside == 1) --cut;
            }
        }
        const std::vector<int> origin(t.origin.begin() + cut, t.origin.begin() + cut + length);
        t.remove(cut, length);
        const int rest = int(t.pane.size());
        int to = (round / 3) % 3 == 0 ? 0 : (round / 3) % 3 == 1 ? rest : random.pick(0, rest);
        if (to == cut) to = to == 0 ? rest : 0;
        t.insert(to, stretch, origin);
        QString typed;
        if (beside != 0) {
            typed = random.typed();
            t.insert(beside == 1 ? to : to + length, typed,
                     std::vector<int>(std::size_t(typed.size()), kTyped));
        }
        // A stray lead byte the move put right before a character joins the two in the encoder's
        // text, which then reads the characters after them out of step: no code is promised
        // there (see wrongCodes), nor for the rest of such a move.
        if (cp932::decodeForPane(cp932::encodeFromPane(t.pane)) != t.pane) {
            ++joining;
            continue;
        }
        ++moves;
        acrossBreaks += stretch.contains(u'\n');
        const QByteArray committed = encodeKeepingStoredBytes(stored, t.pane);
        ASSERT_EQ(cp932::decodeForPane(committed),
                  cp932::decodeForPane(cp932::encodeFromPane(t.pane)))
            << stored.toHex(' ').toStdString() << ", " << from << "+" << length << " to " << to
            << "\n"
            << committed.toHex(' ').toStdString() << "\n"
            << cp932::encodeFromPane(t.pane).toHex(' ').toStdString();
        if (!wrongCodes(stored, t.pane, t.origin, committed).empty() && lost++ == 0) {
            firstLoss << "\nfirst: " << stored.toHex(' ').toStdString() << ", " << from << "+"
                      << length << " to " << to << ", typed beside: " << typed.toStdString()
                      << "\npane: " << t.pane.toStdString() << "\nwrong at:";
            for (qsizetype i : wrongCodes(stored, t.pane, t.origin, committed))
                firstLoss << ' ' << i;
        }
    }
    EXPECT_GT(acrossBreaks, moves / 4);
    EXPECT_GT(moves - acrossBreaks, moves / 4);
    EXPECT_EQ(lost, 0) << "moves that lost a code, of " << moves << " (and " << joining
                       << " joining a stray lead byte to a character)" << firstLoss;
}

} // namespace
} // namespace pote
