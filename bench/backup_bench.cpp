// A folder backup of 20,000 files in 200 folders (200 MB) against the usual tools, all run by
// this program on the same tree and timed on the wall clock, in turns:
//   first copy      ours (scan, plan, copies written through to disk) vs `cp -a` and
//                   `rsync -a`, each also with the flush of what it left to be written later;
//   nothing to copy ours vs a bare walk that stats every source file and its target, and vs
//                   `rsync -a` on an up-to-date copy.
// Ratios are medians of the ratios within each round. POTE_BACKUP_BENCH_FILES sets the number
// of files (100 per folder, 10 KiB on average) for a quick run; POTE_BACKUP_BENCH_DIR the
// folder the trees are made in (default: the temporary folder); it needs room for 20 copies.
// POTE_BACKUP_BENCH_TREE=writer makes a writer's folder instead: 300 files in 12 folders,
// manuscripts of 4 to 400 KiB, documents of 1 to 8 MiB and a few of 10 to 30 MiB (about
// 350 MB); each copy is removed once timed, as 18 of them would not fit.
//
// For timing whole processes from outside, two more ways to call it:
//   backup_bench --make-tree DIR       makes the tree (as chosen above) in DIR/src;
//   backup_bench --copy SOURCE TARGET  one first copy of SOURCE into the empty TARGET.

#include "backup/backup_runner.h"
#include "support/bench_support.h"

#include <benchmark/benchmark.h>

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

using namespace pote::backup;

bool writersTree() {
    return qgetenv("POTE_BACKUP_BENCH_TREE") == "writer";
}

int fileCount() {
    if (writersTree()) return 300;
    const QByteArray env = qgetenv("POTE_BACKUP_BENCH_FILES");
    const int n = env.isEmpty() ? 20000 : env.toInt();
    return std::max(n, 100);
}

QTemporaryDir& workDir() {
    static QTemporaryDir dir = [] {
        const QByteArray base = qgetenv("POTE_BACKUP_BENCH_DIR");
        return base.isEmpty() ? QTemporaryDir()
                              : QTemporaryDir(QFile::decodeName(base) + "/backup-bench-XXXXXX");
    }();
    if (!dir.isValid()) throw std::runtime_error("cannot make the benchmark folder");
    return dir;
}
QString pathOf(const QString& name) {
    return workDir().filePath(name);
}
QByteArray bytesOf(const QString& name) {
    return QFile::encodeName(pathOf(name));
}

void writeFile(const QString& path, const char* bytes, qsizetype size) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes, size) != size)
        throw std::runtime_error("cannot write the source tree");
}

// src/作品NN/...: 300 files in 12 folders. Most are manuscripts of 4 to 400 KiB; one in eight
// is a document of 1 to 8 MiB; one in fifty a large file of 10 to 30 MiB (a picture, a book).
qint64 makeWritersTree(const QString& root) {
    static const QByteArray prose = pote::bench::japaneseProse(32 << 20);
    QRandomGenerator rng(28);
    qint64 bytes = 0;
    for (int f = 0; f < 300; ++f) {
        const QString dir = root + QStringLiteral("/作品%1").arg(f % 12, 2, 10, QChar('0'));
        if (f < 12 && !QDir().mkpath(dir)) throw std::runtime_error("cannot make the source tree");
        qsizetype size = 0;
        QString name;
        if (f % 50 == 49) {
            size = (10 << 20) + rng.bounded(20 << 20);
            name = QStringLiteral("/資料%1.pdf").arg(f, 3, 10, QChar('0'));
        } else if (f % 8 == 7) {
            size = (1 << 20) + rng.bounded(7 << 20);
            name = QStringLiteral("/原稿%1.ptm").arg(f, 3, 10, QChar('0'));
        } else {
            size = 4096 + rng.bounded(396 * 1024);
            name = QStringLiteral("/章%1.txt").arg(f, 3, 10, QChar('0'));
        }
        const qsizetype at = rng.bounded(static_cast<int>(prose.size() - size));
        writeFile(dir + name, prose.constData() + at, size);
        bytes += size;
    }
    return bytes;
}

// src/部NN/章MM/原稿NNNNN.txt: 100 files per folder, 2 to 18 KiB of prose each.
qint64 makeSmallFilesTree(const QString& root) {
    static const QByteArray prose = pote::bench::japaneseProse(1 << 20);
    QRandomGenerator rng(19);
    const int files = fileCount();
    const int folders = (files + 99) / 100;
    qint64 bytes = 0;
    for (int f = 0; f < files; ++f) {
        const int folder = f / 100;
        const QString dir =
            root + QStringLiteral("/部%1/章%2")
                       .arg(folder / 10 % std::max(1, folders / 10), 2, 10, QChar('0'))
                       .arg(folder, 3, 10, QChar('0'));
        if (f % 100 == 0 && !QDir().mkpath(dir))
            throw std::runtime_error("cannot make the source tree");
        const qsizetype size = 2048 + rng.bounded(16 * 1024 + 1);
        const qsizetype at = rng.bounded(static_cast<int>(prose.size() - size));
        writeFile(dir + QStringLiteral("/原稿%1.txt").arg(f, 5, 10, QChar('0')),
                  prose.constData() + at, size);
        bytes += size;
    }
    return bytes;
}

