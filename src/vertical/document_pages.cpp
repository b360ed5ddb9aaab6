#include "vertical/document_pages.h"

#include <algorithm>

namespace pote::vertical {

namespace {

QList<SectionSource> atLeastOne(QList<SectionSource> sections) {
    // Even an empty document has a section to stand on.
    if (sections.isEmpty()) sections.append(SectionSource{});
    return sections;
}

} // namespace

DocumentPages::DocumentPages(QList<SectionSource> sections, PageFormat format)
    : m_sections(atLeastOne(std::move(sections))), m_format(format), m_layout(m_sections, format) {
    m_counts.fill(-1, m_sections.size());
}

DocumentPages::~DocumentPages() = default;

int DocumentPages::pagesOf(int section) {
    int& count = m_counts[section];
    // A section that shows nothing takes no page, as in the character count's pages.
    if (count < 0) count = layoutOf(section).lineCount() == 0 ? 0 : layoutOf(section).pageCount();
    return count;
}

std::optional<int> DocumentPages::sectionWithPages(int from, int step) {
    for (int s = from; s >= 0 && s < sectionCount(); s += step)
        if (pagesOf(s) > 0) return s;
    return std::nullopt;
}

Page DocumentPages::pageAt(PagePlace place) {
    if (place.section < 0 || place.section >= sectionCount() || place.page < 0 ||
        place.page >= pagesOf(place.section))
        return {};
    return layoutOf(place.section).page(place.page);
}

PagePlace DocumentPages::placeOf(int section, quint32 byteOffset) {
    section = std::clamp(section, 0, sectionCount() - 1);
    if (pagesOf(section) == 0) {
        // Nothing of it to show: the page where the document goes on, or where it ended.
        if (const std::optional<int> after = sectionWithPages(section + 1, 1)) return {*after, 0};
        if (const std::optional<int> before = sectionWithPages(section - 1, -1))
            return {*before, pagesOf(*before) - 1};
        return {};
    }
    const int page = layoutOf(section).pageOfOffset(byteOffset);
    return {section, std::clamp(page, 0, pagesOf(section) - 1)};
}

std::optional<PagePlace> DocumentPages::next(PagePlace place) {
    if (place.page + 1 < pagesOf(place.section)) return PagePlace{place.section, place.page + 1};
    if (const std::optional<int> s = sectionWithPages(place.section + 1, 1))
        return PagePlace{*s, 0};
    return std::nullopt;
}

std::optional<PagePlace> DocumentPages::previous(PagePlace place) {
    if (place.page > 0) return PagePlace{place.section, place.page - 1};
    if (const std::optional<int> s = sectionWithPages(place.section - 1, -1))
        return PagePlace{*s, pagesOf(*s) - 1};
    return std::nullopt;
}

PagePlace DocumentPages::first() {
    if (const std::optional<int> s = sectionWithPages(0, 1)) return {*s, 0};
    return {};
}

PagePlace DocumentPages::last() {
    if (const std::optional<int> s = sectionWithPages(sectionCount() - 1, -1))
        return {*s, pagesOf(*s) - 1};
    return {};
}

void DocumentPages::setSection(int section, SectionSource text) {
    if (section < 0 || section >= sectionCount()) return;
    m_sections[section] = std::move(text);
    // Laid out afresh where asked; the other sections' counts stay.
    m_layout = DocumentLayout(m_sections, m_format);
    m_counts[section] = -1;
}

void DocumentPages::adoptCounts(const QList<int>& counts) {
    for (qsizetype i = 0; i < std::min(counts.size(), m_counts.size()); ++i)
        if (m_counts[i] < 0 && counts[i] >= 0) m_counts[i] = counts[i];
}

bool DocumentPages::allCounted() const {
    return std::none_of(m_counts.cbegin(), m_counts.cend(), [](int c) { return c < 0; });
}

std::optional<int> DocumentPages::numberOf(PagePlace place) const {
    int before = 0;
    for (int s = 0; s < place.section && s < sectionCount(); ++s) {
        if (m_counts[s] < 0) return std::nullopt;
        before += m_counts[s];
    }
    return before + place.page;
}

std::optional<int> DocumentPages::knownPageCount() const {
    if (!allCounted()) return std::nullopt;
    int total = 0;
    for (int c : m_counts)
        total += c;
    // A document that shows nothing still has its one empty page.
    return std::max(1, total);
}

int DocumentPages::pageCount() {
    return m_layout.pageCount();
}

Page DocumentPages::page(int n) {
    return m_layout.page(n);
}

QList<int> countPages(const QList<SectionSource>& sections, const PageFormat& format,
                      const std::atomic<bool>& stop) {
    QList<int> counts;
    counts.reserve(sections.size());
    for (const SectionSource& s : sections) {
        if (stop.load(std::memory_order_relaxed)) break;
        counts.append(count_pages(s.text, s.name, format));
    }
    return counts;
}

} // namespace pote::vertical
