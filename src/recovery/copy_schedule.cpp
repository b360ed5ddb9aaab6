#include "recovery/copy_schedule.h"

namespace pote::recovery {

void CopySchedule::changed(qint64 now) {
    if (!m_firstUncopied) m_firstUncopied = now;
    m_lastChange = now;
}

bool CopySchedule::due(qint64 now) const {
    return m_firstUncopied &&
           (now - m_lastChange >= m_quietMs || now - *m_firstUncopied >= m_longestMs);
}

void CopySchedule::copied() {
    m_firstUncopied.reset();
}

} // namespace pote::recovery
