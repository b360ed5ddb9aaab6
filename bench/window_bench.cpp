// The window's own costs against the bare toolkit doing the same work:
//  - opening a 500-section, 100 MB document until section 1 shows, against reading the file and
//    a bare QPlainTextEdit::setPlainText of section 1;
//  - switching between two 10 MB sections, against bare toPlainText + setPlainText;
//  - a key press in a 10 MB section against one in a 1 KB section;
//  - the cat's tax calculation over a 10 MB pane (untouched, edited, all selected), against a
//    bare toPlainText of the same pane, the least any command reading the whole text pays;
//  - opening a 50 MB section in the shown window, until its first screen is painted and until
//    all of it is in the pane, with the longest turn of the event loop meanwhile, against
//    setPlainText and a paint of a bare, shown QPlainTextEdit of the same size (in turns); and
//    the memory each takes, as the growth of the peak resident size of a process of its own.

#include "app/ui/application_setup.h"
#include "app/ui/document_commands.h"
#include "app/ui/main_window.h"
#include "app/ui/section_binding.h"
#include "core/cp932.h"
#include "core/document_file.h"
#include "editing/ui/edit_pane.h"
#include "support/bench_support.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QProcess>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <memory>
#include <optional>

namespace {

using namespace pote;

QByteArray japaneseText(qsizetype bytes) {
    return bench::japaneseProse(bytes);
}

struct Fixture {
    QTemporaryDir dir;
    QString bigDocument;
    Fixture() {
        SectionStore store;
        const QByteArray text = japaneseText(200 * 1000);
        for (int i = 0; i < 500; ++i) {
            if (i > 0) store.appendEmpty();
            store.section(i).name = cp932::encode(u"第") + QByteArray::number(i + 1);
            store.section(i).text = text;
        }
        bigDocument = dir.filePath(QStringLiteral("big.ptm"));
        if (!docfile::writeDocument(bigDocument, store.document()).ok())
            std::fprintf(stderr, "cannot write the test document\n");
    }
};

Fixture& fixture() {
    static Fixture f;
    return f;
}

// Answers every box at once, as a user who has seen them all before would.
class YesPrompter : public Prompter {
public:
    Answer message(MessageKind, Answers, const QString&) override { return Answer::Yes; }
    std::optional<QString> inputText(const QString&, const QString&, const QString&) override {
        return std::nullopt;
    }
    std::optional<QString> openFile(const FileDialogRequest&) override { return std::nullopt; }
    std::optional<QString> saveFile(const FileDialogRequest&) override { return std::nullopt; }
    std::optional<QString> chooseFolder(const QString&, const QString&, bool) override {
        return std::nullopt;
    }
};

std::unique_ptr<Tmain_fm> quietWindowIn(const QString& folder) {
    // Settings of its own, present so that no first-start question is asked.
    StartOptions options;
    options.prompter = std::make_unique<YesPrompter>();
    options.settingsPath = QDir(folder).filePath(QStringLiteral("potemaruED.conf"));
    QFile settings(options.settingsPath);
    if (!settings.exists() && settings.open(QIODevice::WriteOnly))
        settings.write("[General]\nTABWidth=8\n");
    return std::make_unique<Tmain_fm>(std::move(options));
}

std::unique_ptr<Tmain_fm> quietWindow() {
    return quietWindowIn(fixture().dir.path());
}

void BM_OpenDocument_Window(benchmark::State& state) {
    auto window = quietWindow();
    for (auto _ : state) {
        window->store().setModified(false);
        benchmark::DoNotOptimize(
            window->controllers().documents().document_read(fixture().bigDocument));
    }
}

void BM_OpenDocument_Baseline(benchmark::State& state) {
    QPlainTextEdit edit;
    QFont font(QStringLiteral("ＭＳ ゴシック"));
    font.setPixelSize(16);
    edit.setFont(font);
    // Like the window, hold the previous document while the next one is read.
    std::optional<docfile::DocumentRead> held;
    for (auto _ : state) {
        auto result =
            docfile::readDocument(fixture().bigDocument, [](const QByteArray&) { return true; });
        edit.setPlainText(cp932::decode(result->content.sections.at(0).section.text));
        held = std::move(result).value();
    }
}

void setUpTwoSections(Tmain_fm& window, qsizetype bytes) {
    SectionStore& store = window.store();
    store.section(0).text = japaneseText(bytes);
    store.appendEmpty();
    store.section(1).text = japaneseText(bytes);
    window.binding().section_load(0);
}

// A change and its undoing: the text is as it was, the pane counts as edited.
void markEdited(EditPane& pane) {
    QTextCursor end = pane.textCursor();
    end.movePosition(QTextCursor::End);
    end.insertText(QStringLiteral(" "));
    end.deletePreviousChar();
}

void BM_Switch10MB_Window(benchmark::State& state) {
    auto window = quietWindow();
    setUpTwoSections(*window, 10 * 1000 * 1000);
    const bool edited = state.range(0) != 0;
    for (auto _ : state) {
        if (edited) markEdited(*window->pane());
        const int from = window->store().current;
        window->binding().section_switch(from, 1 - from);
        window->pane()->finishLoading(); // the whole text in, as the baseline has it
    }
    state.SetLabel(edited ? "pane edited" : "pane untouched");
}

void BM_Switch10MB_Baseline(benchmark::State& state) {
    QPlainTextEdit edit;
    const QString texts[2] = {cp932::decode(japaneseText(10 * 1000 * 1000)),
                              cp932::decode(japaneseText(10 * 1000 * 1000))};
    edit.setPlainText(texts[0]);
    int current = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(edit.toPlainText());
        current = 1 - current;
        edit.setPlainText(texts[current]);
    }
}