qint64 makeSourceTree(const QString& root) {
    return writersTree() ? makeWritersTree(root) : makeSmallFilesTree(root);
}

void runTool(std::vector<std::string> args) {
    std::vector<char*> argv;
    for (std::string& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    if (::posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0)
        throw std::runtime_error("cannot start " + args[0]);
    int status = 0;
    if (::waitpid(pid, &status, 0) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        throw std::runtime_error(args[0] + " failed");
}

void flushFileSystem(const QByteArray& path) {
    const int fd = ::open(path.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0 || ::syncfs(fd) != 0) throw std::runtime_error("syncfs failed");
    ::close(fd);
}

BackupOutcome ourBackup(const QString& destination, const QString& source = pathOf("src")) {
    BackupSettings settings;
    settings.sourceDirs = {source};
    settings.copyDir = destination;
    // Every file, as cp -a and rsync -a copy: with the default list (ptm, txt, txm) the
    // writer's tree would leave its PDFs out and ours would do a fraction of their work.
    settings.extensions = QStringLiteral("*");
    const SourceCheck check = checkSources(settings);
    if (!check.ok() || !destinationReachable(check.folders.destination))
        throw std::runtime_error("the backup checks failed");
    const BackupPlan plan = planBackup(check.folders, settings);
    if (!backupSpaceCheck(plan).ok())
        throw std::runtime_error("not enough space for the benchmark");
    static std::atomic<bool> never{false};
    BackupOutcome outcome = runBackup(plan, {}, never);
    if (!outcome.failures.isEmpty())
        throw std::runtime_error("the backup failed: " +
                                 outcome.failures.last().reason.toStdString());
    return outcome;
}

// Every source file and its would-be target, each looked at once.
qint64 bareWalk(const QByteArray& source, const QByteArray& target) {
    DIR* dir = ::opendir(source.constData());
    if (!dir) throw std::runtime_error("cannot list " + source.toStdString());
    qint64 seen = 0;
    while (const dirent* entry = ::readdir(dir)) {
        const char* name = entry->d_name;
        if (name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0))) continue;
        const QByteArray from = source + '/' + name;
        const QByteArray to = target + '/' + name;
        if (entry->d_type == DT_DIR) {
            seen += bareWalk(from, to);
            continue;
        }
        struct stat st {};
        if (::fstatat(::dirfd(dir), name, &st, 0) == 0 && ::stat(to.constData(), &st) == 0) ++seen;
    }
    ::closedir(dir);
    return seen;
}

double millis(const std::function<void()>& f) {
    const auto start = std::chrono::steady_clock::now();
    f();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

// Wall times by label, one per iteration in order, kept for the summary.
std::map<std::string, std::vector<double>> g_times;

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

// Runs the contenders in turns, the first one moving by one each iteration, so that all see
// the same machine (the build machines are shared and drift). Each run starts with nothing
// waiting to be written; what a tool leaves for later is timed as "<label> flush".
void rotate(benchmark::State& state,
            const std::vector<std::pair<std::string, std::function<QByteArray(int)>>>& contenders,
            bool removeCopies = false) {
    size_t first = 0;
    int iteration = 0;
    for (auto _ : state) {
        double ours = 0;
        for (size_t k = 0; k < contenders.size(); ++k) {
            const auto& [label, run] = contenders[(first + k) % contenders.size()];
            ::sync();
            QByteArray written;
            const double t = millis([&] { written = run(iteration); });
            g_times[label].push_back(t);
            g_times[label + " flush"].push_back(millis([&] { flushFileSystem(written); }));
            if (label == contenders[0].first) ours = t;
            if (removeCopies && !QDir(QFile::decodeName(written)).removeRecursively())
                throw std::runtime_error("cannot remove a copy");
        }
        state.SetIterationTime(ours / 1000.0);
        first = (first + 1) % contenders.size();
        ++iteration;
    }
    for (const auto& [label, run] : contenders)
        state.counters[label + "_ms"] = median(g_times[label]);
}

// Every run copies into a folder of its own: removing trees between runs would cost more than
// the runs (file systems mounted with online discard free each file's blocks at once).
void BM_FirstCopy(benchmark::State& state) {
    const std::string src = bytesOf("src").toStdString();
    const auto fresh = [](const char* tool, int iteration) {
        return bytesOf(QStringLiteral("%1-%2").arg(QString::fromUtf8(tool)).arg(iteration));
    };
    rotate(state,
           {{"ours",
             [&](int i) {
                 const QByteArray to = fresh("ours", i);
                 ourBackup(QFile::decodeName(to));
                 return to;
             }},
            {"cp",
             [&](int i) {
                 const QByteArray to = fresh("cp", i);
                 runTool({"cp", "-a", src, to.toStdString()});
                 return to;
             }},
            {"rsync",
             [&](int i) {
                 const QByteArray to = fresh("rsync", i);
                 runTool({"rsync", "-a", src + "/", to.toStdString()});
                 return to;
             }}},
           writersTree());
}

void BM_NothingToCopy(benchmark::State& state) {
    const QByteArray ours = bytesOf("ours-again");
    const QByteArray rsync = bytesOf("rsync-again");
    const std::string src = bytesOf("src").toStdString();
    ourBackup(QFile::decodeName(ours));
    runTool({"rsync", "-a", src + "/", rsync.toStdString()});
    const qint64 files = fileCount();
    rotate(state, {{"ours again",
                    [&](int) {
                        if (ourBackup(QFile::decodeName(ours)).copied != 0)
                            throw std::runtime_error("the second run copied files");
                        return ours;
                    }},
                   {"walk",
                    [&](int) {
                        if (bareWalk(bytesOf("src"), ours + "/src") != files)
                            throw std::runtime_error("the walk missed files");
                        return ours;
                    }},
                   {"rsync again", [&](int) {
                        runTool({"rsync", "-a", src + "/", rsync.toStdString()});
                        return rsync;
                    }}});
}

BENCHMARK(BM_FirstCopy)->Iterations(6)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NothingToCopy)->Iterations(9)->UseManualTime()->Unit(benchmark::kMillisecond);

