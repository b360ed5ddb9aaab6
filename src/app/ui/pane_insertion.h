#pragma once
// Generated text going into the pane the way every insert command puts it there.

#include <QByteArrayView>

namespace pote {

struct AppContext;
class EditPane;

bool selectionEmpty(const EditPane& pane);

// Takes the undo snapshot, then puts the CP932 bytes in place of the selection (at the caret
// when nothing is selected) and leaves the caret after them.
void insertAtCaret(AppContext& context, QByteArrayView bytes);

} // namespace pote
