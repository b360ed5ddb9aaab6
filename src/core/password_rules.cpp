#include "core/password_rules.h"

#include "core/cp932.h"

namespace pote {

namespace {

PasswordProblem checkCharacters(QByteArrayView bytes) {
    // Byte by byte: every double-byte character and every half-width katakana fails.
    for (const char c : bytes) {
        const bool alnum =
            (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
        if (!alnum) return PasswordProblem::NotAlphanumeric;
    }
    return PasswordProblem::None;
}

bool lengthFits(qsizetype n) {
    return n >= kPasswordMinLength && n <= kPasswordMaxLength;
}

} // namespace

PasswordProblem checkPassword(const QString& text) {
    if (!lengthFits(text.size())) return PasswordProblem::Length;
    return checkCharacters(cp932::encode(text));
}

PasswordProblem checkPasswordBytes(QByteArrayView bytes) {
    if (!lengthFits(bytes.size())) return PasswordProblem::Length;
    return checkCharacters(bytes);
}

QString passwordProblemMessage(PasswordProblem problem) {
    switch (problem) {
    case PasswordProblem::None:
        return {};
    case PasswordProblem::Length:
        return QStringLiteral("４文字以上８文字まです。");
    case PasswordProblem::NotAlphanumeric:
        return QStringLiteral("英数字以外の文字が入っています。");
    }
    return {};
}

QString wrongPasswordMessage() {
    return QStringLiteral("パスワードが違うにゃん！");
}

} // namespace pote
