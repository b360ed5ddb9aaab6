#include "recovery/recovery_writer.h"

#include "core/byte_keeping_encode.h"
#include "core/text_convert.h"

#include <QFile>

namespace pote::recovery {

QString paneCopyMismatchMessage() {
    return QStringLiteral("the copy of the pane did not fit the text loaded into it");
}

Result<void> runJob(RecoveryJob& job) {
    QByteArray& text = job.document.section(job.header.currentSection).text;
    if (job.pane) {
        const std::optional<QString> paneText = rebuildPaneText(*job.pane);
        if (!paneText) return Error::refused(paneCopyMismatchMessage(), job.path);
        job.pane.reset(); // the loaded text and the stretches are not needed any more
        // As the window commits: what the edit left alone or moved keeps its stored bytes.
        text = encodeKeepingStoredBytes(text, *paneText, job.carried);
    }
    text = expand_tabs(strip_trailing_nul(std::move(text)), job.tabWidth);
    return writeRecoveryFile(job.path, job.header, job.document);
}

RecoveryWriter::RecoveryWriter(Finished finished)
    : m_finished(std::move(finished)), m_thread([this] { run(); }) {}

RecoveryWriter::~RecoveryWriter() {
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_wake.notify_all();
    m_thread.join();
}

void RecoveryWriter::dropQueuedWrites() {
    std::erase_if(m_queue, [](const Task& t) { return std::holds_alternative<RecoveryJob>(t); });
}

void RecoveryWriter::write(RecoveryJob job) {
    {
        std::lock_guard lock(m_mutex);
        dropQueuedWrites();
        m_queue.emplace_back(std::move(job));
    }
    m_wake.notify_all();
}

void RecoveryWriter::remove(QString path) {
    {
        std::lock_guard lock(m_mutex);
        dropQueuedWrites();
        m_queue.emplace_back(Removal{std::move(path)});
    }
    m_wake.notify_all();
}

void RecoveryWriter::waitForIdle() {
    std::unique_lock lock(m_mutex);
    m_idle.wait(lock, [this] { return m_queue.empty() && !m_running; });
}

void RecoveryWriter::run() {
    for (;;) {
        Task task;
        {
            std::unique_lock lock(m_mutex);
            m_wake.wait(lock, [this] { return m_stopping || !m_queue.empty(); });
            if (m_queue.empty()) return; // stopping with nothing left to do
            task = std::move(m_queue.front());
            m_queue.pop_front();
            m_running = true;
        }
        Outcome outcome;
        if (auto* job = std::get_if<RecoveryJob>(&task)) {
            outcome.path = job->path;
            outcome.result = runJob(*job);
        } else {
            const Removal& removal = std::get<Removal>(task);
            outcome.kind = Outcome::Kind::Remove;
            outcome.path = removal.path;
            QFile file(removal.path);
            if (file.exists() && !file.remove())
                outcome.result = Error::io(removal.path, file.errorString());
        }
        task = Removal{}; // the snapshot's buffers go before the writer says it is idle
        if (m_finished) m_finished(outcome);
        {
            std::lock_guard lock(m_mutex);
            m_running = false;
        }
        m_idle.notify_all();
    }
}

} // namespace pote::recovery
