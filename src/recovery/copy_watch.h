#pragma once
// The window's regular look at the document for unsaved work: what changed since the copy on
// disk and since the last look, and whether the copy is due (a moment after the writer pauses,
// now and then while the changes go on). The clock is given, so the timing can be followed look
// by look without waiting for it.

#include "recovery/copy_schedule.h"
#include "recovery/store_compare.h"

#include <chrono>
#include <functional>
#include <optional>

namespace pote::recovery {

// The pause in the changes after which they are copied.
inline constexpr std::chrono::milliseconds kQuietPause{2000};
// How often the document is looked at for changes.
inline constexpr std::chrono::milliseconds kLookInterval{250};
// The longest a change waits for its copy while the changes go on.
inline constexpr std::chrono::milliseconds kLongestWait{10000};

class CopyWatch {
public:
    // Milliseconds on a steady clock.
    using Clock = std::function<qint64()>;

    // clock: empty for the time since the watch was made.
    CopyWatch(std::chrono::milliseconds quiet, std::chrono::milliseconds longest, Clock clock = {});

    // A look at the store and at the pane's change count (equal counts, same pane text): true
    // when a copy of what it holds is due now.
    bool look(const SectionStore& store, quint64 paneChanges);
    // A copy of the store as it is now was taken: nothing is due until it changes again.
    void copied(const SectionStore& store, quint64 paneChanges);
    // The copy on disk does not hold what it was taken from: the work waits again for a copy.
    void copyFailed() { m_written.reset(); }
    // Nothing unsaved any more (new, opened, saved).
    void settled();

private:
    struct Seen {
        StoreSnapshot store; // shares the document's buffers
        quint64 paneChanges = 0;
        bool holds(const SectionStore& live, quint64 changes) const {
            return changes == paneChanges && sameContent(live, store);
        }
    };

    CopySchedule m_schedule;
    Clock m_clock;
    std::optional<Seen> m_written; // what the last copy was taken from
    std::optional<Seen> m_seen;    // the document at the last look that found a change
};

} // namespace pote::recovery
