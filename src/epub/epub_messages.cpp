#include "epub/epub_messages.h"

namespace pote::epubmsg {

QString tooManyPages(int limit) {
    return QStringLiteral("［＃改ページ］が多すぎて、本にできないにゃ。\r\n") +
           QStringLiteral("1冊の本は%1ページの区切りまでにしてにゃん。").arg(limit);
}

namespace {

QString placeList(const QList<epub::DroppedPlace>& places, qsizetype total) {
    QString text;
    for (const epub::DroppedPlace& p : places) {
        text += QStringLiteral("\r\n・セクション%1の").arg(p.section + 1);
        text += p.line == 0 ? QStringLiteral("名前") : QStringLiteral("%1行目").arg(p.line);
    }
    if (total > places.size())
        text += QStringLiteral("\r\nほかにも%1か所あるにゃ。").arg(total - places.size());
    return text;
}

} // namespace

QString droppedCharacters(const QList<epub::DroppedPlace>& places, qsizetype total) {
    return QStringLiteral("文字じゃないバイトや制御コードがあったから、本には入れなかったにゃ。") +
           placeList(places, total) + QStringLiteral("\r\n文書のほうは、そのままにゃん。");
}

QString userDefinedCharacters(const QList<epub::DroppedPlace>& places, qsizetype total) {
    return QStringLiteral("外字（ユーザー定義文字）があったにゃ。本には入れたけど、") +
           QStringLiteral("読む人の画面では空白の四角になっちゃうにゃ。") +
           placeList(places, total) +
           QStringLiteral("\r\nふつうの文字か、ルビやカタカナの説明に書きかえてにゃん。");
}

QString progressStatusText(qint64 done, qint64 total) {
    const qint64 percent = total > 0 ? done * 100 / total : 100;
    return QStringLiteral("EPUBを書き出し中 （%1%）").arg(percent);
}

QString finished(const QString& fileName) {
    return QStringLiteral("EPUBができたにゃん！\r\n") + fileName;
}

QString notACoverImage() {
    return QStringLiteral("この画像は、表紙にできないにゃ。\r\n") +
           QStringLiteral("表紙は JPEG か PNG の画像にしてにゃん。");
}

QString coverTooLarge(qint64 limit) {
    return QStringLiteral("この画像は大きすぎて、表紙にできないにゃ。\r\n") +
           QStringLiteral("%1MBまでの画像にしてにゃん。").arg(limit >> 20);
}

QString stopped() {
    return QStringLiteral(
        "EPUBの書き出しを止めたにゃ。\r\n前からあったファイルは、そのままにゃん。");
}

} // namespace pote::epubmsg
