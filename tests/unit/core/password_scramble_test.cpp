#include "core/password_scramble.h"

#include <gtest/gtest.h>

namespace pote {
namespace {

TEST(PasswordScramble, RotationsAreTwoPlacesAndInverse) {
    const struct {
        quint8 plain;
        quint8 rotated;
    } rows[] = {{'a', 0x58},  {'b', 0x98},  {'c', 0xD8},  {0x00, 0x00},
                {0x01, 0x40}, {0x03, 0xC0}, {0x80, 0x20}, {0xFF, 0xFF}};
    for (const auto& row : rows) {
        EXPECT_EQ(rotate_right(row.plain), row.rotated) << int(row.plain);
        EXPECT_EQ(rotate_left(row.rotated), row.plain) << int(row.plain);
    }
    for (int b = 0; b < 256; ++b)
        ASSERT_EQ(rotate_left(rotate_right(static_cast<quint8>(b))), b);
}

TEST(PasswordScramble, PasswordCharactersAreStoredAsSixtyFourTimesPlus35) {
    EXPECT_EQ(pw_char_encode('A'), 65 * 64 + 35);
    EXPECT_EQ(pw_char_encode(0xFF), 255 * 64 + 35);
    for (int c = 0; c < 256; ++c)
        ASSERT_EQ(pw_char_decode(pw_char_encode(static_cast<quint8>(c))), c);
    // Decoding works on 16 bits: words below 35 wrap round instead of going negative.
    EXPECT_EQ(pw_char_decode(0), static_cast<quint8>((65536 - 35) >> 6));
    EXPECT_EQ(pw_char_decode(65 * 64 + 35 + 63), 'A') << "the low six bits are dropped";
}

TEST(PasswordScramble, KeyWrapsAroundAndEmptyKeyChangesNothing) {
    QByteArray data("\x00\x00\x00\x00\x00\x00\x00", 7);
    xor_with_key(data.data(), data.size(), "abc");
    EXPECT_EQ(data, "abcabca");
    xor_with_key(data.data(), data.size(), "abc");
    EXPECT_EQ(data, QByteArray(7, '\0'));
    QByteArray text("text");
    xor_with_key(text.data(), text.size(), QByteArrayView());
    EXPECT_EQ(text, "text");
}

} // namespace
} // namespace pote
