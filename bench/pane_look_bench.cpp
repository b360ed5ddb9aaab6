// Laying a 50 MB section out again after the settings changed, in the window's pane, against a
// bare QPlainTextEdit making the same change on the same text (both shown, the same size, and
// painted once afterwards):
//  - word wrap switched on and off;
//  - the font switched between two faces.
// The window's pane keeps counting the displayed lines of wrapped text while the program is
// idle afterwards; that is not part of what the user waits for, so it is not timed.

#include "app/ui/main_window.h"
#include "app/ui/pane_look.h"
#include "app/ui/section_binding.h"
#include "core/cp932.h"
#include "editing/ui/edit_pane.h"
#include "settings/ui/editor_font_qt.h"
#include "support/bench_support.h"

#include <QApplication>
#include <QFile>
#include <QPlainTextEdit>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

using namespace pote;

constexpr qsizetype kSectionBytes = 50 * 1000 * 1000;
constexpr QSize kPaneSize{800, 600};

const QByteArray& sectionText() {
    static const QByteArray text = bench::japaneseProse(kSectionBytes);
    return text;
}

struct Panes {
    QTemporaryDir dir;
    std::unique_ptr<Tmain_fm> window;
    QPlainTextEdit bare;

    Panes() {
        // Settings of its own, present so that no first-start question is asked.
        StartOptions options;
        options.settingsPath = dir.filePath(QStringLiteral("potemaruED.conf"));
        QFile settings(options.settingsPath);
        if (settings.open(QIODevice::WriteOnly)) settings.write("[General]\nTABWidth=8\n");
        settings.close();
        window = std::make_unique<Tmain_fm>(std::move(options));
        window->store().section(0).text = sectionText();
        window->binding().section_load(0);
        window->pane()->finishLoading();
        window->show();
        window->pane()->resize(kPaneSize);

        bare.setFont(window->pane()->font());
        bare.setLineWrapMode(QPlainTextEdit::NoWrap);
        // As the pane has them: a scroll bar coming and going would resize the bare one too.
        bare.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        bare.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        bare.setPlainText(cp932::decodeForPane(sectionText()));
        bare.resize(kPaneSize);
        bare.show();
        QApplication::processEvents();
    }
    ~Panes() { window->store().setModified(false); }
};

// Made on first use, released before the application object goes.
std::unique_ptr<Panes>& panesHeld() {
    static std::unique_ptr<Panes> p;
    return p;
}
Panes& panes() {
    if (!panesHeld()) panesHeld() = std::make_unique<Panes>();
    return *panesHeld();
}

bench::PairedTimes& wrapTimes() {
    static bench::PairedTimes t;
    return t;
}
bench::PairedTimes& fontTimes() {
    static bench::PairedTimes t;
    return t;
}

void BM_WrapChange(benchmark::State& state) {
    Panes& p = panes();
    Settings& settings = p.window->settings();
    EditPane& pane = *p.window->pane();
    wrapTimes().run(
        state,
        [&] {
            settings.Wrap = !settings.Wrap;
            applyPaneLook(pane, settings);
            pane.viewport()->repaint();
        },
        [&] {
            const bool wraps = p.bare.lineWrapMode() != QPlainTextEdit::NoWrap;
            p.bare.setLineWrapMode(wraps ? QPlainTextEdit::NoWrap : QPlainTextEdit::WidgetWidth);
            p.bare.viewport()->repaint();
        });
    settings.Wrap = false;
    applyPaneLook(pane, settings);
    p.bare.setLineWrapMode(QPlainTextEdit::NoWrap);
}

void BM_FontChange(benchmark::State& state) {
    Panes& p = panes();
    Settings& settings = p.window->settings();
    EditPane& pane = *p.window->pane();
    EditorFont fonts[2] = {settings.font, settings.font};
    fonts[1].face = QStringLiteral("ＭＳ 明朝");
    fonts[1].setSize(14);
    // Each side switches to the other font on every call.
    int oursNext = 1;
    int bareNext = 1;
    fontTimes().run(
        state,
        [&] {
            settings.font = fonts[oursNext];
            oursNext = 1 - oursNext;
            applyPaneLook(pane, settings);
            pane.viewport()->repaint();
        },
        [&] {
            p.bare.setFont(qfontOf(fonts[bareNext]));
            bareNext = 1 - bareNext;
            p.bare.viewport()->repaint();
        });
}

BENCHMARK(BM_WrapChange)->Iterations(20)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FontChange)->Iterations(30)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return pote::bench::runBenchmarks(argc, argv, true, [](const pote::bench::RatioReporter&) {
        wrapTimes().printRatio("wrap switched on a 50 MB section / bare QPlainTextEdit", 1.2);
        fontTimes().printRatio("font changed on a 50 MB section / bare QPlainTextEdit", 1.2);
        panesHeld().reset();
    });
}
