#pragma once
// What a document password may be: 4 to 8 half-width letters or digits.

#include <QByteArrayView>
#include <QString>

namespace pote {

enum class PasswordProblem { None, Length, NotAlphanumeric };

constexpr int kPasswordMinLength = 4;
constexpr int kPasswordMaxLength = 8;

PasswordProblem checkPassword(const QString& text);
// The same rule on stored bytes (length in bytes).
PasswordProblem checkPasswordBytes(QByteArrayView bytes);
// The message for a refused entry; empty for PasswordProblem::None.
QString passwordProblemMessage(PasswordProblem problem);
QString wrongPasswordMessage(); // "パスワードが違うにゃん！"

} // namespace pote
