#pragma once
// The window's single undo snapshot of the pane: text, selection start and length. Undo puts
// the snapshot into the pane and keeps what it replaced as the new snapshot, so undo and redo
// alternate.
//
// A snapshot is taken on nearly every key press, so taking one must not copy the text. At a
// take the pane's document starts a fresh record of its edits; undoing that record gives the
// snapshot's text back. Only an undo (or a load that would wipe the record) turns the
// snapshot into a copied text. The record is the pane's document's own undo stack, which the
// pane lets this class reach, and only it.

#include <QObject>
#include <QString>

namespace pote {

class EditPane;

class PaneUndo : public QObject {
    Q_OBJECT
public:
    explicit PaneUndo(EditPane& pane, QObject* parent = nullptr);

    bool available() const { return m_available; }
    // undo_take: the pane as it is now becomes the snapshot.
    void take();
    // nx_edit_undoClick: swaps the pane and the snapshot; nothing without a snapshot.
    void swap();
    // undo_clear: no snapshot any more.
    void clear();

signals:
    // The snapshot came or went: the undo commands' enabled state follows it.
    void availabilityChanged();
    // What else follows the pane's text through the snapshot: a take, an undo's swap, a clear.
    void taken();
    void swapped();
    void cleared();

private:
    void holdTextBeforeReplacement();

    EditPane& m_pane;
    bool m_available = false;
    // True when the snapshot's text is m_text; false while the pane's edit record leads back
    // to it.
    bool m_textHeld = false;
    QString m_text;
    int m_selectionStart = 0;
    int m_selectionLength = 0;
};

} // namespace pote