// A text whose first line is the widest: typing in the middle then never changes the widest
// line, which a no-wrap pane would otherwise re-measure over the whole text (a toolkit cost
// both sides share, and not what these figures are about).
QByteArray typingText(qsizetype bytes) {
    return QByteArray(400, '=') + "\r\n" + japaneseText(bytes);
}

void BM_KeyPress(benchmark::State& state) {
    auto window = quietWindow();
    window->store().section(0).text = typingText(state.range(0));
    window->binding().section_load(0);
    window->pane()->finishLoading();
    EditPane* pane = window->pane();
    QTextCursor middle = pane->textCursor();
    middle.setPosition(pane->document()->characterCount() / 2);
    pane->setTextCursor(middle);
    for (auto _ : state) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
        QCoreApplication::sendEvent(pane, &press);
        QKeyEvent back(QEvent::KeyPress, Qt::Key_Backspace, Qt::NoModifier);
        QCoreApplication::sendEvent(pane, &back);
    }
    window->store().setModified(false);
    state.SetLabel(state.range(0) > 1000 ? "10 MB section" : "1 KB section");
}

void BM_KeyPress_Bare(benchmark::State& state) {
    QPlainTextEdit pane;
    pane.setUndoRedoEnabled(false);
    pane.setLineWrapMode(QPlainTextEdit::NoWrap);
    pane.setPlainText(cp932::decode(typingText(state.range(0))));
    QTextCursor middle = pane.textCursor();
    middle.setPosition(pane.document()->characterCount() / 2);
    pane.setTextCursor(middle);
    for (auto _ : state) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
        QCoreApplication::sendEvent(&pane, &press);
        QKeyEvent back(QEvent::KeyPress, Qt::Key_Backspace, Qt::NoModifier);
        QCoreApplication::sendEvent(&pane, &back);
    }
}

// Yen amounts among the prose, so that the sum has work to do.
QByteArray pricedText(qsizetype bytes) {
    QByteArray text = japaneseText(bytes);
    for (qsizetype at = 0; at + 8 < text.size(); at += 997)
        if (text[at] >= 0 && text[at] != '\r' && text[at] != '\n') text.replace(at, 5, "\\1980");
    return text;
}

enum TaxSource { Untouched, Edited, AllSelected };

void BM_Tax10MB_Window(benchmark::State& state) {
    auto window = quietWindow();
    window->store().section(0).text = pricedText(10 * 1000 * 1000);
    window->binding().section_load(0);
    window->pane()->finishLoading();
    const auto source = static_cast<TaxSource>(state.range(0));
    if (source == Edited) markEdited(*window->pane());
    if (source == AllSelected) window->pane()->selectAll();
    for (auto _ : state)
        window->trigger(QStringLiteral("sp_tax"));
    window->store().setModified(false);
    state.SetLabel(source == Untouched ? "pane untouched"
                   : source == Edited  ? "pane edited"
                                       : "all selected");
}

void BM_Tax10MB_Baseline(benchmark::State& state) {
    QPlainTextEdit edit;
    edit.setPlainText(cp932::decode(pricedText(10 * 1000 * 1000)));
    for (auto _ : state)
        benchmark::DoNotOptimize(edit.toPlainText());
}

// Opening a long section: times of each turn, in milliseconds of the user-interface thread's
// own CPU time (everything runs on it), so that other programs on a shared machine do not
// count; wall times beside them for an idle machine.
struct LongLoad {
    std::vector<double> firstScreen, loaded, stall, bare, loadedWall, stallWall, bareWall;
    static double median(std::vector<double> v) {
        std::sort(v.begin(), v.end());
        return v.empty() ? 0 : v[v.size() / 2];
    }
    static double spread(const std::vector<double>& v) {
        return v.empty()
                   ? 0
                   : *std::max_element(v.begin(), v.end()) - *std::min_element(v.begin(), v.end());
    }
} longLoad;

