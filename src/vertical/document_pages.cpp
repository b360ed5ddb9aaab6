#include "vertical/document_pages.h"

#include <algorithm>

namespace pote::vertical {

DocumentPages::DocumentPages(QList<SectionSource> sections, PageFormat format) : m_format(format) {
    // Even an empty document has a section to stand on.
    if (sections.isEmpty()) sections.append(SectionSource{});
    m_sections.resize(size_t(sections.size()));
    for (qsizetype i = 0; i < sections.size(); ++i)
        m_sections[size_t(i)].source = std::move(sections[i]);
}

DocumentPages::~DocumentPages() = default;
DocumentPages::DocumentPages(DocumentPages&&) noexcept = default;
DocumentPages& DocumentPages::operator=(DocumentPages&&) noexcept = default;

SectionLayout& DocumentPages::layoutOf(int section) {
    Section& s = m_sections[size_t(section)];
    if (!s.layout)
        s.layout = std::make_unique<SectionLayout>(s.source.text, s.source.name, m_format);
    return *s.layout;
}

int DocumentPages::pagesOf(int section) {
    int& count = m_sections[size_t(section)].count;
    if (count < 0) count = layoutOf(section).pagesShown();
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
    Section& s = m_sections[size_t(section)];
    if (s.layout && text.name == s.source.name) {
        // Typing changes a text from one place on: the pages before it stay as they are.
        const QByteArray& old = s.source.text;
        const qsizetype common = std::min(old.size(), text.text.size());
        const auto differ = std::mismatch(old.cbegin(), old.cbegin() + common, text.text.cbegin());
        setSectionText(section, std::move(text.text), quint32(differ.first - old.cbegin()));
        return;
    }
    s.source = std::move(text);
    s.layout.reset();
    s.count = -1;
}

void DocumentPages::setSectionText(int section, QByteArray text, quint32 from) {
    if (section < 0 || section >= sectionCount()) return;
    Section& s = m_sections[size_t(section)];
    s.source.text = std::move(text);
    if (s.layout) s.layout->textChanged(s.source.text, from);
    s.count = -1;
}

void DocumentPages::adoptCounts(const QList<int>& counts) {
    const qsizetype n = std::min(counts.size(), qsizetype(m_sections.size()));
    for (qsizetype i = 0; i < n; ++i) {
        int& count = m_sections[size_t(i)].count;
        if (count < 0 && counts[i] >= 0) count = counts[i];
    }
}

bool DocumentPages::allCounted() const {
    return std::none_of(m_sections.cbegin(), m_sections.cend(),
                        [](const Section& s) { return s.count < 0; });
}

std::optional<int> DocumentPages::numberOf(PagePlace place) const {
    int before = 0;
    for (int s = 0; s < place.section && s < sectionCount(); ++s) {
        const int count = m_sections[size_t(s)].count;
        if (count < 0) return std::nullopt;
        before += count;
    }
    return before + place.page;
}

std::optional<int> DocumentPages::knownPageCount() const {
    if (!allCounted()) return std::nullopt;
    int total = 0;
    for (const Section& s : m_sections)
        total += s.count;
    return std::max(1, total);
}

int DocumentPages::pageCount() {
    for (int s = 0; s < sectionCount(); ++s)
        pagesOf(s);
    return *knownPageCount();
}

Page DocumentPages::page(int n) {
    if (n < 0) return {};
    for (int s = 0; s < sectionCount(); ++s) {
        const int pages = pagesOf(s);
        if (n < pages) return layoutOf(s).page(n);
        n -= pages;
    }
    return {};
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
