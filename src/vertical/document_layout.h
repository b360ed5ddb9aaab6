#pragma once
// A whole document laid out as one run of pages, each section from a new page, without laying
// out what nobody asked for: a section's pages are counted (its page index built) only when a
// question needs them, from the first section on, and pages are laid out one at a time. The
// first page of a 500-section document costs its first section's index and one page.
//
// Not for sharing between threads; a second one over the same texts is cheap (QByteArray
// shares them).

#include "vertical/layout.h"

#include <QByteArray>
#include <QList>

#include <memory>
#include <vector>

namespace pote::vertical {

struct SectionSource {
    QByteArray text;
    QByteArray name;
};

class DocumentLayout {
public:
    DocumentLayout(QList<SectionSource> sections, PageFormat format);
    ~DocumentLayout();
    DocumentLayout(DocumentLayout&&) noexcept;
    DocumentLayout& operator=(DocumentLayout&&) noexcept;

    const PageFormat& format() const;
    int sectionCount() const;

    // A section that shows nothing takes no page, as in the character count; a document that
    // shows nothing at all still has one empty page, so there is always a page to show.
    int pageCount(); // counts every section

    // Where a page of the document is: its section and the page within it.
    struct Place {
        int section = 0;
        int page = 0;
        bool operator==(const Place&) const = default;
    };
    Place placeOfPage(int page); // counts sections until the page is found; clamped to the last
    Page page(int page);         // an empty page past the end
    // The document's page where a section begins (or, when it shows nothing, the page before
    // where it would begin), and the page that shows the character at a byte offset of a
    // section's text. Counts the sections up to that one.
    int firstPageOfSection(int section);
    int pageOfOffset(int section, quint32 byteOffset);

    // Counting a little at a time, for a caller that shows "p / N" before N is known: counts
    // the next uncounted section and says whether any remain.
    bool countNextSection();
    int countedSections() const;

    SectionLayout& section(int section);

private:
    int pagesOf(int section);
    void countThrough(int section); // counts sections [0, section]

    std::vector<SectionSource> m_sources;
    std::vector<std::unique_ptr<SectionLayout>> m_sections; // made when first asked for
    std::vector<int> m_firstPage; // of each counted section, plus one past the last counted
    PageFormat m_format;
};

} // namespace pote::vertical
