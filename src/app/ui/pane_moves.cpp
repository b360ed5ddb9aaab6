#include "app/ui/pane_moves.h"

#include "core/stored_stretch.h"
#include "editing/ui/edit_pane.h"
#include "editing/ui/pane_undo.h"

#include <QClipboard>
#include <QGuiApplication>

namespace pote {

PaneMoves::PaneMoves(EditPane& pane, PaneUndo& undo, std::function<QByteArray()> paneBytes,
                     QObject* parent)
    : QObject(parent), m_pane(pane), m_paneBytes(std::move(paneBytes)) {
    connect(&undo, &PaneUndo::taken, this, [this] { m_record.snapshotTaken(); });
    connect(&undo, &PaneUndo::swapped, this, [this] { m_record.snapshotSwapped(); });
    connect(&undo, &PaneUndo::cleared, this, [this] { m_record.snapshotCleared(); });
}

void PaneMoves::cutting() {
    const QTextCursor cursor = m_pane.textCursor();
    if (!cursor.hasSelection()) return;
    // As the pane puts it on the clipboard.
    QString text = cursor.selectedText();
    text.replace(QChar::ParagraphSeparator, u'\n');
    // Most text has no code but the encoder's: no need to go over the whole pane for it.
    QByteArray bytes;
    if (hasDuplicateCodedCharacter(text))
        bytes = bytesOfPanePositions(m_paneBytes(), cursor.selectionStart(), cursor.selectionEnd());
    m_record.cut(std::move(text), std::move(bytes));
}

void PaneMoves::pasting() {
    m_record.pasted(QGuiApplication::clipboard()->text());
}

} // namespace pote
