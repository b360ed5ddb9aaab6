#pragma once
// What to do with a character set upright in a vertical line when the font has no vertical form
// for it: turn it a quarter to the right (brackets, dashes, the long vowel mark), or move the
// horizontal form to where the vertical one would sit (、。 to the upper right, small kana up
// and to the right). Shifts are in ems of the font, x to the right and y downwards.

#include <QPointF>

namespace pote::vertical {

enum class Fallback : quint8 { None, Rotate, Shift };

struct FallbackRule {
    Fallback kind = Fallback::None;
    QPointF shift; // for Shift
};

FallbackRule verticalFallback(char16_t ch);

} // namespace pote::vertical
