#pragma once
// The stored bytes that text cut from the editing pane takes to its paste, so that the commit
// gives the moved text its stored codes back wherever it now stands, in this section or another.
//
// While the store still holds the cut text (no commit came between the cut and the paste, the
// same section), the byte-keeping merge finds it there, removed from one place and inserted in
// another, as it finds text dragged within the pane: nothing is carried, and nothing counts
// twice. Once the store took the text without it (a commit, another section shown), the first
// paste of the cut text carries its bytes until the next commit puts them in the store. A copy,
// or a paste of text still in place, carries nothing and takes the encoder's codes.
//
// The record follows the window's single undo snapshot: a snapshot keeps a copy of it and an
// undo swaps the two, as it swaps the texts. So a cut that an undo put back is no cut any more
// (pasting it makes a copy), and an undone paste carries nothing until it is redone; redone
// after a commit took the text without it, it carries its bytes.

#include <QByteArray>
#include <QString>

#include <optional>
#include <vector>

namespace pote {

class MoveRecord {
public:
    // Text cut from the pane, as the clipboard holds it, and its stored bytes (empty when they
    // are the encoder's own). It replaces the cut before.
    void cut(QString text, QByteArray bytes);
    // A paste of clipboardText: the first paste of the cut text, once the store no longer holds
    // it, carries its bytes.
    void pasted(const QString& clipboardText);
    // The store took the pane's text (a commit) or the pane shows another section: the text
    // pasted is in the store now, and the text cut before is not there any more.
    void storeChanged();

    // The stored bytes of the text pasted whose place in the store is gone.
    std::vector<QByteArray> carried() const;

    void snapshotTaken();
    void snapshotSwapped();
    void snapshotCleared();

private:
    // Text cut, or cut and pasted, with its stored bytes.
    struct Moved {
        QString text;
        QByteArray bytes;
        // The store still holds the text where it was cut from.
        bool inStore = true;
    };
    struct State {
        std::optional<Moved> cut;
        std::vector<Moved> pasted;
    };
    State m_now;
    std::optional<State> m_snapshot;
};

} // namespace pote
