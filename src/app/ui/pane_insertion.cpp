#include "app/ui/pane_insertion.h"

#include "app/ui/app_context.h"
#include "core/cp932.h"
#include "editing/ui/edit_pane.h"
#include "editing/ui/pane_undo.h"

namespace pote {

bool selectionEmpty(const EditPane& pane) {
    return pane.selectionStart() == pane.selectionEnd();
}

void insertAtCaret(AppContext& context, QByteArrayView bytes) {
    context.undo.take();
    QTextCursor cursor = context.pane.textCursor();
    cursor.insertText(cp932::decodeForPane(bytes));
    context.pane.setTextCursor(cursor);
    context.pane.ensureCursorVisible();
}

} // namespace pote