constexpr qsizetype kLongSection = 50 * 1000 * 1000;
const QSize kPaneSize(760, 520);

// The thread's CPU time and the wall time, from when it was made.
class Stopwatch {
public:
    Stopwatch() : m_cpu(cpuMillis()) { m_wall.start(); }
    double cpu() const { return cpuMillis() - m_cpu; }
    double wall() const { return static_cast<double>(m_wall.nsecsElapsed()) / 1e6; }

private:
    static double cpuMillis() {
        timespec t{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
        return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
    }
    double m_cpu;
    QElapsedTimer m_wall;
};

// The window's turn: the first screen, then the event loop's turns until all of it is in.
void openLongSectionInWindow(Tmain_fm& window, const QByteArray& bytes) {
    EditPane* pane = window.pane();
    window.store().section(0).text = bytes;
    const Stopwatch clock;
    window.binding().section_load(0);
    pane->viewport()->repaint();
    longLoad.firstScreen.push_back(clock.cpu());
    double stall = 0;
    double stallWall = 0;
    while (pane->loading()) {
        const Stopwatch turn;
        QCoreApplication::processEvents();
        stall = std::max(stall, turn.cpu());
        stallWall = std::max(stallWall, turn.wall());
    }
    longLoad.loaded.push_back(clock.cpu());
    longLoad.loadedWall.push_back(clock.wall());
    longLoad.stall.push_back(stall);
    longLoad.stallWall.push_back(stallWall);
}

void openLongSectionInBareEdit(QPlainTextEdit& edit, const QString& text) {
    const Stopwatch clock;
    edit.setPlainText(text);
    edit.viewport()->repaint();
    longLoad.bare.push_back(clock.cpu());
    longLoad.bareWall.push_back(clock.wall());
}

void BM_LongSection_Window(benchmark::State& state) {
    auto window = quietWindow();
    window->show();
    window->pane()->resize(kPaneSize);
    QPlainTextEdit bare;
    bare.setFont(window->pane()->font());
    bare.setLineWrapMode(QPlainTextEdit::NoWrap);
    bare.resize(kPaneSize);
    bare.show();
    const QByteArray bytes = japaneseText(kLongSection);
    const QString text = cp932::decodeForPane(bytes);
    bool bareFirst = false;
    for (auto _ : state) {
        if (bareFirst) openLongSectionInBareEdit(bare, text);
        openLongSectionInWindow(*window, bytes);
        if (!bareFirst) openLongSectionInBareEdit(bare, text);
        bareFirst = !bareFirst;
        state.SetIterationTime(longLoad.loadedWall.back() / 1000);
        // Neither keeps its text into the other's turn.
        window->store().section(0).text.clear();
        window->binding().section_load(0);
        bare.setPlainText(QString());
    }
    window->store().setModified(false);
}

// A process of its own opens the section (window) or puts it into a bare pane (bare) and
// prints how far its peak resident size grew from the moment the bytes were in memory.
qint64 statusKb(const char* field) {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith(field))
            return line.mid(qstrlen(field)).trimmed().split(' ').value(0).toLongLong();
    return -1;
}

int memoryChild(int argc, char** argv, const QByteArray& which) {
    QTemporaryDir state;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("XDG_STATE_HOME", state.path().toLocal8Bit());
    QApplication app(argc, argv);
    setUpApplication(app);
    const QByteArray bytes = japaneseText(kLongSection);
    std::unique_ptr<Tmain_fm> window;
    QPlainTextEdit bare;
    if (which == "window") {
        window = quietWindowIn(state.path());
        window->show();
        window->pane()->resize(kPaneSize);
    } else {
        bare.resize(kPaneSize);
        bare.show();
    }
    QCoreApplication::processEvents();
    // The peak from here on: writing 5 to clear_refs starts it again at the present size.
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (!clear.open(QIODevice::WriteOnly) || clear.write("5") != 1) return 1;
    clear.close();
    const qint64 start = statusKb("VmRSS:");
    if (window) {
        openLongSectionInWindow(*window, bytes);
    } else {
        bare.setPlainText(cp932::decodeForPane(bytes));
        bare.viewport()->repaint();
    }
    std::printf("%lld\n", static_cast<long long>(statusKb("VmHWM:") - start));
    if (window) window->store().setModified(false);
    return 0;
}

