#include "recovery/copy_watch.h"

#include <QElapsedTimer>

#include <memory>

namespace pote::recovery {

CopyWatch::CopyWatch(std::chrono::milliseconds quiet, std::chrono::milliseconds longest,
                     Clock clock)
    : m_schedule(quiet.count(), longest.count()), m_clock(std::move(clock)) {
    if (!m_clock) {
        auto started = std::make_shared<QElapsedTimer>();
        started->start();
        m_clock = [started] { return started->elapsed(); };
    }
}

bool CopyWatch::look(const SectionStore& store, quint64 paneChanges) {
    if (m_written && m_written->holds(store, paneChanges)) return false;
    const qint64 now = m_clock();
    // Changes seen at an earlier look date from then: the pause is counted from the last look
    // that found the document different. A copy that failed leaves its changes uncopied with
    // nothing pending: they wait again.
    if (!m_seen || !m_seen->holds(store, paneChanges) || !m_schedule.pending()) {
        m_schedule.changed(now);
        m_seen = Seen{snapshotOf(store), paneChanges};
    }
    return m_schedule.due(now);
}

void CopyWatch::copied(const SectionStore& store, quint64 paneChanges) {
    m_written = Seen{snapshotOf(store), paneChanges};
    m_schedule.copied();
}

void CopyWatch::settled() {
    m_written.reset();
    m_seen.reset();
    m_schedule.copied();
}

} // namespace pote::recovery
