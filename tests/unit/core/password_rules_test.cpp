#include "core/password_rules.h"

#include "core/cp932.h"

#include <gtest/gtest.h>

namespace pote {
namespace {

struct Row {
    const char* name;
    QString text;
    PasswordProblem problem;
};

void PrintTo(const Row& row, std::ostream* os) {
    *os << row.name;
}

class PasswordRules : public testing::TestWithParam<Row> {};

TEST_P(PasswordRules, AcceptFourToEightLettersOrDigits) {
    EXPECT_EQ(checkPassword(GetParam().text), GetParam().problem);
    // The writer checks the stored bytes by the same rule.
    EXPECT_EQ(checkPasswordBytes(cp932::encode(GetParam().text)), GetParam().problem);
}

INSTANTIATE_TEST_SUITE_P(
    Entries, PasswordRules,
    testing::Values(
        Row{"ThreeIsTooShort", "abc", PasswordProblem::Length},
        Row{"Empty", "", PasswordProblem::Length}, Row{"Four", "ab12", PasswordProblem::None},
        Row{"EightLettersAndDigits", "Abcd1234", PasswordProblem::None},
        Row{"Space", "abc d", PasswordProblem::NotAlphanumeric},
        Row{"Symbol", "abc#1", PasswordProblem::NotAlphanumeric},
        Row{"FullWidthLetter", QString::fromUtf16(u"abcＡ"), PasswordProblem::NotAlphanumeric},
        Row{"HalfWidthKatakana", QString::fromUtf16(u"abcｱ"), PasswordProblem::NotAlphanumeric},
        Row{"Kanji", QString::fromUtf16(u"猫猫猫猫"), PasswordProblem::NotAlphanumeric},
        // Each end of each range, and the character just outside it.
        Row{"LowerZ", "zzzz", PasswordProblem::None}, Row{"LowerA", "aaaa", PasswordProblem::None},
        Row{"UpperZ", "ZZZZ", PasswordProblem::None}, Row{"UpperA", "AAAA", PasswordProblem::None},
        Row{"Zero", "0000", PasswordProblem::None}, Row{"Nine", "9999", PasswordProblem::None},
        Row{"BraceAfterZ", "abc{", PasswordProblem::NotAlphanumeric},
        Row{"BackquoteBeforeA", "abc`", PasswordProblem::NotAlphanumeric},
        Row{"BracketAfterUpperZ", "ABC[", PasswordProblem::NotAlphanumeric},
        Row{"AtBeforeUpperA", "ABC@", PasswordProblem::NotAlphanumeric},
        Row{"SlashBeforeZero", "123/", PasswordProblem::NotAlphanumeric},
        Row{"ColonAfterNine", "123:", PasswordProblem::NotAlphanumeric},
        Row{"NineCharacters", "Abcd12345", PasswordProblem::Length}),
    [](const testing::TestParamInfo<Row>& row) { return row.param.name; });

TEST(PasswordRules, Messages) {
    EXPECT_EQ(passwordProblemMessage(PasswordProblem::Length),
              QStringLiteral("４文字以上８文字まです。"));
    EXPECT_EQ(passwordProblemMessage(PasswordProblem::NotAlphanumeric),
              QStringLiteral("英数字以外の文字が入っています。"));
    EXPECT_EQ(wrongPasswordMessage(), QStringLiteral("パスワードが違うにゃん！"));
}

} // namespace
} // namespace pote
