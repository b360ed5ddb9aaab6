#pragma once
// The editing pane's look from the settings: background and text colour, word wrap, font and
// tab stops. Start-up and the settings commands apply it the same way.

namespace pote {

class EditPane;
struct Settings;

// Changes what differs, on the pane's own document: the text is not loaded again, so the
// caret, the undo record and the modified flag stay as they were, and a long section costs a
// relayout rather than a reload.
void applyPaneLook(EditPane& pane, const Settings& settings);

} // namespace pote