// Median peak growth in MB of three child processes of each kind, -1 when one failed.
double peakGrowthMb(const char* which) {
    std::vector<double> mb;
    for (int i = 0; i < 3; ++i) {
        QProcess child;
        child.start(QCoreApplication::applicationFilePath(),
                    {QStringLiteral("--memory-child=") + QLatin1StringView(which)});
        if (!child.waitForFinished(600000) || child.exitCode() != 0) return -1;
        mb.push_back(child.readAllStandardOutput().trimmed().toDouble() / 1024);
    }
    return LongLoad::median(mb);
}

void printLongSection() {
    if (longLoad.bare.empty()) return;
    const LongLoad& l = longLoad;
    const double bare = LongLoad::median(l.bare);
    std::printf("50 MB section, first screen vs bare setPlainText: %.3f (%.0f ms / %.0f ms CPU; "
                "goal <= 0.1)\n",
                LongLoad::median(l.firstScreen) / bare, LongLoad::median(l.firstScreen), bare);
    std::printf("50 MB section, all of it in the pane vs bare setPlainText: %.2f (%.0f ms / %.0f "
                "ms CPU, spread %.0f / %.0f ms; goal <= 1.0); wall %.0f ms / %.0f ms\n",
                LongLoad::median(l.loaded) / bare, LongLoad::median(l.loaded), bare,
                LongLoad::spread(l.loaded), LongLoad::spread(l.bare),
                LongLoad::median(l.loadedWall), LongLoad::median(l.bareWall));
    std::printf("50 MB section, longest turn of the event loop while loading: %.1f ms CPU (goal <= "
                "50 ms); wall %.1f ms\n",
                LongLoad::median(l.stall), LongLoad::median(l.stallWall));
    const double window = peakGrowthMb("window");
    const double plain = peakGrowthMb("bare");
    if (window > 0 && plain > 0)
        std::printf("50 MB section, peak memory growth vs bare: %.2f (%.0f MB / %.0f MB; goal <= "
                    "0.8)\n",
                    window / plain, window, plain);
}

BENCHMARK(BM_OpenDocument_Window)->Unit(benchmark::kMillisecond)->Iterations(5)->Repetitions(5);
BENCHMARK(BM_OpenDocument_Baseline)->Unit(benchmark::kMillisecond)->Iterations(5)->Repetitions(5);
BENCHMARK(BM_Switch10MB_Window)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(6);
BENCHMARK(BM_Switch10MB_Baseline)->Unit(benchmark::kMillisecond)->Iterations(6);
BENCHMARK(BM_KeyPress)->Arg(1000)->Arg(10 * 1000 * 1000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_KeyPress_Bare)->Arg(1000)->Arg(10 * 1000 * 1000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Tax10MB_Window)
    ->Arg(Untouched)
    ->Arg(Edited)
    ->Arg(AllSelected)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);
BENCHMARK(BM_Tax10MB_Baseline)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_LongSection_Window)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace

int main(int argc, char** argv) {
    const QByteArray memoryChildArgument = "--memory-child=";
    if (argc == 2 && QByteArray(argv[1]).startsWith(memoryChildArgument))
        return memoryChild(argc, argv, QByteArray(argv[1]).mid(memoryChildArgument.size()));
    return pote::bench::runBenchmarks(argc, argv, true, [](const pote::bench::RatioReporter& r) {
        r.printRatio("open 500 sections, 100 MB, vs read + setPlainText", "BM_OpenDocument_Window",
                     "BM_OpenDocument_Baseline", 1.3);
        r.printRatio("switch 10 MB sections (pane untouched) vs toPlainText + setPlainText",
                     "BM_Switch10MB_Window/0", "BM_Switch10MB_Baseline", 1.3);
        r.printRatio("switch 10 MB sections (pane edited) vs toPlainText + setPlainText",
                     "BM_Switch10MB_Window/1", "BM_Switch10MB_Baseline", 1.3);
        if (r.time("BM_KeyPress/1000") > 0)
            std::printf("key press in the window: 1 KB section %.1f us, 10 MB section %.1f us\n",
                        r.time("BM_KeyPress/1000"), r.time("BM_KeyPress/10000000"));
        r.printRatio("tax over a 10 MB pane (untouched) vs toPlainText", "BM_Tax10MB_Window/0",
                     "BM_Tax10MB_Baseline");
        r.printRatio("tax over a 10 MB pane (edited) vs toPlainText", "BM_Tax10MB_Window/1",
                     "BM_Tax10MB_Baseline");
        r.printRatio("tax over a 10 MB pane (all selected) vs toPlainText", "BM_Tax10MB_Window/2",
                     "BM_Tax10MB_Baseline");
        if (r.time("BM_KeyPress_Bare/1000") > 0)
            std::printf("key press in a bare QPlainTextEdit: 1 KB %.1f us, 10 MB %.1f us\n",
                        r.time("BM_KeyPress_Bare/1000"), r.time("BM_KeyPress_Bare/10000000"));
        printLongSection();
    });
}
