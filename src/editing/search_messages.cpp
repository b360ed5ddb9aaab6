#include "editing/search_messages.h"

#include "core/digit_grouping.h"

namespace pote {

QString searchingNote(int sectionsDone, int sections, qint64 hits) {
    return QStringLiteral("探してるにゃ…… %1／%2 セクション、%3 個見つけたにゃ。")
        .arg(sectionsDone)
        .arg(sections)
        .arg(group_digits(hits));
}

QString searchedNote(qint64 hits, bool truncated, bool cancelled) {
    if (cancelled)
        return QStringLiteral("探すのをやめたにゃ。それまでに %1 個見つけたにゃん。")
            .arg(group_digits(hits));
    if (truncated)
        return QStringLiteral("たくさんありすぎるにゃ！ 最初の %1 個だけ並べたにゃん。")
            .arg(group_digits(hits));
    if (hits == 0) return QStringLiteral("どのセクションにも無かったにゃ。");
    return QStringLiteral("%1 個見つけたにゃん。選ぶとそこへ飛ぶにゃ。").arg(group_digits(hits));
}

QString hitGoneNote() {
    return QStringLiteral("そこにはもう無いみたいだにゃ。");
}

QString sectionGoneNote() {
    return QStringLiteral("そのセクションはもう無いにゃ。");
}

} // namespace pote
