#include "vertical/layout.h"

#include "core/text_lines.h"
#include "vertical/line_rules.h"

#include <algorithm>
#include <optional>
#include <span>
#include <vector>

namespace pote::vertical {

namespace {

// Where a page begins, enough to lay it out without what comes before it: the text line, which
// of its paragraphs (-1: the section's name), the paragraph's cell, and the offset of the first
// character shown (for finding the page of an offset).
struct PageStart {
    quint32 line = 0;
    qint32 paragraph = 0;
    quint32 cell = 0;
    quint32 offset = 0;
};

// A format as set by hand may hold anything; a line or a page holds at least one.
PageFormat usable(PageFormat format) {
    format.charsPerLine = std::max(1, format.charsPerLine);
    format.linesPerPage = std::max(1, format.linesPerPage);
    return format;
}

// Walks a section's text from a page start, line by line. A sink hears of each line
// (line(cells, paragraph, first, last)) and, before it, of each page after the first that it
// begins (newPage(start)); either returns false to stop the walk.
class Flow {
public:
    Flow(QByteArrayView text, QByteArrayView name, const PageFormat& format, bool withCells)
        : m_text(text), m_name(format.sectionNameFirst ? name : QByteArrayView()),
          m_format(usable(format)), m_withCells(withCells) {}

    PageStart firstPage() const { return PageStart{0, m_name.isEmpty() ? 0 : -1, 0, 0}; }

    // `from` is a copy: an index sink adds to the list it may come from.
    template <class Sink> void run(PageStart from, Sink& sink) {
        m_linesOnPage = 0;
        m_pendingBreak = false;
        if (from.paragraph < 0 &&
            !place(plainParagraph(m_name, 0), PageStart{0, -1, from.cell, 0}, sink))
            return;
        bool resuming = from.paragraph >= 0;
        for (qsizetype at = from.line; at < m_text.size();) {
            const LineSpan span = lineAt(at);
            const std::span<const Paragraph> paragraphs = parsed(at, span.end);
            for (size_t k = resuming ? size_t(from.paragraph) : 0; k < paragraphs.size(); ++k) {
                const Paragraph& p = paragraphs[k];
                const bool resumeHere = resuming && k == size_t(from.paragraph);
                if (p.pageBreakBefore && !resumeHere) m_pendingBreak = true;
                if (p.pageBreakBefore && p.chars.isEmpty()) continue;
                const PageStart start{quint32(at), qint32(k), resumeHere ? from.cell : 0,
                                      quint32(at)};
                if (!place(p, start, sink)) return;
            }
            resuming = false;
            at = span.next;
        }
    }

private:
    // The paragraphs of the text line at `at`. The last line read is kept, with the cells of its
    // last paragraph: pages drawn one after another out of one long line (a section written
    // without a line break) then read it once, not once a page.
    // The text line at `at`; the last one found is kept, as finding its end reads all of it.
    LineSpan lineAt(qsizetype at) {
        if (at != m_spanFrom) {
            m_span = line_at(m_text, at);
            m_spanFrom = at;
        }
        return m_span;
    }

    std::span<const Paragraph> parsed(qsizetype at, qsizetype end) {
        if (at != m_parsedLine) {
            m_paragraphs = m_parser.parse(m_text.sliced(at, end - at), quint32(at));
            m_parsedLine = at;
            m_builtFor = nullptr;
        }
        return m_paragraphs;
    }

    // Lays out paragraph p from the cell in `start`; false when the sink stopped.
    template <class Sink> bool place(const Paragraph& p, PageStart start, Sink& sink) {
        const int perLine = m_format.charsPerLine;
        if (&p != m_builtFor) {
            m_cells.build(p, m_format.indentParagraphs && start.paragraph >= 0, perLine,
                          m_withCells);
            // The name is read afresh each time; only the text's paragraphs stay.
            m_builtFor = start.paragraph >= 0 ? &p : nullptr;
        }
        const qsizetype n = m_cells.size();
        qsizetype first = start.cell;
        do { // an empty paragraph still takes its line
            const qsizetype last = n == 0 ? 0 : m_cells.lineEnd(first, perLine);
            if (m_linesOnPage == m_format.linesPerPage || (m_pendingBreak && m_linesOnPage > 0)) {
                start.cell = quint32(first);
                // The name's characters count from its own start, not the text's: a page of
                // the name line begins before the text's first character.
                if (n > 0 && start.paragraph >= 0) start.offset = m_cells.offset(first);
                if (!sink.newPage(start)) return false;
                m_linesOnPage = 0;
            }
            m_pendingBreak = false;
            ++m_linesOnPage;
            if (!sink.line(m_cells, p, first, last)) return false;
            first = last;
        } while (first < n);
        return true;
    }

