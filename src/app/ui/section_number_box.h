#pragma once
// The section number box `secno_view` beside the name edit: sized so that every number up to
// the last section shows whole in its italic font.

class QLabel;
class QLineEdit;

namespace pote {

// Widens the number box as far as its widest text needs, taking the room from the name edit to
// its right (whose right edge stays); where even that is not enough, the font steps down.
void fitSectionNumberBox(QLabel& number, QLineEdit& name);

} // namespace pote
