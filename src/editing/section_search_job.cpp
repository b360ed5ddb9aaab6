#include "editing/section_search_job.h"

#include <QMetaObject>

#include <chrono>

namespace pote {

namespace {
constexpr auto kProgressInterval = std::chrono::milliseconds(100);
}

SectionSearchOutcome run_section_search(const SectionSearchRequest& request,
                                        const std::atomic_bool* cancel,
                                        const SearchProgress& progress, qsizetype maxHits) {
    SectionSearchOutcome outcome;
    outcome.names = request.names;
    outcome.pattern = request.pattern;
    outcome.mode = request.mode;
    outcome.sections = static_cast<int>(request.texts.size());
    SectionSearchResult found =
        collect_hits(request.texts, request.pattern, request.mode, maxHits, cancel, progress);
    outcome.truncated = found.truncated;
    outcome.cancelled = found.cancelled;
    outcome.hits.reserve(found.hits.size());
    for (const SectionHit& hit : found.hits) {
        const QByteArray& text = request.texts[static_cast<size_t>(hit.section)];
        outcome.hits.push_back({hit, hit_context(text, hit, request.pattern.size())});
    }
    return outcome;
}

SectionSearchJob::SectionSearchJob(QObject* parent) : QObject(parent) {}

SectionSearchJob::~SectionSearchJob() {
    stopAndWait();
}

void SectionSearchJob::stopAndWait() {
    if (m_cancel) m_cancel->store(true);
    if (m_thread.joinable()) m_thread.join();
    m_running = false;
}

void SectionSearchJob::cancel() {
    if (m_cancel) m_cancel->store(true);
}

void SectionSearchJob::start(SectionSearchRequest request) {
    stopAndWait();
    const quint64 run = ++m_run;
    m_cancel = std::make_shared<std::atomic_bool>(false);
    m_running = true;
    // Messages from the thread are queued to this object's thread and dropped there when a
    // newer search has started in between, or when this object is gone.
    const auto post = [this, run](auto deliver) {
        QMetaObject::invokeMethod(
            this,
            [this, run, deliver] {
                if (run == m_run) deliver();
            },
            Qt::QueuedConnection);
    };
    m_thread = std::thread([this, post, cancel = m_cancel, request = std::move(request)] {
        const int sections = static_cast<int>(request.texts.size());
        // A few words a second are enough to watch; a word per section would keep the
        // user-interface thread busy redrawing.
        auto lastWord = std::chrono::steady_clock::now();
        auto outcome = std::make_shared<const SectionSearchOutcome>(
            run_section_search(request, cancel.get(), [&](int done, qint64 hits) {
                const auto now = std::chrono::steady_clock::now();
                if (now - lastWord < kProgressInterval && done < sections) return;
                lastWord = now;
                post([this, done, sections, hits] { emit progressed(done, sections, hits); });
            }));
        post([this, outcome] {
            if (m_thread.joinable()) m_thread.join();
            m_running = false;
            emit finished(outcome);
        });
    });
}

} // namespace pote
