#include "editing/unencodable_notice.h"

namespace pote {

namespace {
// A long paste in another script would otherwise make a wall of brackets.
constexpr qsizetype kNamedAtMost = 8;

QString named(const QStringList& lost) {
    QString names;
    for (qsizetype i = 0; i < lost.size() && i < kNamedAtMost; ++i)
        names += u'「' + lost.at(i) + u'」';
    if (lost.size() > kNamedAtMost) names += QStringLiteral("など");
    return names;
}
} // namespace

QString unencodableNotice(const QStringList& lost) {
    return named(lost) + QStringLiteral("は、保存できない文字だから「?」にしておいたにゃ。");
}

QString unencodableRefusal(const QStringList& lost) {
    return named(lost) + QStringLiteral("は、保存できない文字だから使えないにゃ。\r\n") +
           QStringLiteral("ほかの文字にしてほしいにゃん。");
}

} // namespace pote
