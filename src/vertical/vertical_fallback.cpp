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

} // namespace

FallbackRule verticalFallback(char16_t ch) {
    if (kRotated.contains(QChar(ch))) return {Fallback::Rotate, {}};
    if (kCornerPunctuation.contains(QChar(ch))) return {Fallback::Shift, QPointF(0.55, -0.55)};
    if (kSmallKana.contains(QChar(ch))) return {Fallback::Shift, QPointF(0.12, -0.12)};
    return {};
}

} // namespace pote::vertical
