#include "editing/ui/pane_undo.h"

#include "editing/ui/edit_pane.h"

#include <QSignalBlocker>
#include <QTextDocument>

namespace pote {

namespace {

void rewind(QTextDocument* document) {
    while (document->isUndoAvailable())
        document->undo();
}

} // namespace

PaneUndo::PaneUndo(EditPane& pane, QObject* parent) : QObject(parent), m_pane(pane) {
    connect(&m_pane, &EditPane::aboutToReplaceText, this, &PaneUndo::holdTextBeforeReplacement);
}

void PaneUndo::take() {
    const QTextCursor cursor = m_pane.textCursor();
    const bool wasAvailable = m_available;
    m_available = true;
    m_textHeld = false;
    m_text = QString();
    m_selectionStart = cursor.selectionStart();
    m_selectionLength = cursor.selectionEnd() - cursor.selectionStart();
    m_pane.recordingDocument()->clearUndoRedoStacks();
    emit taken();
    if (!wasAvailable) emit availabilityChanged();
}

void PaneUndo::swap() {
    if (!m_available) return;
    const QTextCursor cursor = m_pane.textCursor();
    const int currentStart = cursor.selectionStart();
    const int currentLength = cursor.selectionEnd() - cursor.selectionStart();
    QString current = m_pane.toPlainText();
    if (m_textHeld) {
        // A held snapshot needs no edit record; without one the document can reclaim the
        // replaced text (it keeps removed text while it records edits).
        m_pane.recordingDocument()->setUndoRedoEnabled(false);
        m_pane.replaceAllText(m_text);
        m_pane.recordingDocument()->setUndoRedoEnabled(true);
    } else {
        rewind(m_pane.recordingDocument());
    }
    m_pane.selectRange(m_selectionStart, m_selectionLength);
    m_pane.ensureCursorVisible();
    // From here the snapshot is a held text; the edit record is no longer needed.
    m_pane.recordingDocument()->clearUndoRedoStacks();
    m_text = std::move(current);
    m_textHeld = true;
    m_selectionStart = currentStart;
    m_selectionLength = currentLength;
    emit swapped();
}

void PaneUndo::clear() {
    const bool wasAvailable = m_available;
    m_available = false;
    m_textHeld = false;
    m_text = QString();
    m_selectionStart = 0;
    m_selectionLength = 0;
    m_pane.recordingDocument()->clearUndoRedoStacks();
    emit cleared();
    if (wasAvailable) emit availabilityChanged();
}

void PaneUndo::holdTextBeforeReplacement() {
    // Replacing the whole text wipes the edit record; a snapshot that still depends on it is
    // copied first, so that it is not lost with the record.
    if (!m_available || m_textHeld) return;
    // A snapshot stands on a record that starts after any load, so the text is all there.
    QTextDocument* document = m_pane.recordingDocument();
    const QSignalBlocker quiet(&m_pane);
    rewind(document);
    m_text = m_pane.toPlainText();
    m_textHeld = true;
}

} // namespace pote
