#pragma once
// Follows the cuts and pastes of the editing pane and keeps the stored bytes a cut takes to
// its paste, so that the commit gives the moved text its stored codes back (see
// editing/move_record.h).

#include "editing/move_record.h"

#include <QObject>

#include <functional>

namespace pote {

class EditPane;
class PaneUndo;

class PaneMoves : public QObject {
    Q_OBJECT
public:
    // paneBytes: the pane's text as the commit would store it, stored codes kept.
    PaneMoves(EditPane& pane, PaneUndo& undo, std::function<QByteArray()> paneBytes,
              QObject* parent = nullptr);

    // Just before the pane cuts its selection or pastes the clipboard.
    void cutting();
    void pasting();
    // The store took the pane's text (a commit) or the pane shows another section.
    void storeChanged() { m_record.storeChanged(); }

    std::vector<QByteArray> carried() const { return m_record.carried(); }

private:
    EditPane& m_pane;
    std::function<QByteArray()> m_paneBytes;
    MoveRecord m_record;
};

} // namespace pote
