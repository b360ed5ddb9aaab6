#pragma once
// What to do with a character set upright in a vertical line when the font has no vertical form
// for it: turn it a quarter to the right (brackets, dashes, the long vowel mark), or move the
// horizontal form's ink to where the vertical one would sit (、。 into the upper right of their
// own cell, small kana up and to the right). The ink is moved, not the glyph by a fixed amount:
// faces draw these marks at very different places in their boxes.

#include <QPointF>
#include <QRectF>

namespace pote::vertical {

enum class Fallback : quint8 { None, Rotate, Corner, Small };

struct FallbackRule {
    Fallback kind = Fallback::None;
};

FallbackRule verticalFallback(char16_t ch);

// How far to move a glyph whose ink is `ink` (in ems, from the top centre of its em box, y
// downwards) for a Corner or Small rule; nothing for the others.
QPointF fallbackShift(Fallback kind, const QRectF& ink);

} // namespace pote::vertical
