#pragma once
// Never losing work: while the document has unsaved changes, a copy of it is written to the
// recovery folder two seconds after the user pauses, and every ten seconds while the changes
// go on. A settled document (new, opened, saved) and a normal end remove the copy. At the next
// start, copies whose editor no longer runs are offered back.

#include "app/ui/recovery_snapshot.h"
#include "recovery/copy_watch.h"
#include "recovery/recovery_folder.h"
#include "recovery/recovery_writer.h"

#include <QObject>
#include <QTimer>

#include <chrono>
#include <optional>

namespace pote {

struct AppContext;
class DocumentCommands;
class Startup;

struct RecoveryOptions {
    QString folder; // empty: $XDG_STATE_HOME/poteedit/recovery
    std::chrono::milliseconds quiet = recovery::kQuietPause;
    std::chrono::milliseconds poll = recovery::kLookInterval;
    std::chrono::milliseconds longest = recovery::kLongestWait;
};

class RecoveryCommands : public QObject {
    Q_OBJECT
public:
    RecoveryCommands(AppContext& context, DocumentCommands& documents, Startup& startup,
                     RecoveryOptions options = {});
    // A normal end: the document was saved or its changes were given up, so its copy goes.
    ~RecoveryCommands() override;

    // The text of the start-up offer for one leftover copy.
    static QString offerText(const recovery::RecoveryHeader& header);
    // Said at start-up when no copies can be kept in folder.
    static QString unprotectedText(const QString& folder, const QString& error);

private:
    void offerLeftovers();
    void restore(recovery::Leftover& leftover);
    void documentSettled();
    void tick();
    void takeCopy();
    void writerFinished(const recovery::RecoveryWriter::Outcome& outcome);
    // The document as the copy on disk holds it: no new copy until it changes.
    void markWritten();

    AppContext& m_context;
    DocumentCommands& m_documents;
    RecoveryOptions m_options;
    recovery::RecoveryFolder m_folder;
    bool m_enabled = false;
    PaneTracker m_pane;
    QTimer m_poll;
    recovery::CopyWatch m_watch;
    bool m_copyMayExist = false;
    bool m_reportedTrouble = false;
    // Declared last: its thread ends first, before the members it reports to.
    recovery::RecoveryWriter m_writer;
};

} // namespace pote
