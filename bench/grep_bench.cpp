// `ptmtool grep` on a 500-section, 100 MB document against `grep -c` on the same text as one
// plain file, both whole processes writing to a file (grep stops at its first hit when it writes
// to /dev/null), timed in turns on the wall clock (goal <= 2). The tool reads a section at a time
// and a window at a time, so its peak memory must stay small whatever the document's size
// (goal <= 32 MB, the largest resident size of any of its runs).

#include "core/cp932.h"
#include "core/document.h"
#include "core/document_file.h"
#include "support/bench_support.h"

#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

extern char** environ;

namespace {

using namespace pote;

constexpr int kSections = 500;
constexpr qsizetype kDocumentBytes = 100 * 1024 * 1024;

void makeFiles(const QString& document, const QString& plain) {
    Document store;
    QFile text(plain);
    if (!text.open(QIODevice::WriteOnly)) throw std::runtime_error("cannot write the text");
    for (int pos = 0; pos < kSections; ++pos) {
        if (pos > 0) store.appendEmpty();
        store.section(pos).name = cp932::encode(QStringLiteral("第%1章").arg(pos + 1));
        store.section(pos).text = bench::japaneseProse(kDocumentBytes / kSections, pos + 1);
        if (text.write(store.section(pos).text) != store.section(pos).text.size())
            throw std::runtime_error("cannot write the text");
    }
    if (!docfile::writeDocument(document, store).ok())
        throw std::runtime_error("cannot write the document");
}

void run(std::vector<std::string> args, const std::string& out);

struct Files {
    QTemporaryDir dir;
    std::string document =
        QFile::encodeName(dir.filePath(QStringLiteral("猫の話.ptm"))).toStdString();
    std::string plain = QFile::encodeName(dir.filePath(QStringLiteral("猫の話.txt"))).toStdString();
    std::string out = QFile::encodeName(dir.filePath(QStringLiteral("hits"))).toStdString();
    // Made by a process of its own: a child's peak resident size starts from its parent's at
    // the time it was started, and this one must stay small for the peak to be the tool's.
    Files() { run({"/proc/self/exe", "--make-files", document, plain}, out); }
};

Files& files() {
    static Files f;
    return f;
}

long g_peakKilobytes = 0;

// Runs args with its output into the file out; the child's peak resident size is kept.
void run(std::vector<std::string> args, const std::string& out) {
    std::vector<char*> argv;
    for (std::string& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    pid_t pid = 0;
    const int spawned = ::posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) throw std::runtime_error("cannot start " + args[0]);
    int status = 0;
    rusage usage{};
    if (::wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) || WEXITSTATUS(status) > 1)
        throw std::runtime_error(args[0] + " failed");
    if (args[0] == POTE_PTMTOOL) g_peakKilobytes = std::max(g_peakKilobytes, usage.ru_maxrss);
}

bench::PairedTimes& times() {
    static bench::PairedTimes t;
    return t;
}

void BM_Grep(benchmark::State& state) {
    Files& f = files();
    // A name that comes up in one line of about twenty.
    const std::string pattern = "ぽてまる";
    const std::string bytes = cp932::encode(QString::fromStdString(pattern)).toStdString();
    times().run(
        state,
        [&] {
            run({POTE_PTMTOOL, "grep", pattern, f.document}, f.out);
        },
        [&] {
            run({"/usr/bin/env", "LC_ALL=C", "grep", "-c", bytes, f.plain}, f.out + "-c");
        });
}

BENCHMARK(BM_Grep)->Iterations(9)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::string(argv[1]) == "--make-files") {
        makeFiles(QFile::decodeName(argv[2]), QFile::decodeName(argv[3]));
        return 0;
    }
    return bench::runBenchmarks(argc, argv, false, [](const bench::RatioReporter&) {
        times().printRatio("ptmtool grep / grep -c, 100 MB in 500 sections", 2.0);
        if (g_peakKilobytes > 0)
            std::printf("ptmtool grep, peak memory: %.1f MB (goal <= 32: %s)\n",
                        g_peakKilobytes / 1024.0, g_peakKilobytes <= 32 * 1024 ? "met" : "MISSED");
    });
}