// The median of the ratios of times taken in the same iteration, next to each other: steadier
// than a ratio of medians on a machine whose load changes from minute to minute.
void printRatio(const char* label, const std::string& ours, const std::string& baseline,
                double goal = 0, const std::string& baselineFlush = {}) {
    const std::vector<double>& a = g_times[ours];
    std::vector<double> b = g_times[baseline];
    if (!baselineFlush.empty())
        for (size_t i = 0; i < b.size() && i < g_times[baselineFlush].size(); ++i)
            b[i] += g_times[baselineFlush][i];
    std::vector<double> ratios;
    for (size_t i = 0; i < std::min(a.size(), b.size()); ++i)
        if (b[i] > 0) ratios.push_back(a[i] / b[i]);
    if (ratios.empty()) return;
    const double r = median(ratios);
    std::printf("%s: %.2f (medians %.0f ms / %.0f ms", label, r, median(a), median(b));
    if (goal > 0) std::printf("; goal <= %.2f: %s", goal, r <= goal ? "met" : "MISSED");
    std::printf(")\n");
}

} // namespace

int main(int argc, char** argv) {
    const QString mode = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    if (mode == QLatin1String("--make-tree") && argc == 3) {
        const qint64 bytes =
            makeSourceTree(QString::fromLocal8Bit(argv[2]) + QStringLiteral("/src"));
        std::printf("%lld bytes\n", static_cast<long long>(bytes));
        return 0;
    }
    if (mode == QLatin1String("--copy") && argc == 4) {
        ourBackup(QString::fromLocal8Bit(argv[3]), QString::fromLocal8Bit(argv[2]));
        return 0;
    }
    const qint64 bytes = makeSourceTree(pathOf("src"));
    std::printf("tree: %s, %lld bytes, under %s\n",
                writersTree() ? "a writer's folder of 300 files"
                              : qPrintable(QStringLiteral("%1 files in %2 folders")
                                               .arg(fileCount())
                                               .arg((fileCount() + 99) / 100)),
                static_cast<long long>(bytes), qPrintable(workDir().path()));
    return pote::bench::runBenchmarks(argc, argv, false, [](const pote::bench::RatioReporter&) {
        std::printf("flush after ours: %.0f ms, after cp -a: %.0f ms, after rsync -a: %.0f ms "
                    "(medians)\n",
                    median(g_times["ours flush"]), median(g_times["cp flush"]),
                    median(g_times["rsync flush"]));
        // Ours is on the disk when it ends; cp -a is compared with the flush it leaves behind.
        printRatio("first copy, ours / cp -a", "ours", "cp");
        printRatio("first copy, ours / cp -a with its flush", "ours", "cp", 1.2, "cp flush");
        printRatio("first copy, ours / rsync -a", "ours", "rsync");
        printRatio("first copy, ours / rsync -a with its flush", "ours", "rsync", 0, "rsync flush");
        printRatio("nothing to copy, ours / bare walk", "ours again", "walk", 1.5);
        printRatio("nothing to copy, ours / rsync -a", "ours again", "rsync again");
    });
}
