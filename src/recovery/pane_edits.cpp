#include "recovery/pane_edits.h"

#include "core/cp932.h"

#include <algorithm>
#include <limits>

namespace pote::recovery {

void PaneEdits::reset(qsizetype units) {
    m_stretches.clear();
    m_length = units;
    m_loadedLength = units;
    m_valid = true;
}

void PaneEdits::change(qsizetype position, qsizetype removed, qsizetype added,
                       qsizetype newLength) {
    if (!m_valid) return;
    if (position < 0 || removed < 0 || added < 0 || position > m_length) {
        m_valid = false;
        return;
    }
    const qsizetype overshoot = position + removed - m_length;
    if (overshoot > 0) {
        removed -= overshoot;
        added -= overshoot;
    }
    if (added < 0 || m_length - removed + added != newLength) {
        m_valid = false;
        return;
    }
    if (removed == 0 && added == 0) return;

    // The stretches that the change touches or borders are joined with it into one.
    const qsizetype end = position + removed;
    auto first =
        std::find_if(m_stretches.begin(), m_stretches.end(),
                     [position](const EditedStretch& s) { return s.start + s.length >= position; });
    auto last = first;
    qsizetype start = position;
    qsizetype oldEnd = end;
    qsizetype joinedLength = 0;
    qsizetype joinedLoaded = 0;
    for (; last != m_stretches.end() && last->start <= end; ++last) {
        start = std::min(start, last->start);
        oldEnd = std::max(oldEnd, last->start + last->length);
        joinedLength += last->length;
        joinedLoaded += last->loadedLength;
    }
    // Units of the span that no stretch covered were still the loaded text.
    const qsizetype span = oldEnd - start;
    EditedStretch joined{start, span - removed + added, joinedLoaded + span - joinedLength};
    const qsizetype shift = added - removed;
    for (auto it = last; it != m_stretches.end(); ++it)
        it->start += shift;
    const auto at = m_stretches.erase(first, last);
    m_stretches.insert(at, joined);
    m_length = newLength;
    if (m_stretches.size() > kMaxStretches) joinClosest();
}

void PaneEdits::joinClosest() {
    size_t best = 0;
    qsizetype bestGap = std::numeric_limits<qsizetype>::max();
    for (size_t i = 0; i + 1 < m_stretches.size(); ++i) {
        const qsizetype gap =
            m_stretches[i + 1].start - (m_stretches[i].start + m_stretches[i].length);
        if (gap < bestGap) {
            bestGap = gap;
            best = i;
        }
    }
    EditedStretch& a = m_stretches[best];
    const EditedStretch& b = m_stretches[best + 1];
    a.length = b.start + b.length - a.start;
    a.loadedLength += bestGap + b.loadedLength;
    m_stretches.erase(m_stretches.begin() + qsizetype(best) + 1);
}

PaneCopy PaneCopy::wholeText(QString text) {
    PaneCopy copy;
    copy.stretches.push_back({0, text.size(), 0});
    copy.texts.push_back(std::move(text));
    return copy;
}

std::optional<QString> rebuildPaneText(const PaneCopy& copy) {
    if (copy.texts.size() != copy.stretches.size()) return std::nullopt;
    const QString loaded = cp932::decodeForPane(copy.loaded);
    if (loaded.size() != copy.loadedUnits) return std::nullopt;
    QString text;
    qsizetype size = loaded.size();
    for (const EditedStretch& s : copy.stretches)
        size += s.length - s.loadedLength;
    text.reserve(size);
    qsizetype fromLoaded = 0; // next unit of the loaded text to take
    for (size_t i = 0; i < copy.stretches.size(); ++i) {
        const EditedStretch& s = copy.stretches[i];
        const qsizetype untouched = s.start - text.size();
        if (untouched < 0 || s.length != copy.texts[i].size() ||
            fromLoaded + untouched + s.loadedLength > loaded.size())
            return std::nullopt;
        text.append(QStringView(loaded).sliced(fromLoaded, untouched));
        text.append(copy.texts[i]);
        fromLoaded += untouched + s.loadedLength;
    }
    text.append(QStringView(loaded).sliced(fromLoaded));
    return text;
}

} // namespace pote::recovery
