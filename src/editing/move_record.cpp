#include "editing/move_record.h"

#include <utility>

namespace pote {

void MoveRecord::cut(QString text, QByteArray bytes) {
    m_now.cut = Moved{std::move(text), std::move(bytes)};
}

void MoveRecord::pasted(const QString& clipboardText) {
    if (!m_now.cut || m_now.cut->text != clipboardText) return;
    if (!m_now.cut->bytes.isEmpty()) m_now.pasted.push_back(std::move(*m_now.cut));
    m_now.cut.reset();
}

void MoveRecord::storeChanged() {
    m_now.pasted.clear();
    if (m_now.cut) m_now.cut->inStore = false;
    if (!m_snapshot) return;
    // The snapshot is not what the store took: its pastes need their bytes again if an undo
    // brings it back.
    if (m_snapshot->cut) m_snapshot->cut->inStore = false;
    for (Moved& moved : m_snapshot->pasted)
        moved.inStore = false;
}

std::vector<QByteArray> MoveRecord::carried() const {
    std::vector<QByteArray> bytes;
    for (const Moved& moved : m_now.pasted) {
        if (!moved.inStore) bytes.push_back(moved.bytes);
    }
    return bytes;
}

void MoveRecord::snapshotTaken() {
    m_snapshot = m_now;
}

void MoveRecord::snapshotSwapped() {
    if (m_snapshot) std::swap(m_now, *m_snapshot);
}

void MoveRecord::snapshotCleared() {
    m_snapshot.reset();
}

} // namespace pote
