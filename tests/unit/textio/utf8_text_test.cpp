#include "textio/utf8_text.h"

#include "support/test_files.h"

#include <gtest/gtest.h>

namespace pote {
namespace {

using test::sjis;

TEST(LooksLikeUtf8, OnlyWhenValidAndBeyondAscii) {
    const struct {
        const char* name;
        QByteArray bytes;
        bool utf8;
    } rows[] = {
        {"Japanese", QByteArray("吾輩は猫である。\r\n"), true},
        {"ByteOrderMarkAlone", QByteArray("\xEF\xBB\xBF"), true},
        {"ByteOrderMarkThenAscii",
         QByteArray("\xEF\xBB\xBF"
                    "abc"),
         true},
        {"FourByteCharacter", QByteArray("a\xF0\x9F\x98\x80"), true},
        {"AsciiOnly", QByteArray("plain text, nothing else\r\n"), false},
        {"Empty", QByteArray(), false},
        {"ShiftJis", sjis("吾輩は猫である。\r\n"), false},
        {"ShiftJisKana", sjis("ぽてまる"), false},
        {"Overlong", QByteArray("\xC0\xAF"), false},
        {"Surrogate", QByteArray("\xED\xA0\x80"), false},
        {"BeyondUnicode", QByteArray("\xF4\x90\x80\x80"), false},
        {"CutAtTheEnd", QByteArray("あ").left(2), false},
        {"NothingCountsAfterANul", QByteArray("ねこ") + '\0' + "\xFF", true},
        {"Utf8OnlyAfterANul", QByteArray("abc") + '\0' + "ねこ", false},
    };
    for (const auto& row : rows)
        EXPECT_EQ(looks_like_utf8(row.bytes), row.utf8) << row.name;
}

TEST(Utf8ToCp932, CountsWhatCp932CannotHold) {
    // é and the emoji have no CP932 code; the "?" already there is not counted; the wave dash
    // has its CP932 twin.
    const Utf8Conversion c = utf8_to_cp932("\xEF\xBB\xBF"
                                           "café? 猫😀〜");
    EXPECT_EQ(c.bytes, QByteArray("caf??") + sjis(" 猫?～"));
    EXPECT_EQ(c.unmappable, 2);
    EXPECT_EQ(utf8_to_cp932("ねこ").unmappable, 0);
}

TEST(Utf8Choice, AsksOncePerCommandAndOnlyForUtf8) {
    int asked = 0;
    Utf8Choice choice([&] {
        ++asked;
        return true;
    });
    EXPECT_FALSE(choice.convert(sjis("猫")).has_value()) << "CP932 is read as it is";
    EXPECT_EQ(asked, 0);
    EXPECT_EQ(choice.convert("ねこ"), sjis("ねこ"));
    EXPECT_EQ(choice.convert("é"), QByteArray("?"));
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(choice.unmappable(), 1);

    Utf8Choice keep([&] {
        ++asked;
        return false;
    });
    EXPECT_FALSE(keep.convert("ねこ").has_value());
    EXPECT_FALSE(keep.convert("いぬ").has_value());
    EXPECT_EQ(asked, 2);

    Utf8Choice silent;
    EXPECT_FALSE(silent.convert("ねこ").has_value()) << "no question: bytes as they are";
}

} // namespace
} // namespace pote
