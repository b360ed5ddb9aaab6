#pragma once
// Finding a text in every section of a document at once. It works on a snapshot of the texts
// (QByteArrays share their bytes, so taking one is cheap), so it can run off the user-interface
// thread while the user goes on typing.

#include "editing/search.h"

#include <QByteArray>

#include <atomic>
#include <functional>
#include <vector>

namespace pote {

class SectionStore;

struct SectionHit {
    int section = 0;      // position in the document (shown as section + 1)
    qsizetype offset = 0; // byte offset of the hit in the section's text
    qsizetype line = 0;   // 0-based; a line ends at CR LF, a lone CR or a lone LF
    qsizetype lineStart = 0;
    qsizetype lineEnd = 0; // where the hit's line break starts (or the text ends)
};

// What a hit's row shows: the line's text around the hit, never cut inside a character.
struct HitContext {
    QByteArray text;
    qsizetype hitAt = 0;    // where the hit starts in text
    bool cutBefore = false; // the line goes on before text
    bool cutAfter = false;  // the line goes on after text
};
HitContext hit_context(QByteArrayView sectionText, const SectionHit& hit, qsizetype patternSize,
                       qsizetype before = 40, qsizetype after = 80);

// The texts to search: the stored sections, with the pane's own (perhaps unsaved) text in
// place of the current one.
std::vector<QByteArray> search_snapshot(const SectionStore& store, const QByteArray& paneText);

// Called for each hit in document order; returning false ends the search.
using HitSink = std::function<bool(const SectionHit&)>;
// Called after each section with the sections searched so far and the hits found so far.
using SearchProgress = std::function<void(int sectionsDone, qint64 hitsFound)>;

enum class SearchEnd { Finished, Cancelled, Stopped };

// Hits do not overlap: the next search starts right after the previous hit, as find-next does.
// cancel (optional) is polled between hits and sections.
SearchEnd search_sections(const std::vector<QByteArray>& texts, QByteArrayView pattern,
                          CaseMode mode, const HitSink& onHit,
                          const std::atomic_bool* cancel = nullptr,
                          const SearchProgress& progress = {});

// The hits of one text that start in [from, limit), in order, their lines numbered from the
// text's start; the search after them goes on at next (limit, or the end of a hit that runs
// past it). Past limit only the pattern's size and one byte more are looked at, so a text read
// a window at a time need hold no more than that beyond the window's end.
SearchEnd search_text(QByteArrayView text, const TextSearcher& searcher, int section,
                      qsizetype from, qsizetype limit, const HitSink& onHit, qsizetype& next);
// The line breaks that end in text[0, to): a CR LF counts once, at its LF.
qsizetype count_line_breaks(QByteArrayView text, qsizetype to);

// The result list's form: at most maxHits hits.
struct SectionSearchResult {
    std::vector<SectionHit> hits;
    bool truncated = false; // more hits than maxHits
    bool cancelled = false;
};
constexpr qsizetype kMaxListedHits = 100000;
SectionSearchResult collect_hits(const std::vector<QByteArray>& texts, QByteArrayView pattern,
                                 CaseMode mode, qsizetype maxHits = kMaxListedHits,
                                 const std::atomic_bool* cancel = nullptr,
                                 const SearchProgress& progress = {});

} // namespace pote
