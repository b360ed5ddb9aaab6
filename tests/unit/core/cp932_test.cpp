#include "core/cp932.h"
#include "core/cp932_tables.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <QString>

#include <algorithm>
#include <cstdio>
#include <initializer_list>
#include <map>
#include <ostream>
#include <random>
#include <set>
#include <string>
#include <vector>

// Readable failures: units as \uXXXX, bytes as hex.
void PrintTo(const QString& s, std::ostream* os) {
    *os << '"';
    for (QChar c : s) {
        char buf[8];
        if (c.unicode() >= 0x20 && c.unicode() < 0x7F) {
            *os << static_cast<char>(c.unicode());
        } else {
            std::snprintf(buf, sizeof buf, "\\u%04X", c.unicode());
            *os << buf;
        }
    }
    *os << '"';
}

void PrintTo(const QByteArray& b, std::ostream* os) {
    *os << '[' << b.toHex(' ').toStdString() << ']';
}

namespace pote::cp932 {
namespace {

QString u16(const char16_t* s) {
    return QString::fromUtf16(s);
}
QByteArray bytes(std::initializer_list<int> list) {
    QByteArray out;
    for (int b : list)
        out.append(static_cast<char>(b));
    return out;
}
QByteArray codeBytes(unsigned code) {
    return code > 0xFF ? bytes({int(code >> 8), int(code & 0xFF)}) : bytes({int(code)});
}

std::map<unsigned, unsigned> duplicateMap() {
    std::map<unsigned, unsigned> m;
    for (const tables::CodePair& d : tables::duplicates)
        m[d.from] = d.to;
    return m;
}

// Every code that decodes to one character, found by asking the codec about every byte and pair.
std::vector<unsigned> validCodes() {
    std::vector<unsigned> codes;
    for (unsigned b = 0; b < 0x100; ++b) {
        QString s = decode(codeBytes(b));
        if (s.size() == 1 && !(s[0].unicode() >= 0xDC80 && s[0].unicode() <= 0xDCFF))
            codes.push_back(b);
    }
    for (unsigned lead = 0x80; lead < 0x100; ++lead)
        for (unsigned trail = 0; trail < 0x100; ++trail)
            if (decode(codeBytes(lead << 8 | trail)).size() == 1)
                codes.push_back(lead << 8 | trail);
    return codes;
}

TEST(Cp932Mapping, EveryCodeDecodesToOneUnitAndEncodesBackToItsPreferredCode) {
    const auto dups = duplicateMap();
    const auto codes = validCodes();
    std::set<char16_t> units;
    std::size_t doubleByte = 0;
    for (unsigned code : codes) {
        SCOPED_TRACE(testing::Message() << "code 0x" << std::hex << code);
        const QString s = decode(codeBytes(code));
        ASSERT_EQ(s.size(), 1);
        units.insert(s[0].unicode());
        doubleByte += code > 0xFF;
        const auto dup = dups.find(code);
        const unsigned expected = dup == dups.end() ? code : dup->second;
        bool lossy = true;
        EXPECT_EQ(encode(s, &lossy), codeBytes(expected));
        EXPECT_FALSE(lossy);
        EXPECT_TRUE(canEncode(s));
        EXPECT_EQ(byteLength(s), expected > 0xFF ? 2 : 1);
    }
    // 128 ASCII + 63 half-width katakana; JIS X 0208 with the NEC and IBM extensions (7724)
    // and the 1880 user-defined codes.
    EXPECT_EQ(codes.size() - doubleByte, 191u);
    EXPECT_EQ(doubleByte, 9604u);
    // Each duplicate shares its character with its preferred code, so characters are fewer.
    EXPECT_EQ(units.size(), codes.size() - dups.size());
    for (const auto& [from, to] : dups) {
        EXPECT_TRUE(decode(codeBytes(to)).size() == 1);
        EXPECT_EQ(decode(codeBytes(from)), decode(codeBytes(to))) << std::hex << from;
    }
}

TEST(Cp932Mapping, CharacterLengthsSplitBytesAsDecodeDoes) {
    // Every lead byte with every following byte: two bytes are one character for the byte
    // algorithms exactly when decode makes them one unit.
    for (unsigned lead = 0x80; lead <= 0xFF; ++lead) {
        for (unsigned next = 0; next <= 0xFF; ++next) {
            const QByteArray pair = bytes({int(lead), int(next)});
            const int expected = decode(pair).size() == 1 ? 2 : 1;
            ASSERT_EQ(charLengthAt(pair, 0), expected) << std::hex << lead << " " << next;
        }
    }
    EXPECT_EQ(charLengthAt(QByteArray("\x82"), 0), 1) << "a lead byte at the end";
    EXPECT_EQ(charLengthAt(QByteArray("\x85\x40"), 0), 1) << "an unassigned pair";
}

struct KnownCode {
    const char* name;
    unsigned code;
    char16_t unit;
    unsigned encodesTo; // the preferred code
};

class Cp932KnownCode : public testing::TestWithParam<KnownCode> {};

TEST_P(Cp932KnownCode, DecodesAndEncodes) {
    const KnownCode& k = GetParam();
    EXPECT_EQ(decode(codeBytes(k.code)), QString(QChar(k.unit)));
    EXPECT_EQ(encode(QString(QChar(k.unit))), codeBytes(k.encodesTo));
}

INSTANTIATE_TEST_SUITE_P(Codes, Cp932KnownCode,
                         testing::Values(KnownCode{"Backslash", 0x5C, u'\\', 0x5C},
                                         KnownCode{"Tilde", 0x7E, u'~', 0x7E},
                                         KnownCode{"HalfwidthKa", 0xB6, u'ｶ', 0xB6},
                                         KnownCode{"Hiragana", 0x82A0, u'あ', 0x82A0},
                                         KnownCode{"FirstKanji", 0x889F, u'亜', 0x889F},
                                         KnownCode{"WaveDash", 0x8160, u'～', 0x8160},
                                         KnownCode{"LastKanji", 0xFC4B, u'黑', 0xFC4B},
                                         KnownCode{"UserDefined", 0xF040, u'\xE000', 0xF040},
                                         KnownCode{"NecRoman", 0x8754, u'Ⅰ', 0x8754},
                                         KnownCode{"IbmRomanDuplicate", 0xFA4A, u'Ⅰ', 0x8754},
                                         KnownCode{"NecSelectedIbm", 0xED40, u'纊', 0xFA5C},
                                         KnownCode{"NecBecause", 0x879A, u'∵', 0x81E6},
                                         KnownCode{"IbmNot", 0xFA54, u'￢', 0x81CA},
                                         KnownCode{"NecSelectedNot", 0xEEF9, u'￢', 0x81CA}),
                         [](const auto& row) { return std::string(row.param.name); });

// Bytes that are no character survive decode and encode unchanged.
struct InvalidBytes {
    const char* name;
    QByteArray in;
    const char16_t* decoded;
};

class Cp932InvalidBytes : public testing::TestWithParam<InvalidBytes> {};

TEST_P(Cp932InvalidBytes, SurviveTheRoundTrip) {
    const InvalidBytes& c = GetParam();
    const QString s = decode(c.in);
    EXPECT_EQ(s, u16(c.decoded));
    bool lossy = true;
    EXPECT_EQ(encode(s, &lossy), c.in);
    EXPECT_FALSE(lossy);
    EXPECT_TRUE(canEncode(s));
    EXPECT_EQ(byteLength(s), c.in.size());
}

INSTANTIATE_TEST_SUITE_P(
    Bytes, Cp932InvalidBytes,
    testing::Values(InvalidBytes{"Byte80", bytes({'a', 0x80, 'b'}),
                                 u"a\xDC80"
                                 "b"},
                    InvalidBytes{"ByteA0", bytes({0xA0}), u"\xDCA0"},
                    InvalidBytes{"ByteFD", bytes({0xFD}), u"\xDCFD"},
                    InvalidBytes{"ByteFE", bytes({0xFE, 0x82, 0xA0}),
                                 u"\xDCFE"
                                 "あ"},
                    InvalidBytes{"ByteFF", bytes({0xFF, 0xFF}), u"\xDCFF\xDCFF"},
                    InvalidBytes{"LeadAtEnd", bytes({0x82, 0xA0, 0x82}), u"あ\xDC82"},
                    InvalidBytes{"LeadBeforeCr", bytes({0x82, '\r', '\n', 'x'}), u"\xDC82\r\nx"},
                    InvalidBytes{"LeadBeforeInvalid", bytes({0x81, 0xFD}), u"\xDC81\xDCFD"},
                    InvalidBytes{"LeadBefore7F", bytes({0x81, 0x7F}), u"\xDC81\x7F"},
                    InvalidBytes{"LeadWithoutCharacters", bytes({0x85, 0x40}), u"\xDC85@"},
                    InvalidBytes{"UnassignedPair", bytes({0x82, 0x40, 0x82, 0x9F}), u"\xDC82@ぁ"},
                    InvalidBytes{"LeadBeforeLead", bytes({0x85, 0x82, 0xA0}),
                                 u"\xDC85"
                                 "あ"}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(Cp932RoundTrip, RandomBytesSurviveWhereNoDuplicateCanForm) {
    // A duplicate code legitimately comes back as its preferred code, so leave out the lead
    // bytes of the duplicates; everything else, stray bytes included, must come back as it was.
    std::set<int> duplicateLeads;
    for (const tables::CodePair& d : tables::duplicates)
        duplicateLeads.insert(d.from >> 8);
    std::mt19937 rng(932);
    std::uniform_int_distribution<int> anyByte(0, 255);
    for (int round = 0; round < 300; ++round) {
        QByteArray in;
        const int size = round % 64 + round / 4;
        while (in.size() < size) {
            const int b = anyByte(rng);
            // Runs of ASCII too, so that the word-at-a-time paths meet every alignment.
            if (b < 0x20)
                in.append(QByteArray(b, 'a' + b % 26));
            else if (!duplicateLeads.count(b))
                in.append(static_cast<char>(b));
        }
        bool lossy = true;
        ASSERT_EQ(encode(decode(in), &lossy), in);
        EXPECT_FALSE(lossy);
        const QString pane = decodeForPane(in);
        QString expected = decode(in);
        expected.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
        ASSERT_EQ(pane, expected);
    }
}

TEST(Cp932RoundTrip, LargeTextKeepsEveryByte) {
    // Big enough for the large-buffer path of both directions.
    const QByteArray line = bytes({0x82, 0xA0, 'a', 0x88, 0x9F, 0xB6, 0x80, '\r', '\n'});
    const QByteArray in = line.repeated(1'200'000);
    const QString pane = decodeForPane(in);
    EXPECT_EQ(pane.size(), 1'200'000 * 6);
    bool lossy = true;
    EXPECT_TRUE(encodeFromPane(pane, &lossy) == in);
    EXPECT_FALSE(lossy);
    EXPECT_TRUE(encode(decode(in)) == in);
}

struct Twin {
    const char* name;
    char16_t unit;
    unsigned code;
    char16_t counterpart; // what the bytes decode to
};

class Cp932Twin : public testing::TestWithParam<Twin> {};

TEST_P(Cp932Twin, EncodesToTheCp932CharacterWithoutLoss) {
    const Twin& t = GetParam();
    const QString s(QChar(t.unit));
    bool lossy = true;
    EXPECT_EQ(encode(s, &lossy), codeBytes(t.code));
    EXPECT_FALSE(lossy);
    EXPECT_FALSE(canEncode(s));
    bool changed = false;
    EXPECT_EQ(toEncodable(s, &changed), QString(QChar(t.counterpart)));
    EXPECT_TRUE(changed);
    EXPECT_EQ(byteLength(s), t.code > 0xFF ? 2 : 1);
}

INSTANTIATE_TEST_SUITE_P(
    Twins, Cp932Twin,
    testing::Values(Twin{"WaveDash", u'\x301C', 0x8160, u'～'},
                    Twin{"DoubleVerticalLine", u'\x2016', 0x8161, u'∥'},
                    Twin{"MinusSign", u'\x2212', 0x817C, u'－'},
                    Twin{"EmDash", u'\x2014', 0x815C, u'―'}, Twin{"Cent", u'\x00A2', 0x8191, u'￠'},
                    Twin{"Pound", u'\x00A3', 0x8192, u'￡'}, Twin{"Not", u'\x00AC', 0x81CA, u'￢'},
                    Twin{"Yen", u'\x00A5', 0x5C, u'\\'}, Twin{"Overline", u'\x203E', 0x7E, u'~'}),
    [](const auto& row) { return std::string(row.param.name); });

struct Unencodable {
    const char* name;
    const char16_t* text;
    QByteArray encoded;
    const char16_t* encodable;
};

class Cp932Unencodable : public testing::TestWithParam<Unencodable> {};

TEST_P(Cp932Unencodable, BecomesQuestionMarkAndSaysSo) {
    const Unencodable& c = GetParam();
    const QString s = u16(c.text);
    bool lossy = false;
    EXPECT_EQ(encode(s, &lossy), c.encoded);
    EXPECT_TRUE(lossy);
    EXPECT_FALSE(canEncode(s));
    bool changed = false;
    EXPECT_EQ(toEncodable(s, &changed), u16(c.encodable));
    EXPECT_TRUE(changed);
    EXPECT_EQ(byteLength(s), c.encoded.size());
}

INSTANTIATE_TEST_SUITE_P(
    Texts, Cp932Unencodable,
    testing::Values(
        Unencodable{"Emoji", u"a😀b", "a?b", u"a?b"},
        Unencodable{"KanjiOutsideCp932", u"丂x", "?x", u"?x"},
        Unencodable{"BrokenBar", u"\x00A6", "?", u"?"},
        Unencodable{"LoneHighSurrogate", u"\xD83Dz", "?z", u"?z"},
        Unencodable{"LoneLowSurrogate", u"\xDC00", "?", u"?"},
        // A real character wins over the escape of a stray byte: U+D83D U+DC80 is one emoji.
        Unencodable{"PairEndingLikeAnEscape", u"\xD83D\xDC80", "?", u"?"}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(Cp932LostCharacters, NamesWhatBecomesAQuestionMarkOnceEach) {
    const struct {
        const char* name;
        const char16_t* text;
        QStringList lost;
    } rows[] = {
        {"Several", u"한é€é한", {u16(u"한"), u16(u"é"), u16(u"€")}},
        {"EmojiIsOneCharacter", u"a😀b😀", {u16(u"😀")}},
        {"LoneSurrogates", u"\xD83Dz\xDC00", {u16(u"\xD83D"), u16(u"\xDC00")}},
        {"TwinsKeepACounterpart", u"\x301C\x00A5\x2212", {}},
        {"StrayLeadBecomesACharacter",
         u"\xDC81"
         "A",
         {}},
        {"QuestionMarkOfItsOwn", u"なぜ?", {}},
        {"Empty", u"", {}},
    };
    for (const auto& row : rows) {
        const QString text = u16(row.text);
        EXPECT_EQ(lostCharacters(text), row.lost) << row.name;
        // Exactly the question marks that toEncodable adds.
        EXPECT_EQ(row.lost.isEmpty(), toEncodable(text).count(u'?') == text.count(u'?'))
            << row.name;
    }
}

TEST(Cp932Encode, QuestionMarkOfItsOwnIsNotLossy) {
    bool lossy = true;
    EXPECT_EQ(encode(u"なぜ?", &lossy), bytes({0x82, 0xC8, 0x82, 0xBA, '?'}));
    EXPECT_FALSE(lossy);
}

TEST(Cp932Encode, StrayLeadNextToATrailIsShownAsTheCharacterItWillBecome) {
    // The escape of lead byte 0x81 followed by "A" writes 81 41, which reads back as "、";
    // the pane must show that before it is stored.
    const QString joined = u16(u"x\xDC81"
                               "A");
    EXPECT_EQ(encode(joined), bytes({'x', 0x81, 'A'}));
    EXPECT_FALSE(canEncode(joined));
    bool changed = false;
    EXPECT_EQ(toEncodable(joined, &changed), u16(u"x、"));
    EXPECT_TRUE(changed);
    // Two stray leads pair up just the same; before a line break the escape stays.
    EXPECT_EQ(toEncodable(u16(u"\xDC81\xDC81")), u16(u"＝"));
    EXPECT_TRUE(canEncode(u16(u"\xDC81\n")));
    EXPECT_TRUE(canEncode(u16(u"\xDC85@")));
}

TEST(Cp932CanEncode, AgreesWithTheRoundTripAfterEveryHighByte) {
    // "Can encode" promises that the text reads back as it stands; a byte that pairs up with
    // what follows it breaks that promise. Every byte 0x80-0xFF, as its escape and as it
    // decodes on its own, before a letter, a trail-only byte's character and a double-byte
    // character.
    const QString followers[] = {u16(u"A"), u16(u"h"), u16(u"あ"), u16(u"ｱ"), u16(u"\n")};
    for (unsigned b = 0x80; b <= 0xFF; ++b) {
        const QString forms[] = {QString(QChar(char16_t(0xDC00 + b))), decode(bytes({int(b)}))};
        for (const QString& form : forms) {
            for (const QString& next : followers) {
                const QString text = form + next;
                ASSERT_EQ(canEncode(text), decode(encode(text)) == text)
                    << std::hex << "byte " << b << " then U+" << int(next.at(0).unicode());
            }
        }
    }
}

struct PaneCase {
    const char* name;
    QByteArray stored;
    const char16_t* pane;
    QByteArray storedAgain;
};

class Cp932Pane : public testing::TestWithParam<PaneCase> {};

TEST_P(Cp932Pane, LineBreaks) {
    const PaneCase& c = GetParam();
    EXPECT_EQ(decodeForPane(c.stored), u16(c.pane));
    bool lossy = true;
    EXPECT_EQ(encodeFromPane(u16(c.pane), &lossy), c.storedAgain);
    EXPECT_FALSE(lossy);
}

INSTANTIATE_TEST_SUITE_P(
    Breaks, Cp932Pane,
    testing::Values(PaneCase{"CrLf", "a\r\nb\r\n", u"a\nb\n", "a\r\nb\r\n"},
                    PaneCase{"LoneCr", "a\rb\r", u"a\nb\n", "a\r\nb\r\n"},
                    PaneCase{"LoneLf", "a\nb", u"a\nb", "a\r\nb"},
                    PaneCase{"Mixed", "\r\r\n\n\n\r", u"\n\n\n\n\n", "\r\n\r\n\r\n\r\n\r\n"},
                    // Breaks that straddle the word-at-a-time ASCII blocks.
                    PaneCase{"CrLfAcrossBlock", "1234567\r\n90123456\r\n", u"1234567\n90123456\n",
                             "1234567\r\n90123456\r\n"},
                    PaneCase{"Japanese", bytes({0x82, 0xA0, '\r', '\n', 0x82, 0xA2}), u"あ\nい",
                             bytes({0x82, 0xA0, '\r', '\n', 0x82, 0xA2})},
                    PaneCase{"StrayLeadBeforeCrLf", bytes({'a', 0x82, '\r', '\n'}), u"a\xDC82\n",
                             bytes({'a', 0x82, '\r', '\n'})}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(Cp932PaneEncode, ParagraphSeparatorIsALineBreak) {
    EXPECT_EQ(encodeFromPane(u16(u"a\x2029"
                                 "b\n")),
              QByteArray("a\r\nb\r\n"));
}

TEST(Cp932PaneEncode, ByPartsGivesTheSameBytesAWholeLineAtATime) {
    QString text;
    for (int line = 0; line < 20000; ++line)
        text += u16(u"第") + QString::number(line) + u16(u"行の文字\n");
    text += u16(u"終わり");
    const QByteArray whole = encodeFromPane(text);
    std::vector<qsizetype> sizes;
    bool lossy = true;
    const QByteArray parts = encodeFromPaneByParts(
        text,
        [&](char* data, qsizetype size, bool complete) {
            EXPECT_EQ(complete, size == whole.size());
            EXPECT_EQ(QByteArrayView(data, size), QByteArrayView(whole).first(size));
            EXPECT_TRUE(complete || QByteArrayView(data, size).endsWith("\r\n"));
            sizes.push_back(size);
        },
        &lossy);
    EXPECT_EQ(parts, whole);
    EXPECT_FALSE(lossy);
    EXPECT_GT(sizes.size(), 2u);
    EXPECT_TRUE(std::is_sorted(sizes.begin(), sizes.end()));
}

TEST(Cp932Offsets, MixedLine) {
    // a b 漢 字 ｶ ﾅ <stray 0x80> z  ->  bytes 0 1 2-3 4-5 6 7 8 9
    const QString line = u16(u"ab漢字ｶﾅ\xDC80z");
    EXPECT_EQ(byteLength(line), 10);
    const qsizetype byteOfUnit[] = {0, 1, 2, 4, 6, 7, 8, 9, 10};
    for (qsizetype unit = 0; unit <= line.size(); ++unit)
        EXPECT_EQ(unitToByteOffset(line, unit), byteOfUnit[unit]) << "unit " << unit;
    const qsizetype unitOfByte[] = {0, 1, 2, 2, 3, 3, 4, 5, 6, 7, 8};
    for (qsizetype byte = 0; byte <= 10; ++byte)
        EXPECT_EQ(byteToUnitOffset(line, byte), unitOfByte[byte]) << "byte " << byte;
    EXPECT_EQ(byteToUnitOffset(line, 99), line.size());
    EXPECT_EQ(unitToByteOffset(line, 99), 10);
    EXPECT_EQ(byteLength(u16(u"\n")), 1);
}

TEST(Cp932Offsets, SurrogatePairIsOneByte) {
    const QString line = u16(u"😀あ");
    EXPECT_EQ(byteLength(line), 3);
    EXPECT_EQ(unitToByteOffset(line, 2), 1);
    EXPECT_EQ(byteToUnitOffset(line, 0), 0);
    EXPECT_EQ(byteToUnitOffset(line, 1), 2);
    EXPECT_EQ(byteToUnitOffset(line, 2), 2);
}

} // namespace
} // namespace pote::cp932
