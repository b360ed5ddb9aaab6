// Search costs against memmem over the same bytes, each in the same process:
//  - search_from for a pattern that is absent from a 50 MB section, case-sensitive and
//    case-insensitive (a Latin and a Japanese pattern);
//  - replacing 1001 hits in a 50 MB section against one copy of its bytes;
//  - searching every section of a 500-section, 100 MB document against memmem over all texts.

#include "core/cp932.h"
#include "editing/document_search.h"
#include "editing/replace.h"
#include "editing/search.h"

#include "support/bench_support.h"

#include <benchmark/benchmark.h>

#include <cstring>

namespace {

using namespace pote;

constexpr qsizetype kSection = 50 * 1024 * 1024;

const QByteArray& section50MB() {
    static const QByteArray text = bench::japaneseProse(kSection);
    return text;
}

const QByteArray& absentJapanese() {
    static const QByteArray p = cp932::encode(u"締め切りは再来週の月曜日");
    return p;
}

const QByteArray kAbsentLatin = "Deadline";

qsizetype memmemFind(const QByteArray& text, const QByteArray& pattern, qsizetype from = 0) {
    const void* hit = ::memmem(text.constData() + from, static_cast<size_t>(text.size() - from),
                               pattern.constData(), static_cast<size_t>(pattern.size()));
    return hit ? static_cast<const char*>(hit) - text.constData() : -1;
}

void BM_MemmemAbsentJapanese(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(memmemFind(section50MB(), absentJapanese()));
}

void BM_MemmemAbsentLatin(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(memmemFind(section50MB(), kAbsentLatin));
}

void BM_SearchAbsentJapanese(benchmark::State& state) {
    const auto mode = static_cast<CaseMode>(state.range(0));
    for (auto _ : state)
        benchmark::DoNotOptimize(search_from(section50MB(), absentJapanese(), 0, mode));
}

void BM_SearchAbsentLatin(benchmark::State& state) {
    const auto mode = static_cast<CaseMode>(state.range(0));
    for (auto _ : state)
        benchmark::DoNotOptimize(search_from(section50MB(), kAbsentLatin, 0, mode));
}

const QByteArray& marker() {
    static const QByteArray m = cp932::encode(u"ぽてまる君");
    return m;
}

const QByteArray& section50MBWith1001Hits() {
    static const QByteArray text =
        bench::withMarkers(bench::japaneseProse(kSection), marker(), 1001);
    return text;
}

void BM_ReplaceAll1001(benchmark::State& state) {
    const QByteArray replacement = cp932::encode(u"ぽてまる先生");
    for (auto _ : state) {
        ReplaceAllResult r =
            replace_all(section50MBWith1001Hits(), marker(), replacement, CaseMode::Insensitive);
        benchmark::DoNotOptimize(r.text.data());
    }
}

// The baseline: one copy of the text into a fresh buffer.
void BM_CopyOnce(benchmark::State& state) {
    const QByteArray& text = section50MBWith1001Hits();
    for (auto _ : state) {
        QByteArray copy(text.size(), Qt::Uninitialized);
        std::memcpy(copy.data(), text.constData(), static_cast<size_t>(text.size()));
        benchmark::DoNotOptimize(copy.data());
    }
}

// 500 sections of 200 KB, each with the marker at three line starts.
const std::vector<QByteArray>& document100MB() {
    static const std::vector<QByteArray> texts = [] {
        std::vector<QByteArray> t;
        for (int s = 0; s < 500; ++s)
            t.push_back(bench::withMarkers(bench::japaneseProse(200 * 1024), marker(), 3));
        return t;
    }();
    return texts;
}

void BM_SearchAllSections(benchmark::State& state) {
    for (auto _ : state) {
        SectionSearchResult r = collect_hits(document100MB(), marker(), CaseMode::Insensitive);
        benchmark::DoNotOptimize(r.hits.data());
    }
}

// The baseline: every occurrence in every text by memmem, nothing else.
void BM_MemmemAllSections(benchmark::State& state) {
    for (auto _ : state) {
        qsizetype hits = 0;
        for (const QByteArray& text : document100MB())
            for (qsizetype at = memmemFind(text, marker(), 0); at >= 0;
                 at = memmemFind(text, marker(), at + marker().size()))
                ++hits;
        benchmark::DoNotOptimize(hits);
    }
}

void setup(benchmark::internal::Benchmark* b) {
    b->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
}

constexpr int kSensitive = static_cast<int>(CaseMode::Sensitive);
constexpr int kInsensitive = static_cast<int>(CaseMode::Insensitive);

BENCHMARK(BM_MemmemAbsentJapanese)->Apply(setup);
BENCHMARK(BM_SearchAbsentJapanese)->Arg(kSensitive)->Arg(kInsensitive)->Apply(setup);
BENCHMARK(BM_MemmemAbsentLatin)->Apply(setup);
BENCHMARK(BM_SearchAbsentLatin)->Arg(kSensitive)->Arg(kInsensitive)->Apply(setup);
BENCHMARK(BM_CopyOnce)->Apply(setup);
BENCHMARK(BM_ReplaceAll1001)->Apply(setup);
BENCHMARK(BM_MemmemAllSections)->Apply(setup);
BENCHMARK(BM_SearchAllSections)->Apply(setup);

} // namespace

int main(int argc, char** argv) {
    return pote::bench::runBenchmarks(argc, argv, false, [](const pote::bench::RatioReporter& r) {
        const std::string sensitive = "/" + std::to_string(kSensitive);
        const std::string insensitive = "/" + std::to_string(kInsensitive);
        r.printRatio("absent Japanese pattern, case-sensitive, vs memmem",
                     "BM_SearchAbsentJapanese" + sensitive, "BM_MemmemAbsentJapanese", 2);
        r.printRatio("absent Japanese pattern, case-insensitive, vs memmem",
                     "BM_SearchAbsentJapanese" + insensitive, "BM_MemmemAbsentJapanese", 4);
        r.printRatio("absent Latin pattern, case-sensitive, vs memmem",
                     "BM_SearchAbsentLatin" + sensitive, "BM_MemmemAbsentLatin", 2);
        r.printRatio("absent Latin pattern, case-insensitive, vs memmem",
                     "BM_SearchAbsentLatin" + insensitive, "BM_MemmemAbsentLatin", 4);
        r.printRatio("replace all, 1001 hits in 50 MB, vs one copy", "BM_ReplaceAll1001",
                     "BM_CopyOnce", 3);
        r.printRatio("search all 500 sections (100 MB), vs memmem over all texts",
                     "BM_SearchAllSections", "BM_MemmemAllSections", 2);
    });
}
