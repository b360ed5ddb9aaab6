#pragma once
// A whole document's vertical pages, each section from a new page, laid out only where asked:
// the preview walks them by section and page, so that the page of the caret shows without
// counting the sections before it; the numbers across the document come from counts that may
// be taken in the background; printing and the PDF take them one after another by number.
// Each section is laid out, and its page index built, on the first question about it; a change
// to one section, or to a range of its paragraphs, lays out again only what it can have moved.
//
// Not for sharing between threads; a second one over the same texts is cheap (QByteArray
// shares them).

#include "vertical/layout.h"

#include <QByteArray>
#include <QList>

#include <atomic>
#include <memory>
#include <optional>
#include <vector>

namespace pote::vertical {

struct SectionSource {
    QByteArray text;
    QByteArray name;
};

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
    DocumentPages(DocumentPages&&) noexcept;
    DocumentPages& operator=(DocumentPages&&) noexcept;

    const PageFormat& format() const override { return m_format; }
    int sectionCount() const { return int(m_sections.size()); }

    // What lays out only the section it is about. A section that shows nothing has no pages.
    int pagesOf(int section);
    Page pageAt(PagePlace place);
    // The page that shows the character at a byte offset of a section's text; for a section
    // that shows nothing, the page where the document goes on, or where it ended.
    PagePlace placeOf(int section, quint32 byteOffset);
    std::optional<PagePlace> next(PagePlace place);
    std::optional<PagePlace> previous(PagePlace place);
    PagePlace first();
    PagePlace last();

    // The section's text changed: its pages from the first byte that differs on are laid out
    // again when next asked for; the other sections keep theirs.
    void setSection(int section, SectionSource text);
    // Only the section's text from byte `from` on changed (an edit in a range of paragraphs):
    // its pages before the line holding `from` keep their places.
    void setSectionText(int section, QByteArray text, quint32 from);

    // The page numbers across the document need every section before the page counted.
    // Counts taken elsewhere (countPages on the same texts) can be handed in.
    void adoptCounts(const QList<int>& counts);
    // Sections whose pages are not counted yet.
    bool allCounted() const;
    // The page's number from 0 across the document; nullopt until the sections before it are
    // counted.
    std::optional<int> numberOf(PagePlace place) const;
    // Pages in all; nullopt until every section is counted. A document that shows nothing
    // still has its one empty page.
    std::optional<int> knownPageCount() const;

    // PageSource: counts every section first. Page n past the end is an empty page.
    int pageCount() override;
    Page page(int n) override;

private:
    struct Section {
        SectionSource source;
        std::unique_ptr<SectionLayout> layout; // made when first asked for
        int count = -1;                        // pages shown; -1: not counted
    };

    SectionLayout& layoutOf(int section);
    // The first section from `from` on, going by step, that has pages.
    std::optional<int> sectionWithPages(int from, int step);

    std::vector<Section> m_sections;
    PageFormat m_format;
};

// The number of pages each section shows, as DocumentPages counts them; stops early (with the
// counts so far) when stop becomes true.
QList<int> countPages(const QList<SectionSource>& sections, const PageFormat& format,
                      const std::atomic<bool>& stop);

} // namespace pote::vertical
