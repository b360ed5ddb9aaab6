#include "backup/backup_messages.h"

#include "textio/free_space.h"

namespace pote::backup {

QString notConfiguredMessage() {
    return QStringLiteral("バックアップフォルダ設定が、無いにゃ！！");
}

QString sameFolderMessage() {
    return QStringLiteral("バックアップ元とバックアップ先のフォルダが、同じにゃ！！");
}

QString sourceMissingMessage() {
    return QStringLiteral("バックアップ元フォルダが、見つからないにゃ！！");
}

QString destinationMissingMessage() {
    return QStringLiteral("バックアップ先フォルダが、見つからないにゃ！！\r\n") +
           QStringLiteral("準備できたら、再試行ボタンを押してにゃん。");
}

QString nothingFoundMessage() {
    return QStringLiteral("設定した拡張子のファイルが見つからなかったにゃん。");
}

QString scanningStatusText() {
    return QStringLiteral("バックアップファイルの検索中");
}

QString progressStatusText(qint64 done, qint64 total) {
    return QStringLiteral("バックアップ中 （") + group_digits(done) + QStringLiteral(" / ") +
           group_digits(total) + QStringLiteral("）");
}

QString elapsedStatusText(const QString& statusText, qint64 elapsedMs) {
    return statusText + QStringLiteral("   バックアップ時間 ") + QString::number(elapsedMs / 1000) +
           QStringLiteral("秒");
}

QString completionMessage(qint64 total, qint64 dropped) {
    return QStringLiteral("バックアップが完了したにゃん。\r\n") + QStringLiteral("全部で、") +
           QString::number(total) + QStringLiteral("個のファイルだったにゃん。") +
           QStringLiteral("\r\n") + QStringLiteral("キャンセルした同名ファイル　") +
           QString::number(dropped) + QStringLiteral("個");
}

QString failureMessage(qint64 failed, const QString& lastFailedPath) {
    return QStringLiteral("バックアップが正常にできなかったにゃん・・\r\n") +
           QStringLiteral("失敗したファイル ") + QString::number(failed) + QStringLiteral("個") +
           QStringLiteral("\r\n") + QStringLiteral("最後に失敗したファイル [") + lastFailedPath +
           QStringLiteral("]");
}

QString cancelledMessage(qint64 copied) {
    return QStringLiteral("バックアップを中止したにゃん。\r\n") +
           QStringLiteral("コピーしたファイル ") + QString::number(copied) + QStringLiteral("個");
}

} // namespace pote::backup
