#pragma once
// The document's pages as the preview walks them: by section and page, so that the page of the
// caret shows without counting the sections before it, with the numbers across the document
// coming from counts that may be taken in the background. The pages themselves, and the pages
// one after another for printing, are the document layout's. Sections are laid out
// only when a page of theirs is asked for, so a long document shows its first page at once;
// the page numbers across sections come from counts that may be taken in the background.

#include "vertical/document_layout.h"

#include <QByteArray>
#include <QList>

#include <atomic>
#include <memory>
#include <optional>
#include <vector>

namespace pote::vertical {

// Pages asked for by number, from the first: what printing and PDF export go through.
class PageSource {
public:
    virtual ~PageSource() = default;
    virtual const PageFormat& format() const = 0;
    virtual int pageCount() = 0;
    virtual Page page(int n) = 0;
};

// A page of one section.
struct PagePlace {
    int section = 0;
    int page = 0;
    bool operator==(const PagePlace&) const = default;
};

class DocumentPages : public PageSource {
public:
    DocumentPages(QList<SectionSource> sections, PageFormat format);
    ~DocumentPages() override;

    const PageFormat& format() const override { return m_format; }
    int sectionCount() const { return int(m_sections.size()); }

    // What lays out only the section it is about.
    int pagesOf(int section);
    Page pageAt(PagePlace place);
    PagePlace placeOf(int section, quint32 byteOffset);
    std::optional<PagePlace> next(PagePlace place);
    std::optional<PagePlace> previous(PagePlace place);
    PagePlace first();
    PagePlace last();

    // The section's text changed: its pages are laid out again when next asked for.
    void setSection(int section, SectionSource text);

    // The page numbers across the document need every section before the page counted.
    // Counts taken elsewhere (countPages on the same texts) can be handed in.
    void adoptCounts(const QList<int>& counts);
    // Sections whose pages are not counted yet.
    bool allCounted() const;
    // The page's number from 0 across the document; nullopt until the sections before it are
    // counted.
    std::optional<int> numberOf(PagePlace place) const;
    // Pages in all; nullopt until every section is counted.
    std::optional<int> knownPageCount() const;

    // PageSource: the document layout's pages, every section counted first.
    int pageCount() override;
    Page page(int n) override;

private:
    SectionLayout& layoutOf(int section) { return m_layout.section(section); }
    // The first section from `from` on, going by step, that has pages.
    std::optional<int> sectionWithPages(int from, int step);

    QList<SectionSource> m_sections;
    PageFormat m_format;
    DocumentLayout m_layout;
    QList<int> m_counts; // -1: not counted
};

// The number of pages each section shows, as DocumentPages counts them; stops early (with the
// counts so far) when stop becomes true.
QList<int> countPages(const QList<SectionSource>& sections, const PageFormat& format,
                      const std::atomic<bool>& stop);

} // namespace pote::vertical
