#pragma once
// The part of a recovery copy that runs on the window's thread: a copy of the document that
// shares its buffers, and of the pane only the stretches edited since the section was loaded.
// Everything that costs in proportion to the document runs on the writer's thread.

#include "recovery/pane_edits.h"
#include "recovery/recovery_writer.h"

#include <QObject>

#include <optional>

namespace pote {

class EditPane;
class SectionBinding;
class SectionStore;

// Follows the pane's changes since its last load.
class PaneTracker : public QObject {
    Q_OBJECT
public:
    PaneTracker(EditPane& pane, SectionBinding& binding, QObject* parent = nullptr);

    // The pane's text as a copy that the writer turns back into text; nullopt when the pane
    // was not edited since its load (the store's text of the section is then what a commit
    // would keep).
    std::optional<recovery::PaneCopy> copy() const;
    // The stored bytes that moves in the pane took along, for the copy's commit.
    std::vector<QByteArray> carried() const;
    // Counts the pane's changes: equal counts, same text.
    quint64 changeCount() const { return m_changes; }
    // The next copy takes the whole text (a copy did not fit what was loaded).
    void forgetStretches() { m_edits.invalidate(); }

private:
    EditPane& m_pane;
    SectionBinding& m_binding;
    recovery::PaneEdits m_edits;
    QByteArray m_loaded;
    quint64 m_changes = 0;
};

// Everything a copy of the document needs, taken now; the writer does the rest.
recovery::RecoveryJob takeRecoverySnapshot(const SectionStore& store, const PaneTracker& pane,
                                           int tabWidth, const QString& path);

} // namespace pote
