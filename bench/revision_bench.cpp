// The revision check over every section of a 10 MB document (prose with ruby, emphasis and
// page breaks), against MeCab alone analysing the same text, already UTF-8, line by line
// (goal <= 3; the same run, the two timed in turns). The check adds the conversion from CP932,
// the notation taken out, sentences, every rule and the offsets back to the stored bytes.

#include "core/cp932.h"
#include "revision/revision_check.h"
#include "support/bench_support.h"

#include <mecab.h>

#include <stdexcept>

namespace {

using namespace pote;

constexpr int kSections = 20;
constexpr qsizetype kDocumentBytes = 10 * 1024 * 1024;

const std::vector<revision::SectionToCheck>& sections() {
    static const std::vector<revision::SectionToCheck> s = [] {
        QByteArray text = bench::japaneseProse(kDocumentBytes / kSections);
        text = bench::withMarkers(text, cp932::encode(u"｜窓辺《まどべ》の《《猫》》。"), 200);
        text = bench::withMarkers(text, cp932::encode(u"［＃改ページ］\r\n"), 2);
        std::vector<revision::SectionToCheck> out;
        for (int pos = 0; pos < kSections; ++pos)
            out.push_back({pos, QByteArray(text.constData(), text.size())});
        return out;
    }();
    return s;
}

// The same text as MeCab alone is given it: UTF-8 lines.
const std::vector<std::string>& utf8Lines() {
    static const std::vector<std::string> lines = [] {
        std::vector<std::string> out;
        for (const revision::SectionToCheck& s : sections())
            for (const QString& line : cp932::decode(s.text).split(QStringLiteral("\r\n")))
                out.push_back(line.toStdString());
        return out;
    }();
    return lines;
}

bench::PairedTimes& times() {
    static bench::PairedTimes t;
    return t;
}

void BM_RevisionCheck(benchmark::State& state) {
    mecab_t* mecab = mecab_new2("mecab");
    if (!mecab) throw std::runtime_error("MeCab has no dictionary");
    const std::vector<std::string>& lines = utf8Lines();
    size_t findings = 0;
    size_t words = 0;
    times().run(
        state,
        [&] {
            const revision::RevisionOutcome outcome =
                revision::checkSections(sections(), revision::RevisionOptions{});
            if (!outcome.skipped.isEmpty()) throw std::runtime_error("the dictionary is missing");
            findings = outcome.findings.size();
        },
        [&] {
            words = 0;
            for (const std::string& line : lines)
                for (const mecab_node_t* n = mecab_sparse_tonode2(mecab, line.data(), line.size());
                     n; n = n->next)
                    words += n->length;
        });
    mecab_destroy(mecab);
    state.counters["findings"] = double(findings);
    state.counters["words"] = double(words);
}

BENCHMARK(BM_RevisionCheck)->Iterations(3)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    std::printf("document: %d sections, %lld bytes of CP932 text\n", kSections,
                static_cast<long long>(kDocumentBytes));
    return bench::runBenchmarks(argc, argv, false, [](const bench::RatioReporter&) {
        times().printRatio("revision check / MeCab alone on the same text", 3);
    });
}
