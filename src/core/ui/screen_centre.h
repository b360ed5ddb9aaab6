#pragma once
// Dialogs that belong to the whole desktop rather than to the window open in the middle of the
// screen the window is on.

class QWidget;

namespace pote {

// Moves `window` so that its frame is centred on the available area of its screen (the primary
// screen when it has none yet). Call it when the window's size is known, e.g. in showEvent.
void centreOnScreen(QWidget& window);

} // namespace pote
