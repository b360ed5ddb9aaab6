// Vertical layout costs against their baselines, in the same process:
//  - laying out a 1 MB section (about 500,000 characters of prose with ruby, dots, dialogue,
//    dashes and numbers): its page index, and every page with its cells, against one pass of
//    the character count over the same bytes (<= 5x);
//  - the preview's first page of a 100 MB, 500-section document against laying out all of it
//    (<= 0.05x): it must not lay out what it does not show;
//  - the pages of a 4 MB line of ［＃「ん」に傍点］ notes against a 1 MB one (<= 5x): the notes
//    are read in time linear in the line, not quadratic (16x);
//  - every page of a 1 MB section written as one line against the same text broken every 400
//    characters (<= 1.5x): a long paragraph is not read again for each page;
//  - the pages of a 1 MB section counted again after an edit nine tenths into it, against its
//    whole page index (<= 0.2x): the pages before the edit keep their places.

#include "core/cp932.h"
#include "editing/character_count.h"
#include "vertical/document_pages.h"
#include "vertical/layout.h"

#include "support/bench_support.h"

#include <benchmark/benchmark.h>

namespace {

using namespace pote;
using namespace pote::vertical;

// Prose with the writer's markup spread through it.
QByteArray manuscript(qsizetype bytes) {
    QByteArray text = bench::japaneseProse(bytes);
    const int lines = int(text.count('\n'));
    text = bench::withMarkers(text, cp932::encode(u"吾輩《わがはい》は"), lines / 8);
    text = bench::withMarkers(text, cp932::encode(u"《《本当に》》――"), lines / 16);
    text = bench::withMarkers(text, cp932::encode(u"｜台所《だいどころ》で"), lines / 16);
    return text;
}

const QByteArray& section1MB() {
    static const QByteArray text = manuscript(1 << 20);
    return text;
}

const QList<SectionSource>& document100MB() {
    static const QList<SectionSource> sections = [] {
        QList<SectionSource> s;
        const QByteArray text = manuscript(200 * 1024);
        for (int k = 0; k < 500; ++k)
            s.append({text, cp932::encode(QStringLiteral("第%1章").arg(k + 1))});
        return s;
    }();
    return sections;
}

// One line of dots notes that each find their text only every other time.
QByteArray notesLine(qsizetype bytes) {
    const QByteArray note = cp932::encode(u"［＃「ん」に傍点］");
    return note.repeated(bytes / note.size());
}

void BM_NotesLinePages(benchmark::State& state) {
    const QByteArray text = notesLine(state.range(0) << 20);
    for (auto _ : state)
        benchmark::DoNotOptimize(count_pages(text, {}, PageFormat::genkou()));
}

// The 1 MB manuscript as one line, or broken every 400 characters (800 bytes, at a character).
QByteArray oneLine() {
    QByteArray text = section1MB();
    text.replace("\r\n", "");
    return text;
}

QByteArray brokenLines() {
    const QByteArray line = oneLine();
    QByteArray text;
    for (qsizetype at = 0; at < line.size();) {
        qsizetype end = std::min(line.size(), at + 800);
        // Never between the two bytes of a character: walk characters from `at`.
        qsizetype k = at;
        while (k < end)
            k += cp932::isLeadByte(static_cast<unsigned char>(line[k])) ? 2 : 1;
        end = std::min(k, line.size());
        text += line.sliced(at, end - at) + "\r\n";
        at = end;
    }
    return text;
}

void everyPage(benchmark::State& state, const QByteArray& text) {
    for (auto _ : state) {
        SectionLayout layout(text, {}, PageFormat::genkou());
        qsizetype cells = 0;
        for (int n = 0; n < layout.pageCount(); ++n)
            for (const Line& line : layout.page(n).lines)
                cells += line.cells.size();
        benchmark::DoNotOptimize(cells);
    }
}

void BM_EveryPageOneLine1MB(benchmark::State& state) {
    static const QByteArray text = oneLine();
    everyPage(state, text);
}

void BM_EveryPageBrokenLines1MB(benchmark::State& state) {
    static const QByteArray text = brokenLines();
    everyPage(state, text);
}

void BM_CountCharacters1MB(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(count_characters_without_pages(section1MB()));
}

void BM_PageIndex1MB(benchmark::State& state) {
    for (auto _ : state) {
        SectionLayout layout(section1MB(), {}, PageFormat::genkou());
        benchmark::DoNotOptimize(layout.pageCount());
    }
}

void BM_EveryPage1MB(benchmark::State& state) {
    for (auto _ : state) {
        SectionLayout layout(section1MB(), {}, PageFormat::genkou());
        qsizetype cells = 0;
        for (int n = 0; n < layout.pageCount(); ++n)
            for (const Line& line : layout.page(n).lines)
                cells += line.cells.size();
        benchmark::DoNotOptimize(cells);
    }
}

// A character typed nine tenths into a laid-out 1 MB section, and taken out again: the pages
// before the edit's line keep their places.
void BM_RecountAfterAnEditNearTheEnd1MB(benchmark::State& state) {
    const QByteArray text = section1MB();
    QByteArray edited = text;
    edited.insert(edited.indexOf("\r\n", text.size() * 9 / 10), cp932::encode(u"猫"));
    DocumentPages pages({{text, {}}}, PageFormat::genkou());
    pages.pagesOf(0);
    bool odd = false;
    for (auto _ : state) {
        odd = !odd;
        pages.setSection(0, {odd ? edited : text, {}});
        benchmark::DoNotOptimize(pages.pagesOf(0));
    }
}

void BM_FirstPage100MB(benchmark::State& state) {
    document100MB();
    for (auto _ : state) {
        DocumentPages document(document100MB(), PageFormat::genkou());
        benchmark::DoNotOptimize(document.page(0));
    }
}

void BM_AllPages100MB(benchmark::State& state) {
    document100MB();
    for (auto _ : state) {
        DocumentPages document(document100MB(), PageFormat::genkou());
        benchmark::DoNotOptimize(document.pageCount());
    }
}

BENCHMARK(BM_CountCharacters1MB)->Unit(benchmark::kMillisecond)->Repetitions(5);
BENCHMARK(BM_PageIndex1MB)->Unit(benchmark::kMillisecond)->Repetitions(5);
BENCHMARK(BM_EveryPage1MB)->Unit(benchmark::kMillisecond)->Repetitions(3);
BENCHMARK(BM_RecountAfterAnEditNearTheEnd1MB)->Unit(benchmark::kMillisecond)->Repetitions(5);
BENCHMARK(BM_FirstPage100MB)->Unit(benchmark::kMillisecond)->Repetitions(3);
BENCHMARK(BM_AllPages100MB)->Unit(benchmark::kMillisecond)->Iterations(2)->Repetitions(3);
BENCHMARK(BM_NotesLinePages)->Arg(1)->Arg(4)->Unit(benchmark::kMillisecond)->Repetitions(3);
BENCHMARK(BM_EveryPageOneLine1MB)->Unit(benchmark::kMillisecond)->Repetitions(3);
BENCHMARK(BM_EveryPageBrokenLines1MB)->Unit(benchmark::kMillisecond)->Repetitions(3);

} // namespace

int main(int argc, char** argv) {
    return pote::bench::runBenchmarks(argc, argv, false, [](const pote::bench::RatioReporter& r) {
        r.printRatio("page index of a 1 MB section vs one character count pass over it",
                     "BM_PageIndex1MB", "BM_CountCharacters1MB", 5);
        r.printRatio("every page of a 1 MB section, with cells, vs one character count pass",
                     "BM_EveryPage1MB", "BM_CountCharacters1MB", 5);
        r.printRatio("pages counted again after an edit nine tenths into a 1 MB section vs its "
                     "whole page index",
                     "BM_RecountAfterAnEditNearTheEnd1MB", "BM_PageIndex1MB", 0.2);
        r.printRatio("first page of a 100 MB, 500-section document vs laying out all of it",
                     "BM_FirstPage100MB", "BM_AllPages100MB", 0.05);
        r.printRatio("pages of a 4 MB line of dots notes vs a 1 MB one (linear: 4x)",
                     "BM_NotesLinePages/4", "BM_NotesLinePages/1", 5);
        r.printRatio("every page of a 1 MB one-line section vs the same text in 400-character "
                     "lines",
                     "BM_EveryPageOneLine1MB", "BM_EveryPageBrokenLines1MB", 1.5);
    });
}
