// Find and replace through the window, against the bare work a whole-text approach would start
// with, in the same process:
//  - find next of an absent pattern in a 50 MB section, against converting the pane's text to
//    CP932 once (toPlainText + encode) and memmem over it;
//  - find next of a hit 50 KB after the caret in the same section (absolute: it should cost the
//    distance, not the section);
//  - replace all of 1001 hits in that section through the replace dialog, against the same
//    conversion, and, for scale, against putting a 50 MB text into a bare pane;
//  - the character count window over a 500-section, 100 MB document, against counting its
//    line breaks (absolute figure: the count runs on the user-interface thread);
//  - searching all sections of a 500-section, 100 MB document from the find dialog until the
//    list is filled and painted, against memmem over all texts (wall times in turns: the search
//    runs on its own thread).

#include "app/ui/main_window.h"
#include "app/ui/section_binding.h"
#include "core/cp932.h"
#include "editing/ui/edit_pane.h"
#include "editing/ui/find_dialog.h"
#include "editing/ui/rep_fm.h"
#include "editing/ui/section_hits_window.h"
#include "support/bench_support.h"

#include <QApplication>
#include <QFile>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstring>
#include <memory>

namespace {

using namespace pote;

constexpr qsizetype kSection = 50 * 1024 * 1024;

const QByteArray& marker() {
    static const QByteArray m = cp932::encode(u"ぽてまる君");
    return m;
}
const QByteArray& otherMarker() {
    static const QByteArray m = cp932::encode(u"ぽてまる先生");
    return m;
}
const QString kAbsent = QStringLiteral("締め切りは再来週の月曜日");

const QByteArray& section50MB() {
    static const QByteArray text =
        bench::withMarkers(bench::japaneseProse(kSection), marker(), 1001);
    return text;
}

qsizetype memmemFind(QByteArrayView text, QByteArrayView pattern, qsizetype from = 0) {
    const void* hit = ::memmem(text.data() + from, static_cast<size_t>(text.size() - from),
                               pattern.data(), static_cast<size_t>(pattern.size()));
    return hit ? static_cast<const char*>(hit) - text.data() : -1;
}

// One window for the whole run, its settings in a folder of its own.
struct Fixture {
    QTemporaryDir dir;
    std::unique_ptr<Tmain_fm> window;
    FindDialog* find = nullptr;

    Fixture() {
        StartOptions options;
        options.settingsPath = dir.filePath(QStringLiteral("potemaruED.conf"));
        QFile settings(options.settingsPath);
        if (settings.open(QIODevice::WriteOnly)) settings.write("[General]\nTABWidth=8\n");
        window = std::make_unique<Tmain_fm>(std::move(options));
        window->trigger(QStringLiteral("Find1"));
        find = window->findChild<FindDialog*>();
        find->hide();
    }
    ~Fixture() { window->store().setModified(false); }

    void loadBigSection() {
        if (loaded) return;
        window->store().section(0).text = section50MB();
        window->binding().section_load(0);
        window->pane()->finishLoading();
        loaded = true;
    }
    void caretToStart() { window->pane()->selectRange(0, 0); }
    void findNext(const QString& text) {
        find->setFindText(text);
        find->findChild<QPushButton*>(QStringLiteral("find_next_bt"))->click();
    }

