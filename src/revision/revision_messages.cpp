#include "revision/revision_messages.h"

namespace pote::revision::msg {

QString dictionaryMissing(const QString& dir) {
    return QStringLiteral("辞書が見つからないにゃ（%1）。言葉を読む検査はお休みするにゃん。")
        .arg(dir);
}

QString dictionaryUnusable(const QString& detail) {
    return QStringLiteral("MeCabの辞書が読めないにゃ（%1）。言葉を読む検査はお休みするにゃん。")
        .arg(detail.trimmed());
}

QString dictionaryNotUtf8(const QString& charset) {
    return QStringLiteral("MeCabの辞書がUTF-8じゃないにゃ（%1）。mecab-ipadic-utf8を入れてほしい"
                          "にゃん。")
        .arg(charset.isEmpty() ? QStringLiteral("不明") : charset);
}

QString rulesSkipped(const QString& why) {
    return why + QStringLiteral("表記ゆれ・文末・助詞・ら抜きは調べられなかったにゃ。");
}

QString variants(const QString& flagged, const QList<Spelling>& spellings) {
    QStringList counts;
    for (const Spelling& s : spellings)
        counts.append(QStringLiteral("「%1」%2回").arg(s.surface).arg(s.count));
    return QStringLiteral("「%1」は書き方がゆれてるにゃ（%2）。")
        .arg(flagged, counts.join(QStringLiteral("、")));
}

QString repeatedEndings(const QString& ending, int run) {
    return QStringLiteral("「%1」で終わる文が%2つ続いてるにゃ。言い回しを変えてみるにゃん。")
        .arg(ending)
        .arg(run);
}

QString doubledParticle(const QString& particle) {
    return QStringLiteral("「%1」が二つ重なってるにゃ。").arg(particle);
}

QString longSentence(qsizetype characters, int limit) {
    return QStringLiteral("この文は%1文字もあるにゃ。%2文字までに分けると読みやすいにゃん。")
        .arg(characters)
        .arg(limit);
}

QString unclosedBracket(QChar opener) {
    return QStringLiteral("「%1」が閉じてないにゃ。").arg(opener);
}

QString unopenedBracket(QChar closer) {
    return QStringLiteral("「%1」の始まりがないにゃ。").arg(closer);
}

QString mixedWidth(QChar used, QChar usual, qint64 usualCount) {
    return QStringLiteral("「%1」と「%2」が混ざってるにゃ。ほかは「%2」（%3回）だにゃん。")
        .arg(used)
        .arg(usual)
        .arg(usualCount);
}

QString droppedRa(const QString& written, const QString& suggestion) {
    return QStringLiteral("「%1」はら抜き言葉にゃ。「%2」がいいにゃん。").arg(written, suggestion);
}

QString missingPeriod() {
    return QStringLiteral("段落の終わりに「。」がないにゃ。ほかの段落にはあるにゃん。");
}

} // namespace pote::revision::msg
