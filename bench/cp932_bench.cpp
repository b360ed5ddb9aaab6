// CP932 codec against glibc iconv on 50 MB of Japanese prose with CR LF line breaks.
// Prints the throughput ratio ours / iconv for each direction at the end.

#include "core/cp932.h"
#include "support/bench_support.h"

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

const QByteArray& stored() {
    static const QByteArray b = pote::bench::japaneseProse(kTargetBytes);
    return b;
}

const QString& text() {
    static const QString t = [] {
        QString decoded = cp932::decode(stored());
        if (cp932::encode(decoded) != stored())
            throw std::logic_error("benchmark text does not round-trip");
        return decoded;
    }();
    return t;
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

} // namespace

int main(int argc, char** argv) {
    std::printf("text: %lld bytes of CP932, %lld UTF-16 units\n",
                static_cast<long long>(stored().size()), static_cast<long long>(text().size()));
    return pote::bench::runBenchmarks(argc, argv, false, [](const pote::bench::RatioReporter& r) {
        r.printSpeedup("decode, ours vs iconv", "BM_DecodeCodec", "BM_DecodeIconv");
        r.printSpeedup("decode for the pane, ours vs iconv", "BM_DecodeForPaneCodec",
                       "BM_DecodeIconv");
        r.printSpeedup("encode, ours vs iconv", "BM_EncodeCodec", "BM_EncodeIconv");
        r.printSpeedup("encode from the pane, ours vs iconv", "BM_EncodeFromPaneCodec",
                       "BM_EncodeIconv");
    });
}
