#include "editing/unencodable_notice.h"

namespace pote {

namespace {
// A long paste in another script would otherwise make a wall of brackets.
constexpr qsizetype kNamedAtMost = 8;
} // namespace

QString unencodableNotice(const QStringList& lost) {
    QString names;
    for (qsizetype i = 0; i < lost.size() && i < kNamedAtMost; ++i)
        names += u'「' + lost.at(i) + u'」';
    if (lost.size() > kNamedAtMost) names += QStringLiteral("など");
    return names + QStringLiteral("は、保存できない文字だから「?」にしておいたにゃ。");
}

} // namespace pote