    QByteArrayView m_text;
    QByteArrayView m_name;
    PageFormat m_format;
    bool m_withCells;
    LineParser m_parser;
    qsizetype m_spanFrom = -1;
    LineSpan m_span{};
    qsizetype m_parsedLine = -1;
    std::span<const Paragraph> m_paragraphs;
    ParagraphCells m_cells;
    const Paragraph* m_builtFor = nullptr; // the paragraph m_cells holds, when one of the text's
    int m_linesOnPage = 0;
    bool m_pendingBreak = false;
};

struct TallySink {
    PageTally tally{1, 0};
    bool newPage(const PageStart&) {
        ++tally.pages;
        return true;
    }
    bool line(const ParagraphCells&, const Paragraph&, qsizetype, qsizetype) {
        ++tally.lines;
        return true;
    }
};

struct IndexSink {
    std::vector<PageStart>& starts;
    std::vector<qint64>& linesBefore;
    qint64 lines = 0; // from the section's start
    bool newPage(PageStart start) {
        // Page starts stay in offset order, which the search for an offset's page relies on:
        // an added indent cell has its paragraph's first offset, not one of its own.
        start.offset = std::max(start.offset, starts.back().offset);
        starts.push_back(start);
        linesBefore.push_back(lines);
        return true;
    }
    bool line(const ParagraphCells&, const Paragraph&, qsizetype, qsizetype) {
        ++lines;
        return true;
    }
};

// Fills one page: its lines' cells and the marks over them.
struct PageSink {
    Page page;
    int linesPerPage;
    int charsPerLine;

    bool newPage(const PageStart&) { return false; }

    bool line(const ParagraphCells& cells, const Paragraph& p, qsizetype first, qsizetype last) {
        const int lineIndex = int(page.lines.size());
        page.lines.append(Line{QList<Cell>(cells.cells() + first, cells.cells() + last)});
        // The part of the span [a, b) of cells that this line holds, as cells of the line.
        const auto onLine = [&](qsizetype a, qsizetype b, auto&& mark) {
            const qsizetype from = std::max(a, first);
            const qsizetype to = std::min(b, last);
            if (from < to) mark(int(from - first), int(to - first), from - a, to - a, b - a);
        };
        // Only the marks that reach this line: a long paragraph holds many, and each of its
        // lines would otherwise look at all of them.
        const auto reaching = [&](const auto& spans) {
            return std::partition_point(spans.begin(), spans.end(), [&](const auto& span) {
                return cells.cellOfChar(span.last - 1) + 1 <= first;
            });
        };
        for (auto r = reaching(p.ruby); r != p.ruby.end() && cells.cellOfChar(r->first) < last;
             ++r) {
            onLine(cells.cellOfChar(r->first), cells.cellOfChar(r->last - 1) + 1,
                   [&](int firstCell, int lastCell, qsizetype from, qsizetype to, qsizetype all) {
                       const qsizetype length = r->reading.size();
                       const QString part = r->reading.sliced(
                           length * from / all, length * to / all - length * from / all);
                       if (part.isEmpty()) return;
                       const RubyPlace place =
                           placeRuby(firstCell, lastCell, part.size(), charsPerLine);
                       page.ruby.append(
                           RubyMark{lineIndex, firstCell, lastCell, part, place.top, place.length});
                   });
        }
        for (auto e = reaching(p.emphasis);
             e != p.emphasis.end() && cells.cellOfChar(e->first) < last; ++e) {
            onLine(cells.cellOfChar(e->first), cells.cellOfChar(e->last - 1) + 1,
                   [&](int firstCell, int lastCell, qsizetype, qsizetype, qsizetype) {
                       page.emphasis.append(EmphasisMark{lineIndex, firstCell, lastCell});
                   });
        }
        return page.lines.size() < linesPerPage;
    }
};

} // namespace

namespace {

// A section that shows nothing (no text, no name line) takes no page where sections follow
// each other, although on its own it has an empty one to show.
int pagesShown(int pages, qint64 lines) {
    return lines == 0 ? 0 : pages;
}

} // namespace

struct SectionLayout::Impl {
    QByteArray text;
    QByteArray name;
    PageFormat format;
    bool indexed = false;
    std::vector<PageStart> starts;   // of every page, in order
    std::vector<qint64> linesBefore; // of each page in starts
    qint64 lines = 0;