    bool loaded = false;
};

// Made at first use and taken apart before the application is.
std::unique_ptr<Fixture> theFixture;

Fixture& fixture() {
    if (!theFixture) theFixture = std::make_unique<Fixture>();
    return *theFixture;
}

void BM_FindAbsent_Window(benchmark::State& state) {
    Fixture& f = fixture();
    f.loadBigSection();
    for (auto _ : state) {
        f.caretToStart();
        f.findNext(kAbsent);
    }
}

void BM_FindNear_Window(benchmark::State& state) {
    Fixture& f = fixture();
    f.loadBigSection();
    const QString near = cp932::decode(marker());
    for (auto _ : state) {
        f.caretToStart();
        f.findNext(near);
    }
}

// What a search that converts the pane as a whole does before it even searches.
void BM_ConvertAndMemmem(benchmark::State& state) {
    Fixture& f = fixture();
    f.loadBigSection();
    const QByteArray absent = cp932::encode(kAbsent);
    for (auto _ : state) {
        const QByteArray bytes = cp932::encodeFromPane(f.window->pane()->toPlainText());
        benchmark::DoNotOptimize(memmemFind(bytes, absent));
    }
}

void BM_ReplaceAll1001_Window(benchmark::State& state) {
    Fixture& f = fixture();
    f.loadBigSection();
    // Turns the markers into the other word and back, so every run replaces 1001 of them.
    bool forth = true;
    f.window->setModalRunner([&forth](QDialog& d) {
        auto& dialog = dynamic_cast<Trep_fm&>(d);
        dialog.setFindText(cp932::decode(forth ? marker() : otherMarker()));
        dialog.setReplacementText(cp932::decode(forth ? otherMarker() : marker()));
        dialog.findChild<QPushButton*>(QStringLiteral("all_rep_bt"))->click();
        if (dialog.note() != QStringLiteral("1001個の文字列を置換しちゃったにゃん。"))
            std::fprintf(stderr, "unexpected: %s\n", qPrintable(dialog.note()));
        return int(QDialog::Rejected);
    });
    for (auto _ : state) {
        f.window->trigger(QStringLiteral("nx_replace"));
        forth = !forth;
    }
    f.window->setModalRunner(nullptr);
}

// For scale: a whole 50 MB text put into a bare pane.
void BM_SetPlainText50MB_Bare(benchmark::State& state) {
    QPlainTextEdit edit;
    edit.setLineWrapMode(QPlainTextEdit::NoWrap);
    const QString text = cp932::decodeForPane(section50MB());
    for (auto _ : state)
        edit.setPlainText(text);
}

bench::PairedTimes searchAllTimes;

// 500 sections of 200 KB, each with the marker at three line starts.
void loadDocument100MB(Tmain_fm& window) {
    SectionStore& store = window.store();
    const QByteArray text = bench::withMarkers(bench::japaneseProse(200 * 1024), marker(), 3);
    store.resetToNew();
    for (int s = 0; s < 500; ++s) {
        if (s > 0) store.appendEmpty();
        store.section(s).name = cp932::encode(u"第") + QByteArray::number(s + 1);
        // A copy of its own, as a read document has.
        store.section(s).text = QByteArray(text.constData(), text.size());
    }
    store.current = 0;
    window.binding().section_load(0);
}

void BM_SearchAllSections_Window(benchmark::State& state) {
    Fixture& f = fixture();
    loadDocument100MB(*f.window);
    f.loaded = false;
    std::vector<QByteArray> texts;
    for (int s = 0; s < f.window->store().count(); ++s)
        texts.push_back(f.window->store().section(s).text);
    f.find->setFindText(cp932::decode(marker()));
    QPushButton* all = f.find->findChild<QPushButton*>(QStringLiteral("search_all_bt"));
    searchAllTimes.run(
        state,
        [&] {
            all->click();
            SectionHitsWindow* hits = f.window->findChild<SectionHitsWindow*>();
            // Waits for events without spinning: the search needs the other core.
            while (hits->rowCount() != 1500)
                QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
            hits->repaint(); // until the list shows, not just until it is filled
        },
        [&] {
            qsizetype found = 0;
            for (const QByteArray& text : texts)
                for (qsizetype at = memmemFind(text, marker()); at >= 0;
                     at = memmemFind(text, marker(), at + marker().size()))
                    ++found;
            benchmark::DoNotOptimize(found);
        });
}

// The character count window over the 500-section document, against counting its line breaks.
void BM_CharacterCount_Window(benchmark::State& state) {
    Fixture& f = fixture();
    loadDocument100MB(*f.window);
    f.loaded = false;
    f.window->setModalRunner([](QDialog&) { return int(QDialog::Accepted); });
    for (auto _ : state)
        f.window->trigger(QStringLiteral("nx_char_count"));
    f.window->setModalRunner(nullptr);
}

void BM_CountLineBreaks(benchmark::State& state) {
    Fixture& f = fixture();
    for (auto _ : state) {
        qsizetype breaks = 0;
        for (int s = 0; s < f.window->store().count(); ++s) {
            const QByteArray& text = f.window->store().section(s).text;
            breaks += std::count(text.begin(), text.end(), '\n');
        }
        benchmark::DoNotOptimize(breaks);
    }
}

void setup(benchmark::internal::Benchmark* b) {
    b->Unit(benchmark::kMillisecond)->Iterations(6);
}

BENCHMARK(BM_ConvertAndMemmem)->Apply(setup);
BENCHMARK(BM_FindAbsent_Window)->Apply(setup);
BENCHMARK(BM_FindNear_Window)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ReplaceAll1001_Window)->Apply(setup);
BENCHMARK(BM_SetPlainText50MB_Bare)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_CharacterCount_Window)->Apply(setup);
BENCHMARK(BM_CountLineBreaks)->Apply(setup);
BENCHMARK(BM_SearchAllSections_Window)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(8);

} // namespace

int main(int argc, char** argv) {
    return pote::bench::runBenchmarks(argc, argv, true, [](const pote::bench::RatioReporter& r) {
        r.printRatio("find next, absent, 50 MB section, vs converting the pane + memmem",
                     "BM_FindAbsent_Window", "BM_ConvertAndMemmem", 1.5);
        r.printRatio(
            "replace all through the dialog, 1001 hits in 50 MB, vs converting the pane + memmem",
            "BM_ReplaceAll1001_Window", "BM_ConvertAndMemmem", 2);
        r.printRatio("replace all through the dialog vs putting 50 MB into a bare pane",
                     "BM_ReplaceAll1001_Window", "BM_SetPlainText50MB_Bare");
        r.printRatio("character count of a 500-section 100 MB document vs counting its line breaks",
                     "BM_CharacterCount_Window", "BM_CountLineBreaks");
        searchAllTimes.printRatio(
            "search all 500 sections (100 MB) from the find dialog until shown, vs memmem", 2);
        if (r.time("BM_FindNear_Window") > 0)
            std::printf("find next, a hit 50 KB on in a 50 MB section: %.0f us\n",
                        r.time("BM_FindNear_Window"));
        theFixture.reset();
    });
}
