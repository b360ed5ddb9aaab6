#include "vertical/document_layout.h"

#include <algorithm>

namespace pote::vertical {

DocumentLayout::DocumentLayout(QList<SectionSource> sections, PageFormat format)
    : m_sources(std::make_move_iterator(sections.begin()), std::make_move_iterator(sections.end())),
      m_sections(m_sources.size()), m_firstPage{0}, m_format(format) {}

DocumentLayout::~DocumentLayout() = default;
DocumentLayout::DocumentLayout(DocumentLayout&&) noexcept = default;
DocumentLayout& DocumentLayout::operator=(DocumentLayout&&) noexcept = default;

const PageFormat& DocumentLayout::format() const {
    return m_format;
}

int DocumentLayout::sectionCount() const {
    return int(m_sources.size());
}

int DocumentLayout::countedSections() const {
    return int(m_firstPage.size()) - 1;
}

SectionLayout& DocumentLayout::section(int section) {
    std::unique_ptr<SectionLayout>& slot = m_sections[size_t(section)];
    if (!slot) {
        const SectionSource& source = m_sources[size_t(section)];
        slot = std::make_unique<SectionLayout>(source.text, source.name, m_format);
    }
    return *slot;
}

int DocumentLayout::pagesOf(int section) {
    SectionLayout& layout = this->section(section);
    return layout.lineCount() == 0 ? 0 : layout.pageCount();
}

bool DocumentLayout::countNextSection() {
    const int next = countedSections();
    if (next < sectionCount()) m_firstPage.push_back(m_firstPage.back() + pagesOf(next));
    return countedSections() < sectionCount();
}

void DocumentLayout::countThrough(int section) {
    while (countedSections() <= section && countedSections() < sectionCount())
        countNextSection();
}

int DocumentLayout::pageCount() {
    countThrough(sectionCount() - 1);
    return std::max(1, m_firstPage.back());
}

DocumentLayout::Place DocumentLayout::placeOfPage(int page) {
    page = std::max(0, page);
    while (m_firstPage.back() <= page && countedSections() < sectionCount())
        countNextSection();
    if (m_firstPage.back() == 0) return {}; // nothing to show: the one empty page
    page = std::min(page, m_firstPage.back() - 1);
    // The last section that begins at or before the page; sections without pages begin where
    // the next one does, so it is never one of them.
    const int section =
        int(std::upper_bound(m_firstPage.begin(), m_firstPage.end(), page) - m_firstPage.begin()) -
        1;
    return {section, page - m_firstPage[size_t(section)]};
}

Page DocumentLayout::page(int page) {
    if (page < 0 || sectionCount() == 0) return {};
    const Place place = placeOfPage(page);
    if (page >= std::max(1, m_firstPage.back())) return {}; // past the end, all counted
    return section(place.section).page(place.page);
}

int DocumentLayout::firstPageOfSection(int section) {
    if (sectionCount() == 0) return 0;
    section = std::clamp(section, 0, sectionCount() - 1);
    countThrough(section);
    const int first = m_firstPage[size_t(section)];
    return m_firstPage[size_t(section) + 1] > first ? first : std::max(0, first - 1);
}

int DocumentLayout::pageOfOffset(int section, quint32 byteOffset) {
    if (sectionCount() == 0) return 0;
    section = std::clamp(section, 0, sectionCount() - 1);
    const int first = firstPageOfSection(section);
    return pagesOf(section) == 0 ? first : first + this->section(section).pageOfOffset(byteOffset);
}

} // namespace pote::vertical
