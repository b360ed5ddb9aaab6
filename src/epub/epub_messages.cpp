#include "epub/epub_messages.h"

namespace pote::epubmsg {

QString tooManyPages(int limit) {
    return QStringLiteral("［＃改ページ］が多すぎて、本にできないにゃ。\r\n") +
           QStringLiteral("1冊の本は%1ページの区切りまでにしてにゃん。").arg(limit);
}

QString droppedCharacters(const QList<epub::DroppedPlace>& places, qsizetype total) {
    QString text =
        QStringLiteral("文字じゃないバイトや制御コードがあったから、本には入れなかったにゃ。");
    for (const epub::DroppedPlace& p : places) {
        text += QStringLiteral("\r\n・セクション%1の").arg(p.section + 1);
        text += p.line == 0 ? QStringLiteral("名前") : QStringLiteral("%1行目").arg(p.line);
    }
    if (total > places.size())
        text += QStringLiteral("\r\nほかにも%1か所あるにゃ。").arg(total - places.size());
    return text + QStringLiteral("\r\n文書のほうは、そのままにゃん。");
}

QString progressStatusText(qint64 done, qint64 total) {
    const qint64 percent = total > 0 ? done * 100 / total : 100;
    return QStringLiteral("EPUBを書き出し中 （%1%）").arg(percent);
}

QString finished(const QString& fileName) {
    return QStringLiteral("EPUBができたにゃん！\r\n") + fileName;
}

QString stopped() {
    return QStringLiteral(
        "EPUBの書き出しを止めたにゃ。\r\n前からあったファイルは、そのままにゃん。");
}

} // namespace pote::epubmsg