    std::optional<Flow> pageFlow; // kept between pages, with the line it read last

    Flow flow(bool withCells) const { return Flow(text, name, format, withCells); }

    // The flow that draws pages, made once: the index is taken with it too, so that a section
    // written as one long line is read and cut into cells once, not once more for its pages.
    Flow& pages() {
        if (!pageFlow) pageFlow.emplace(flow(true));
        return *pageFlow;
    }

    // From the last page start kept (the first page's when none is), on to the end.
    void index() {
        if (indexed) return;
        Flow& f = pages();
        if (starts.empty()) {
            starts.assign(1, f.firstPage());
            linesBefore.assign(1, 0);
        }
        const qint64 before = linesBefore.back();
        IndexSink sink{starts, linesBefore, before};
        f.run(starts.back(), sink);
        lines = sink.lines;
        starts.shrink_to_fit();
        linesBefore.shrink_to_fit();
        indexed = true;
    }
};

SectionLayout::SectionLayout(QByteArray text, QByteArray name, PageFormat format)
    : d(std::make_unique<Impl>()) {
    d->text = std::move(text);
    d->name = std::move(name);
    d->format = usable(format);
}

SectionLayout::~SectionLayout() = default;
SectionLayout::SectionLayout(SectionLayout&&) noexcept = default;
SectionLayout& SectionLayout::operator=(SectionLayout&&) noexcept = default;

const PageFormat& SectionLayout::format() const {
    return d->format;
}

int SectionLayout::pageCount() {
    d->index();
    return int(d->starts.size());
}

qint64 SectionLayout::lineCount() {
    d->index();
    return d->lines;
}

Page SectionLayout::page(int n) {
    d->index();
    if (n < 0 || size_t(n) >= d->starts.size()) return {};
    PageSink sink{{}, d->format.linesPerPage, d->format.charsPerLine};
    sink.page.lines.reserve(std::min(d->format.linesPerPage, 60));
    d->pages().run(d->starts[size_t(n)], sink);
    return std::move(sink.page);
}

int SectionLayout::pagesShown() {
    d->index();
    return vertical::pagesShown(int(d->starts.size()), d->lines);
}

void SectionLayout::textChanged(QByteArray text, quint32 from) {
    from = std::min(from, quint32(std::min(d->text.size(), text.size())));
    // The start of the line holding `from`: a page that starts before it is placed by what came
    // before, which did not change.
    qsizetype lineStart = from;
    while (lineStart > 0 && d->text[lineStart - 1] != '\n' && d->text[lineStart - 1] != '\r')
        --lineStart;
    // The name line's pages come first and do not depend on the text.
    const auto kept =
        std::partition_point(d->starts.begin(), d->starts.end(), [&](const PageStart& s) {
            return s.paragraph < 0 || qsizetype(s.line) < lineStart;
        });
    const std::size_t keep = std::size_t(kept - d->starts.begin());
    d->starts.resize(keep);
    d->linesBefore.resize(keep);
    d->text = std::move(text);
    d->pageFlow.reset(); // it reads the old text
    d->indexed = false;
}

int SectionLayout::pageOfOffset(quint32 byteOffset) {
    d->index();
    const auto after =
        std::upper_bound(d->starts.begin(), d->starts.end(), byteOffset,
                         [](quint32 offset, const PageStart& s) { return offset < s.offset; });
    return std::max(0, int(after - d->starts.begin()) - 1);
}

PageTally tally_pages(QByteArrayView text, QByteArrayView name, const PageFormat& format) {
    Flow f(text, name, format, false);
    TallySink sink;
    f.run(f.firstPage(), sink);
    sink.tally.pages = pagesShown(sink.tally.pages, sink.tally.lines);
    return sink.tally;
}

int count_pages(QByteArrayView text, QByteArrayView name, const PageFormat& format) {
    return tally_pages(text, name, format).pages;
}

} // namespace pote::vertical
