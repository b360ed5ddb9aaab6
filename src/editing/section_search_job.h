#pragma once
// Searching every section off the user-interface thread: the hits with the text of their lines,
// progress while it runs, and a stop that takes effect between hits.

#include "editing/document_search.h"

#include <QByteArray>
#include <QObject>

#include <atomic>
#include <memory>
#include <thread>
#include <vector>

namespace pote {

struct SectionSearchRequest {
    std::vector<QByteArray> texts; // see search_snapshot
    std::vector<QByteArray> names; // the sections' names, as the list shows them
    QByteArray pattern;
    CaseMode mode = CaseMode::Insensitive;
};

struct ListedHit {
    SectionHit hit;
    HitContext context;
};

struct SectionSearchOutcome {
    std::vector<ListedHit> hits;
    std::vector<QByteArray> names;
    QByteArray pattern;
    CaseMode mode = CaseMode::Insensitive;
    int sections = 0;
    bool truncated = false; // more hits than the list holds
    bool cancelled = false;
};

// The search on its own thread; the outcome is built there too, so the texts searched are
// released when it ends.
SectionSearchOutcome run_section_search(const SectionSearchRequest& request,
                                        const std::atomic_bool* cancel = nullptr,
                                        const SearchProgress& progress = {},
                                        qsizetype maxHits = kMaxListedHits);

class SectionSearchJob : public QObject {
    Q_OBJECT
public:
    explicit SectionSearchJob(QObject* parent = nullptr);
    ~SectionSearchJob() override;

    // Starts a search; one still running is stopped first, and nothing more is heard of it.
    void start(SectionSearchRequest request);
    // Stops the running search; finished() still comes, with the hits found so far.
    void cancel();
    bool running() const { return m_running; }

signals:
    void progressed(int sectionsDone, int sections, qint64 hitsFound);
    void finished(const std::shared_ptr<const pote::SectionSearchOutcome>& outcome);

private:
    void stopAndWait();

    std::thread m_thread;
    std::shared_ptr<std::atomic_bool> m_cancel;
    quint64 m_run = 0;
    bool m_running = false;
};

} // namespace pote
