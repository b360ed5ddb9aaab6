#include "core/document.h"

#include <QtGlobal>

#include <utility>

namespace pote {

const Section& Document::section(int pos) const {
    Q_ASSERT(pos >= 0 && pos < kPositions);
    return m_sections[static_cast<size_t>(pos)];
}

Section& Document::section(int pos) {
    Q_ASSERT(pos >= 0 && pos < kPositions);
    return m_sections[static_cast<size_t>(pos)];
}

const PositionReserved& Document::reserved(int pos) const {
    Q_ASSERT(pos >= 0 && pos < kPositions);
    return m_reserved[static_cast<size_t>(pos)];
}

PositionReserved& Document::reserved(int pos) {
    Q_ASSERT(pos >= 0 && pos < kPositions);
    return m_reserved[static_cast<size_t>(pos)];
}

void Document::clearPosition(int pos) {
    Section& s = section(pos);
    s.name = QByteArray();
    s.text = QByteArray(); // releases the buffer
    s.group = 0;
}

int Document::appendEmpty() {
    if (m_count >= kMaxSections) return -1;
    const int pos = m_count++;
    clearPosition(pos);
    reserved(pos).r1 = 0;
    reserved(pos).r2 = 0;
    return pos;
}

bool Document::removeAt(int pos) {
    if (pos < 0 || pos >= m_count || m_count <= 1) return false;
    for (int k = pos; k < m_count - 1; ++k)
        section(k) = std::move(section(k + 1));
    --m_count;
    clearPosition(m_count);
    return true;
}

bool Document::swapNamesAndTexts(int a, int b) {
    if (a < 0 || b < 0 || a >= m_count || b >= m_count) return false;
    if (a != b) {
        std::swap(section(a).name, section(b).name);
        std::swap(section(a).text, section(b).text);
    }
    return true;
}

void Document::setCount(int n) {
    n = qBound(1, n, kMaxSections);
    for (int pos = n; pos < kPositions; ++pos)
        if (!section(pos).text.isNull() || !section(pos).name.isNull() || section(pos).group)
            clearPosition(pos);
    m_count = n;
}

qint64 Document::totalTextBytes() const {
    qint64 total = 0;
    for (int pos = 0; pos < m_count; ++pos)
        total += section(pos).text.size();
    return total;
}

const QByteArray& Document::groupName(int group) const {
    Q_ASSERT(group >= 1 && group <= groupCount());
    return m_groupNames[static_cast<size_t>(group - 1)];
}

void Document::setGroupName(int group, QByteArray name) {
    Q_ASSERT(group >= 1 && group <= groupCount());
    m_groupNames[static_cast<size_t>(group - 1)] = std::move(name);
}

int Document::addGroup(QByteArray name) {
    if (groupCount() >= kMaxGroups) return -1;
    m_groupNames.push_back(std::move(name));
    return groupCount();
}

bool Document::dissolveGroup(int group) {
    if (group < 1 || group > groupCount()) return false;
    m_groupNames.erase(m_groupNames.begin() + (group - 1));
    for (int pos = 0; pos < m_count; ++pos) {
        qint32& g = section(pos).group;
        if (g == group)
            g = 0;
        else if (g > group)
            --g;
    }
    return true;
}

std::vector<int> Document::membersOf(int group) const {
    std::vector<int> out;
    for (int pos = 0; pos < m_count; ++pos)
        if (section(pos).group == group) out.push_back(pos);
    return out;
}

void Document::setPassword(QByteArray password) {
    m_hasPassword = true;
    m_password = std::move(password);
}

void Document::clearPassword() {
    m_hasPassword = false;
    m_password.clear();
}

void Document::clear() {
    m_count = 1;
    m_groupNames.clear();
    headerReserved = 0;
    clearPassword();
    for (int pos = 0; pos < kMaxSections; ++pos) {
        clearPosition(pos);
        reserved(pos).r1 = 0;
        reserved(pos).r2 = 0;
    }
}

void Document::replace(DocumentContent&& content) {
    const int n = qBound(1, static_cast<int>(content.sections.size()), kMaxSections);
    for (int pos = 0; pos < n; ++pos) {
        auto& entry = content.sections[static_cast<size_t>(pos)];
        section(pos) = std::move(entry.section);
        if (entry.reserved)
            reserved(pos) = *entry.reserved;
        else
            reserved(pos).r2 = 0;
    }
    if (content.sections.empty()) clearPosition(0);
    setCount(n);
    m_groupNames = std::move(content.groupNames);
    if (m_groupNames.size() > static_cast<size_t>(kMaxGroups)) m_groupNames.resize(kMaxGroups);
    headerReserved = content.headerReserved;
    if (content.hasPassword)
        setPassword(std::move(content.password));
    else
        clearPassword();
}

} // namespace pote
