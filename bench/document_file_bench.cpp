// Writing and reading a 500-section, 100 MB document against a plain write (with fdatasync, as
// the document write syncs before it replaces the old file) and a plain read of the same number
// of bytes. The counters give the median wall times and their ratio (document / plain); the
// last lines give the peak memory of a document read.
//
// Peak memory: a forked child reads the document; Linux starts a child's high-water mark
// (ru_maxrss) at its resident size when it is forked, so the rise of ru_maxrss across the read
// is the most memory the read itself ever held: the document in the store plus the reader's
// working buffers.

#include "core/cp932.h"
#include "core/document_file.h"
#include "support/bench_support.h"

#include <benchmark/benchmark.h>

#include <QFile>
#include <QTemporaryDir>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using namespace pote;

constexpr int kSections = 500;
constexpr qsizetype kDocumentBytes = 100 * 1024 * 1024;

// 500 sections of manuscript prose, each its own, 100 MB in all.
const Document& document() {
    static const Document store = [] {
        Document s;
        s.addGroup(cp932::encode(u"第一部"));
        s.addGroup(cp932::encode(u"第二部"));
        for (int pos = 0; pos < kSections; ++pos) {
            if (pos > 0) s.appendEmpty();
            Section& section = s.section(pos);
            section.name = cp932::encode(QStringLiteral("第%1章 猫の話").arg(pos + 1));
            section.group = pos % 3;
            section.text = bench::japaneseProse(kDocumentBytes / kSections, pos + 1);
        }
        return s;
    }();
    return store;
}

Document protectedDocument() {
    Document s;
    const Document& d = document();
    for (int pos = 0; pos < d.count(); ++pos) {
        if (pos > 0) s.appendEmpty();
        s.section(pos) = d.section(pos);
    }
    s.setPassword("Tama2024");
    return s;
}

QTemporaryDir& workDir() {
    static QTemporaryDir dir;
    return dir;
}
QString pathOf(const char* name) {
    return workDir().filePath(QString::fromUtf8(name));
}

// The file a plain run writes and reads: the document's own bytes, so sizes match exactly.
const QByteArray& plainBytes() {
    static const QByteArray bytes = [] {
        const QString path = pathOf("plain-source.ptm");
        if (!docfile::writeDocument(path, document()).ok())
            throw std::runtime_error("cannot write the benchmark document");
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly))
            throw std::runtime_error("cannot read the benchmark document");
        return f.readAll();
    }();
    return bytes;
}

// The same bytes as the document in 1 MiB writes to a file of its own, then fdatasync.
void plainWrite(const QString& path) {
    const QByteArray& bytes = plainBytes();
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered))
        throw std::runtime_error("cannot write the plain file");
    for (qsizetype at = 0; at < bytes.size(); at += 1 << 20)
        f.write(bytes.constData() + at, qMin<qsizetype>(1 << 20, bytes.size() - at));
    ::fdatasync(f.handle());
}

// The whole file into one buffer of its size, fresh memory like the document's texts.
void plainRead(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        throw std::runtime_error("cannot read the plain file");
    QByteArray bytes(f.size(), Qt::Uninitialized);
    if (f.read(bytes.data(), bytes.size()) != bytes.size()) throw std::runtime_error("short read");
    benchmark::DoNotOptimize(bytes.data());
}

// Argument 0: no password; 1: protected.
const Document& storeFor(const benchmark::State& state) {
    static const Document protectedStore = protectedDocument();
    return state.range(0) ? protectedStore : document();
}

void BM_Write(benchmark::State& state) {
    const Document& store = storeFor(state);
    const QString path = pathOf("write.ptm");
    const QString plainPath = pathOf("write-plain.bin");
    bench::PairedTimes times;
    times.run(
        state,
        [&] {
            if (!docfile::writeDocument(path, store).ok()) throw std::runtime_error("write failed");
        },
        [&] { plainWrite(plainPath); });
    state.SetBytesProcessed(state.iterations() * docfile::encodedSize(store));
}

void BM_Read(benchmark::State& state) {
    const Document& store = storeFor(state);
    const QString path = pathOf("read.ptm");
    const QString plainPath = pathOf("read-plain.bin");
    if (!docfile::writeDocument(path, store).ok()) throw std::runtime_error("write failed");
    plainWrite(plainPath);
    bench::PairedTimes times;
    times.run(
        state,
        [&] {
            Result<docfile::DocumentRead> result =
                docfile::readDocument(path, [](const QByteArray&) { return true; });
            if (!result) throw std::runtime_error("read failed");
            benchmark::DoNotOptimize(result->content.sections.data());
        },
        [&] { plainRead(plainPath); });
    state.SetBytesProcessed(state.iterations() * docfile::encodedSize(store));
}

BENCHMARK(BM_Write)
    ->ArgName("password")
    ->Arg(0)
    ->Arg(1)
    ->Iterations(15)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Read)
    ->ArgName("password")
    ->Arg(0)
    ->Arg(1)
    ->Iterations(15)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

long maxRssKiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// Peak memory added by reading the file at path, measured in a child process.
long readPeakKiB(const QString& path) {
    int pipeFds[2];
    if (pipe(pipeFds) != 0) return -1;
    const pid_t child = fork();
    if (child == 0) {
        close(pipeFds[0]);
        const long before = maxRssKiB();
        long peak = -1;
        {
            const Result<docfile::DocumentRead> result =
                docfile::readDocument(path, [](const QByteArray&) { return true; });
            if (result) peak = maxRssKiB() - before;
        }
        const ssize_t written = write(pipeFds[1], &peak, sizeof peak);
        _exit(written == sizeof peak ? 0 : 1);
    }
    close(pipeFds[1]);
    long peak = -1;
    if (child < 0 || read(pipeFds[0], &peak, sizeof peak) != sizeof peak) peak = -1;
    close(pipeFds[0]);
    if (child > 0) waitpid(child, nullptr, 0);
    return peak;
}

void printReadMemory(const char* label, const Document& store, const char* name) {
    const QString path = pathOf(name);
    if (!docfile::writeDocument(path, store).ok()) return;
    const double fileKiB = static_cast<double>(docfile::encodedSize(store)) / 1024.0;
    const long peak = readPeakKiB(path);
    std::printf("%-20s peak memory of a read: %ld KiB = %.2fx the file size\n", label, peak,
                static_cast<double>(peak) / fileKiB);
}

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    std::printf("document: %d sections, %lld bytes of file\n", document().count(),
                static_cast<long long>(docfile::encodedSize(document())));
    benchmark::RunSpecifiedBenchmarks();
    printReadMemory("document", document(), "memory.ptm");
    printReadMemory("protected document", protectedDocument(), "memory-protected.ptm");
    benchmark::Shutdown();
    return 0;
}
