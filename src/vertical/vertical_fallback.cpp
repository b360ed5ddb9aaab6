#include "vertical/vertical_fallback.h"

#include <QStringView>

namespace pote::vertical {

namespace {

// Characters drawn along the line in horizontal text, which a vertical line turns with it.
constexpr QStringView kRotated = u"「」『』（）［］｛｝〔〕【】〈〉《》〘〙〖〗＜＞｢｣()[]{}<>"
                                 u"ー―‐－～〜…‥＝＿｜￣→←";

// Small kana sit low and to the left of their box; vertically, high and to the right.
constexpr QStringView kSmallKana =
    u"ぁぃぅぇぉっゃゅょゎゕゖァィゥェォッャュョヮヵヶㇰㇱㇲㇳㇴㇵㇶㇷㇸㇹㇺㇻㇼㇽㇾㇿ";

// The comma and full stop sit in the lower left quarter; vertically, in the upper right.
constexpr QStringView kCornerPunctuation = u"、。，．｡､";

// Clear of the cell's edges: a mark in the corner keeps this far from the top and the right,
// so that it never touches the character above it.
constexpr qreal kCornerMargin = 0.12;
// A small kana's ink centre, from the cell's centre: up and to the right.
constexpr QPointF kSmallKanaCentre(0.1, -0.1);

} // namespace

FallbackRule verticalFallback(char16_t ch) {
    if (kRotated.contains(QChar(ch))) return {Fallback::Rotate};
    if (kCornerPunctuation.contains(QChar(ch))) return {Fallback::Corner};
    if (kSmallKana.contains(QChar(ch))) return {Fallback::Small};
    return {};
}

QPointF fallbackShift(Fallback kind, const QRectF& ink) {
    if (ink.isEmpty()) return {};
    switch (kind) {
    case Fallback::Corner:
        return QPointF(0.5 - kCornerMargin - ink.right(), kCornerMargin - ink.top());
    case Fallback::Small:
        return QPointF(0, 0.5) + kSmallKanaCentre - ink.center();
    default:
        return {};
    }
}

} // namespace pote::vertical
