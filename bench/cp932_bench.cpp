// CP932 codec against glibc iconv on 50 MB of Japanese prose with CR LF line breaks.
// Prints the throughput ratio ours / iconv for each direction at the end.

#include "core/cp932.h"

#include <benchmark/benchmark.h>

#include <iconv.h>

#include <QByteArray>
#include <QString>

#include <cstdio>
#include <map>
#include <stdexcept>
#include <string>

namespace {

namespace cp932 = pote::cp932;

constexpr qsizetype kTargetBytes = 50 * 1024 * 1024;

// Mostly kanji and kana, some half-width katakana, digits and Latin letters, CR LF breaks.
const char16_t kParagraph[] =
    u"　吾輩の家の猫は、毎朝六時きっかりに目を覚まして台所へ向かう。冷蔵庫の前に座り込み、\r\n"
    u"「ごはんはまだかにゃ？」とでも言いたげな顔でこちらを見上げるのだ。体重は5.2kg、\r\n"
    u"獣医さんには少し痩せるようにと言われている。ﾀﾞｲｴｯﾄ用のフードに替えて三週間、\r\n"
    u"結果はまだ見えないが、本人（本猫？）は気にしていない様子である。\r\n"
    u"午後になると日の当たる窓辺で丸くなり、小説の原稿を書く私の横で寝息を立てる。\r\n"
    u"締め切りは来週の金曜日、残りは約120枚。章立てを見直して、第3章の冒頭を書き直す予定だ。\r\n"
    u"\r\n";

QString japaneseText() {
    const QString paragraph = QString::fromUtf16(kParagraph);
    return paragraph.repeated(kTargetBytes / cp932::encode(paragraph).size() + 1);
}

const QString& text() {
    static const QString t = japaneseText();
    return t;
}

const QByteArray& stored() {
    static const QByteArray b = [] {
        bool lossy = false;
        QByteArray bytes = cp932::encode(text(), &lossy);
        if (lossy) throw std::logic_error("benchmark text does not fit CP932");
        return bytes;
    }();
    return b;
}

class Iconv {
public:
    Iconv(const char* to, const char* from) : m_cd(iconv_open(to, from)) {
        if (m_cd == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error("iconv_open failed");
    }
    ~Iconv() { iconv_close(m_cd); }
    Iconv(const Iconv&) = delete;
    Iconv& operator=(const Iconv&) = delete;

    // Converts in into out, returns the bytes written.
    size_t run(const char* in, size_t inSize, char* out, size_t outSize) {
        iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
        char* inPtr = const_cast<char*>(in);
        char* outPtr = out;
        if (iconv(m_cd, &inPtr, &inSize, &outPtr, &outSize) == static_cast<size_t>(-1))
            throw std::runtime_error("iconv failed");
        return static_cast<size_t>(outPtr - out);
    }

private:
    iconv_t m_cd;
};

void BM_DecodeCodec(benchmark::State& state) {
    const QByteArray& in = stored();
    for (auto _ : state) {
        QString out = cp932::decode(in);
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(state.iterations() * in.size());
}

void BM_DecodeForPaneCodec(benchmark::State& state) {
    const QByteArray& in = stored();
    for (auto _ : state) {
        QString out = cp932::decodeForPane(in);
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(state.iterations() * in.size());
}

// The same job as decode: a QString of the worst-case size, filled and cut to length.
void BM_DecodeIconv(benchmark::State& state) {
    const QByteArray& in = stored();
    Iconv cd("UTF-16LE", "CP932");
    for (auto _ : state) {
        QString out(in.size(), Qt::Uninitialized);
        const size_t written =
            cd.run(in.constData(), in.size(), reinterpret_cast<char*>(out.data()),
                   out.size() * sizeof(QChar));
        out.truncate(static_cast<qsizetype>(written / sizeof(QChar)));
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(state.iterations() * in.size());
}

void BM_EncodeCodec(benchmark::State& state) {
    const QString& in = text();
    for (auto _ : state) {
        QByteArray out = cp932::encode(in);
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(state.iterations() * stored().size());
}

void BM_EncodeFromPaneCodec(benchmark::State& state) {
    const QString pane = cp932::decodeForPane(stored());
    for (auto _ : state) {
        QByteArray out = cp932::encodeFromPane(pane);
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(state.iterations() * stored().size());
}

void BM_EncodeIconv(benchmark::State& state) {
    const QString& in = text();
    Iconv cd("CP932", "UTF-16LE");
    for (auto _ : state) {
        QByteArray out(2 * in.size(), Qt::Uninitialized);
        const size_t written = cd.run(reinterpret_cast<const char*>(in.constData()),
                                      in.size() * sizeof(QChar), out.data(), out.size());
        out.truncate(static_cast<qsizetype>(written));
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(state.iterations() * stored().size());
}

// Medians of a few repetitions: the machine is shared, single runs drift.
void setup(benchmark::internal::Benchmark* b) {
    b->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
}

BENCHMARK(BM_DecodeCodec)->Apply(setup);
BENCHMARK(BM_DecodeForPaneCodec)->Apply(setup);
BENCHMARK(BM_DecodeIconv)->Apply(setup);
BENCHMARK(BM_EncodeCodec)->Apply(setup);
BENCHMARK(BM_EncodeFromPaneCodec)->Apply(setup);
BENCHMARK(BM_EncodeIconv)->Apply(setup);

// Remembers the median CPU time per iteration of each benchmark (steadier than wall time on a busy
// machine; page faults count, as they are the process's own work) so that main can print the
// ratios.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs)
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median")
                m_time[run.run_name.function_name] = run.GetAdjustedCPUTime();
        ConsoleReporter::ReportRuns(runs);
    }

    void printRatio(const std::string& ours, const std::string& baseline) const {
        const auto a = m_time.find(ours);
        const auto b = m_time.find(baseline);
        if (a != m_time.end() && b != m_time.end() && a->second > 0)
            std::printf("%-24s / %-16s throughput ratio: %.2fx\n", ours.c_str(), baseline.c_str(),
                        b->second / a->second);
    }

private:
    std::map<std::string, double> m_time;
};

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    std::printf("text: %lld bytes of CP932, %lld UTF-16 units\n",
                static_cast<long long>(stored().size()), static_cast<long long>(text().size()));
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.printRatio("BM_DecodeCodec", "BM_DecodeIconv");
    reporter.printRatio("BM_DecodeForPaneCodec", "BM_DecodeIconv");
    reporter.printRatio("BM_EncodeCodec", "BM_EncodeIconv");
    reporter.printRatio("BM_EncodeFromPaneCodec", "BM_EncodeIconv");
    benchmark::Shutdown();
    return 0;
}
