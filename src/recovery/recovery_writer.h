#pragma once
// Writes recovery copies on a thread of its own, so that the window only pays for taking the
// snapshot: the store's buffers are shared, not copied, and the pane's text is rebuilt and
// encoded here.

#include "recovery/pane_edits.h"
#include "recovery/recovery_file.h"

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>
#include <variant>
#include <vector>

namespace pote::recovery {

struct RecoveryJob {
    QString path;
    RecoveryHeader header;
    // A copy of the document (sharing its buffers). The text of the header's current section is
    // what the store held; the pane's text replaces it when the pane was edited.
    Document document;
    std::optional<PaneCopy> pane;
    int tabWidth = 8;
    // The stored bytes that moves in the pane took along (see core/moved_text.h).
    std::vector<QByteArray> carried;
};

// The job's work on the calling thread: the pane's text committed into the current section as
// the window would commit it (the stored bytes kept for what the edit left alone, line breaks as
// CR LF, trailing zero bytes dropped, tabs expanded; moved text keeping its codes), then the
// file written.
Result<void> runJob(RecoveryJob& job);

// The message of a job whose pane copy did not fit its loaded text.
QString paneCopyMismatchMessage();

class RecoveryWriter {
public:
    struct Outcome {
        enum class Kind { Write, Remove };
        Kind kind = Kind::Write;
        QString path;
        Result<void> result;
    };
    // Called on the writer's thread after each write or removal.
    using Finished = std::function<void(const Outcome&)>;

    explicit RecoveryWriter(Finished finished = {});
    // Finishes what is queued (a removal must not be lost) and stops the thread.
    ~RecoveryWriter();
    RecoveryWriter(const RecoveryWriter&) = delete;
    RecoveryWriter& operator=(const RecoveryWriter&) = delete;

    // Queues a copy; one that was queued and not yet started is dropped for it.
    void write(RecoveryJob job);
    // Removes path after the work already started; a queued copy is dropped, so no copy of a
    // document that was saved or closed turns up after its removal.
    void remove(QString path);
    // Returns when nothing is queued or running.
    void waitForIdle();

private:
    struct Removal {
        QString path;
    };
    using Task = std::variant<RecoveryJob, Removal>;

    void run();
    void dropQueuedWrites();

    Finished m_finished;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_idle;
    std::deque<Task> m_queue;
    bool m_running = false;
    bool m_stopping = false;
    std::thread m_thread;
};

} // namespace pote::recovery
