// What a recovery copy costs the window's thread, against the window saving the same 100 MB
// document, in turns in this process:
//  - 500 sections of 200 KB, a few characters typed into section 1;
//  - one section of 100 MB, a few characters typed into its middle.
// The window's part is what a copy does on its thread: the look for changes, the snapshot
// (the store shared, the pane's edited stretches copied) and keeping the snapshot to compare
// with. Shown beside it: the writer's own time on its thread, and what copying the whole pane
// would cost instead of its stretches.

#include "app/ui/document_commands.h"
#include "app/ui/main_window.h"
#include "app/ui/recovery_snapshot.h"
#include "app/ui/section_binding.h"
#include "core/cp932.h"
#include "editing/ui/edit_pane.h"
#include "recovery/store_compare.h"
#include "support/bench_support.h"

#include <QCoreApplication>
#include <QFile>
#include <QKeyEvent>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>
#include <stdexcept>

namespace {

using namespace pote;

QTemporaryDir& folder() {
    static QTemporaryDir dir;
    return dir;
}

QString pathOf(const char* name) {
    return folder().filePath(QString::fromLatin1(name));
}

// A window with sections of the given size, section 1 in the pane with a few characters typed
// into its middle, and a tracker of the pane as the window's own copies use it.
struct Scene {
    std::unique_ptr<Tmain_fm> window;
    std::unique_ptr<PaneTracker> tracker;

    Scene(int sections, qsizetype bytesEach) {
        StartOptions options;
        options.settingsPath = pathOf("potemaruED.conf");
        options.recovery.folder = pathOf("recovery");
        QFile settings(options.settingsPath);
        if (!settings.exists() && settings.open(QIODevice::WriteOnly))
            settings.write("[General]\nTABWidth=8\n");
        window = std::make_unique<Tmain_fm>(std::move(options));
        tracker = std::make_unique<PaneTracker>(*window->pane(), window->binding());
        SectionStore& store = window->store();
        const QByteArray text = bench::japaneseProse(bytesEach);
        for (int i = 0; i < sections; ++i) {
            if (i > 0) store.appendEmpty();
            store.section(i).name = cp932::encode(u"第") + QByteArray::number(i + 1);
            store.section(i).text = text;
        }
        window->binding().section_load(0);
        EditPane* pane = window->pane();
        QTextCursor middle = pane->textCursor();
        middle.setPosition(pane->document()->characterCount() / 2);
        pane->setTextCursor(middle);
        for (const char* key : {"a", "b", "c"}) {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QString::fromLatin1(key));
            QCoreApplication::sendEvent(pane, &press);
        }
    }
    ~Scene() { window->store().setModified(false); }
};

std::unique_ptr<Scene>& currentScene() {
    static std::unique_ptr<Scene> current;
    return current;
}

Scene& scene(int sections) {
    // One scene at a time: the 100 MB pane is large.
    std::unique_ptr<Scene>& current = currentScene();
    static int currentSections = 0;
    if (!current || currentSections != sections) {
        current.reset();
        current = std::make_unique<Scene>(sections, 100 * 1000 * 1000 / sections);
        currentSections = sections;
    }
    return *current;
}

bench::PairedTimes g_copy500, g_copy1, g_writer500, g_writer1, g_whole1;

void save(Scene& s) {
    if (!s.window->controllers().documents().document_write(pathOf("saved.ptm")))
        throw std::runtime_error("save failed");
}

// What the window's thread does for one copy.
recovery::RecoveryJob windowPart(Scene& s, std::optional<recovery::StoreSnapshot>& written) {
    const SectionStore& store = s.window->store();
    benchmark::DoNotOptimize(!written || !recovery::sameContent(store, *written));
    recovery::RecoveryJob job = takeRecoverySnapshot(store, *s.tracker, 8, pathOf("copy.recovery"));
    written = recovery::snapshotOf(store);
    return job;
}

void BM_CopyVsSave(benchmark::State& state) {
    const int sections = int(state.range(0));
    Scene& s = scene(sections);
    std::optional<recovery::StoreSnapshot> written;
    std::vector<recovery::RecoveryJob> jobs; // released after the timing, as the writer would
    jobs.reserve(state.max_iterations);
    (sections == 1 ? g_copy1 : g_copy500)
        .run(
            state, [&] { jobs.push_back(windowPart(s, written)); }, [&] { save(s); });
    state.SetLabel(sections == 1 ? "one 100 MB section" : "500 sections of 200 KB");
}

void BM_WriterVsSave(benchmark::State& state) {
    const int sections = int(state.range(0));
    Scene& s = scene(sections);
    std::optional<recovery::StoreSnapshot> written;
    (sections == 1 ? g_writer1 : g_writer500)
        .run(
            state,
            [&] {
                recovery::RecoveryJob job = windowPart(s, written);
                if (!recovery::runJob(job).ok()) throw std::runtime_error("copy failed");
            },
            [&] { save(s); });
}

void BM_WholePaneVsSave(benchmark::State& state) {
    Scene& s = scene(1);
    g_whole1.run(
        state, [&] { benchmark::DoNotOptimize(s.window->pane()->toPlainText()); },
        [&] { save(s); });
}

BENCHMARK(BM_CopyVsSave)->Arg(500)->Iterations(9)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriterVsSave)->Arg(500)->Iterations(5)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CopyVsSave)->Arg(1)->Iterations(5)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriterVsSave)->Arg(1)->Iterations(3)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WholePaneVsSave)->Iterations(3)->UseManualTime()->Unit(benchmark::kMillisecond);

void printShare(const char* label, const bench::PairedTimes& times, double goal) {
    if (times.empty()) return;
    const double r = times.ratio();
    std::printf("%s: %.5f (%.3f ms / %.1f ms)", label, r, times.oursMillis(), times.plainMillis());
    if (goal > 0) std::printf("; goal < %.2f: %s", goal, r < goal ? "met" : "MISSED");
    std::printf("\n");
}

} // namespace

int main(int argc, char** argv) {
    return bench::runBenchmarks(argc, argv, true, [](const bench::RatioReporter&) {
        currentScene().reset(); // the window goes before the application does
        printShare("window's part of a copy vs save, 500 x 200 KB", g_copy500, 0.05);
        printShare("window's part of a copy vs save, one 100 MB section", g_copy1, 0.05);
        printShare("writer's thread vs save, 500 x 200 KB", g_writer500, 0);
        printShare("writer's thread vs save, one 100 MB section", g_writer1, 0);
        printShare("whole pane copied (not done) vs save, one 100 MB section", g_whole1, 0);
    });
}
