#pragma once
// What the settings say to the user: the two questions (a confirmation box with Yes and No
// each) and the failed save at close.

#include <QDir>
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

// At close, when the settings file could not be written: its path and the platform's text.
inline QString settingsNotSavedMessage(const QString& path, const QString& error) {
    return QStringLiteral("設定を保存できなかったにゃ。\r\n") + QDir::toNativeSeparators(path) +
           QStringLiteral("\r\n") + error + QStringLiteral("\r\n") +
           QStringLiteral("次の起動は、前の設定のままになるにゃん。");
}

} // namespace pote
