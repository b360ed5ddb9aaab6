#pragma once
// The two questions the settings ask the user: a confirmation box with Yes and No each.

#include <QString>

namespace pote {

// At start-up when there was no settings file, before the window first shows; Yes associates
// the document type with the program.
inline QString firstStartQuestion() {
    return QStringLiteral("たぶん、最初の起動ですにゃん。\r") +
           QStringLiteral("僕、ぽてまるです。よろしくにゃ。") + QStringLiteral("\r") +
           QStringLiteral("このソフトで使うファイル(*.PTM)の拡張子の") + QStringLiteral("\r") +
           QStringLiteral("関連付けやっていいかにゃ？");
}

// "設定クリア(&C)": anything but Yes leaves everything as it is.
inline QString settingsClearQuestion() {
    return QStringLiteral("拡張子の関連付けと、環境設定をクリアするにゃん。\r") +
           QStringLiteral("ホントに、いいのかにゃ？") + QStringLiteral("\r");
}

} // namespace pote
