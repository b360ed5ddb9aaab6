// Text import and export on a 500-section, 100 MB document, each against the plain file work it
// cannot avoid:
// - linked_text_write vs writing the same bytes in 1 MiB writes, then fdatasync (goal <= 1.3);
// - linked_text_read vs reading the same file into one buffer (goal <= 2.0): the read includes
//   the zero-byte cut, the line-form check, the header search and the copy into 500 texts;
// - the folder save (plan, free-space check, 500 files through QSaveFile) vs writing the same
//   500 files with open, write, fdatasync (goal <= 1.3).

#include "core/cp932.h"
#include "core/document.h"
#include "support/bench_support.h"
#include "textio/free_space.h"
#include "textio/linked_text.h"
#include "textio/text_folder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <stdexcept>

namespace {

using namespace pote;

constexpr int kSections = 500;
constexpr qsizetype kDocumentBytes = 100 * 1024 * 1024;

const Document& document() {
    static const Document doc = [] {
        const QByteArray prose = bench::japaneseProse(kDocumentBytes / kSections);
        Document s;
        for (int pos = 0; pos < kSections; ++pos) {
            if (pos > 0) s.appendEmpty();
            s.section(pos).name = cp932::encode(QStringLiteral("第%1章 猫の話").arg(pos + 1));
            // Each text its own buffer, as in a document read from a file.
            s.section(pos).text = QByteArray(prose.constData(), prose.size());
        }
        return s;
    }();
    return doc;
}

QTemporaryDir& workDir() {
    static QTemporaryDir dir;
    return dir;
}

QString pathOf(const QString& name) {
    return workDir().filePath(name);
}

QByteArray readWhole(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        throw std::runtime_error("cannot read " + path.toStdString());
    QByteArray bytes(f.size(), Qt::Uninitialized);
    if (f.read(bytes.data(), bytes.size()) != bytes.size()) throw std::runtime_error("short read");
    return bytes;
}

// The linked text's own bytes, so that both sides write and read exactly as much.
const QByteArray& linkedBytes() {
    static const QByteArray bytes = [] {
        const QString path = pathOf(QStringLiteral("source.txm"));
        if (!linked_text_write(path, document()).ok())
            throw std::runtime_error("cannot write the linked text");
        return readWhole(path);
    }();
    return bytes;
}

void rawWrite(const char* path, const char* data, qsizetype size) {
    const int fd = ::open(path, O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0) throw std::runtime_error("cannot create a plain file");
    for (qsizetype at = 0; at < size;) {
        const ssize_t n =
            ::write(fd, data + at, static_cast<size_t>(qMin<qsizetype>(1 << 20, size - at)));
        if (n <= 0) throw std::runtime_error("plain write failed");
        at += n;
    }
    ::fdatasync(fd);
    ::close(fd);
}

bench::PairedTimes& writeTimes() {
    static bench::PairedTimes t;
    return t;
}
bench::PairedTimes& readTimes() {
    static bench::PairedTimes t;
    return t;
}
bench::PairedTimes& folderTimes() {
    static bench::PairedTimes t;
    return t;
}

void BM_LinkedTextWrite(benchmark::State& state) {
    const QString path = pathOf(QStringLiteral("write.txm"));
    const QByteArray plainPath = QFile::encodeName(pathOf(QStringLiteral("write-plain.bin")));
    const QByteArray& bytes = linkedBytes();
    writeTimes().run(
        state,
        [&] {
            if (!linked_text_write(path, document()).ok())
                throw std::runtime_error("linked_text_write failed");
        },
        [&] { rawWrite(plainPath.constData(), bytes.constData(), bytes.size()); });
    state.SetBytesProcessed(state.iterations() * bytes.size());
}

void BM_LinkedTextRead(benchmark::State& state) {
    const QString path = pathOf(QStringLiteral("source.txm"));
    const QByteArray& bytes = linkedBytes();
    readTimes().run(
        state,
        [&] {
            Utf8Choice utf8([] { return true; });
            const Result<LinkedTextRead> r = linked_text_read(path, utf8);
            if (!r || r->headers != kSections) throw std::runtime_error("linked_text_read failed");
            benchmark::DoNotOptimize(r->content.sections.data());
        },
        [&] {
            const QByteArray plain = readWhole(path);
            benchmark::DoNotOptimize(plain.constData());
        });
    state.SetBytesProcessed(state.iterations() * bytes.size());
}

void BM_FolderSave(benchmark::State& state) {
    const QString ours = pathOf(QStringLiteral("folder"));
    const QString plain = pathOf(QStringLiteral("folder-plain"));
    QDir().mkpath(ours);
    QDir().mkpath(plain);
    const Document& doc = document();
    // The plain side's file names, made once: the names are part of the plan, not of writing.
    std::vector<QByteArray> plainPaths;
    for (int pos = 0; pos < doc.count(); ++pos)
        plainPaths.push_back(QFile::encodeName(plain + QStringLiteral("/%1.txt").arg(pos + 1)));
    folderTimes().run(
        state,
        [&] {
            const FolderSavePlan plan = plan_folder_save(ours, doc, QStringLiteral("新規"));
            if (!free_space_check(ours, plan.bytesNeeded, SpaceForm::Total).ok())
                throw std::runtime_error("no room for the folder save");
            const FolderSaveResult r = save_sections_to_folder(
                plan, doc, [](const QString&) { return OverwriteAnswer::All; });
            if (!r.ok() || r.written != kSections) throw std::runtime_error("folder save failed");
        },
        [&] {
            for (int pos = 0; pos < doc.count(); ++pos) {
                const QByteArray& text = doc.section(pos).text;
                const int fd =
                    ::open(plainPaths[pos].constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
                if (fd < 0 || ::write(fd, text.constData(), text.size()) != text.size() ||
                    ::write(fd, "\r\n", 2) != 2)
                    throw std::runtime_error("plain folder write failed");
                ::fdatasync(fd);
                ::close(fd);
            }
        });
    state.SetBytesProcessed(state.iterations() * doc.totalTextBytes());
}

BENCHMARK(BM_LinkedTextWrite)->Iterations(9)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LinkedTextRead)->Iterations(9)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FolderSave)->Iterations(9)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    std::printf("document: %d sections, %lld bytes of linked text\n", document().count(),
                static_cast<long long>(linkedBytes().size()));
    return bench::runBenchmarks(argc, argv, false, [](const bench::RatioReporter&) {
        writeTimes().printRatio("linked_text_write / write + fdatasync", 1.3);
        readTimes().printRatio("linked_text_read / read", 2.0);
        folderTimes().printRatio("folder save of 500 files / 500 plain writes", 1.3);
    });
}
