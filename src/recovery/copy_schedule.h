#pragma once
// When the next copy of unsaved work is due: a moment after the user pauses, and now and then
// while the changes go on, so that a crash loses at most a few seconds of writing. Times are
// milliseconds on a steady clock.

#include <QtGlobal>

#include <optional>

namespace pote::recovery {

class CopySchedule {
public:
    // quietMs: the pause after which the changes are copied; longestMs: the longest a change
    // waits for its copy while changes go on without such a pause.
    CopySchedule(qint64 quietMs, qint64 longestMs) : m_quietMs(quietMs), m_longestMs(longestMs) {}

    // A change was seen at now.
    void changed(qint64 now);
    // Whether the changes seen are due for their copy at now.
    bool due(qint64 now) const;
    // A copy holding every change seen was taken.
    void copied();
    // Changes wait for their copy.
    bool pending() const { return m_firstUncopied.has_value(); }

private:
    qint64 m_quietMs;
    qint64 m_longestMs;
    std::optional<qint64> m_firstUncopied;
    qint64 m_lastChange = 0;
};

} // namespace pote::recovery
