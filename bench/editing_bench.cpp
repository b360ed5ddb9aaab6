// Editing costs against their baselines, each in the same process:
//  - the status read-out with the caret at the end of a 50 MB section, against a 1 KB one
//    (it must cost the current line, not the text), alone and with the caret moving to
//    another line before each read-out; the latter also against a bare editor's caret move
//    in the same 50 MB, which pays the toolkit's own lookups that grow with the text;
//  - blank-line cut and shift right of a 10 MB selection, against memcpy of the same bytes.

#include "core/cp932.h"
#include "editing/line_transforms.h"
#include "editing/status_text.h"
#include "editing/ui/edit_pane.h"

#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>

#include "support/bench_support.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <string>

namespace {

using namespace pote;

// Manuscript prose with blank lines and lines of spaces among its paragraphs (about one line
// in ten).
QByteArray prose(qsizetype bytes) {
    const QByteArray text = bench::japaneseProse(bytes);
    const int lines = static_cast<int>(text.count('\n'));
    return bench::withMarkers(bench::withMarkers(text, "\r\n", lines / 20), "    \r\n", lines / 20);
}

// A pane holding a section of the given size, the caret at its end, and the status panel.
struct StatusFixture {
    explicit StatusFixture(qsizetype bytes) {
        pane.loadText(cp932::decodeForPane(prose(bytes)));
        QTextCursor end = pane.textCursor();
        end.movePosition(QTextCursor::End);
        pane.setTextCursor(end);
    }
    void update() {
        const EditPane::CaretPosition p = pane.caretPosition();
        panel.setText(caretStatusText(p.line, p.column, p.totalLines));
    }
    EditPane pane;
    QLabel panel;
};

StatusFixture& statusFixture(qsizetype bytes) {
    static std::map<qsizetype, std::unique_ptr<StatusFixture>> fixtures;
    auto& f = fixtures[bytes];
    if (!f) f = std::make_unique<StatusFixture>(bytes);
    return *f;
}

void BM_StatusUpdate50MB(benchmark::State& state) {
    StatusFixture& f = statusFixture(50 * 1024 * 1024);
    for (auto _ : state)
        f.update();
}

void BM_StatusUpdate1KB(benchmark::State& state) {
    StatusFixture& f = statusFixture(1024);
    for (auto _ : state)
        f.update();
}

// The caret moving between the last two lines: each read-out is about another line, so nothing
// read before can be reused.
void moveAndUpdate(benchmark::State& state, StatusFixture& f) {
    QTextCursor last = f.pane.textCursor();
    last.movePosition(QTextCursor::End);
    QTextCursor previous = last;
    previous.movePosition(QTextCursor::PreviousBlock);
    bool toLast = false;
    for (auto _ : state) {
        f.pane.setTextCursor((toLast = !toLast) ? last : previous);
        f.update();
    }
}

void BM_CaretLineChange50MB(benchmark::State& state) {
    moveAndUpdate(state, statusFixture(50 * 1024 * 1024));
}

void BM_CaretLineChange1KB(benchmark::State& state) {
    moveAndUpdate(state, statusFixture(1024));
}

// The toolkit alone moving the caret between the same two lines of a bare editor holding the
// same 50 MB: every question about a position walks the document's block and fragment trees,
// whose depth grows with the number of lines, so a caret move costs more in a long text
// whoever makes it. What the window adds to that is what it must keep small.
void BM_CaretLineChange50MB_Bare(benchmark::State& state) {
    static QPlainTextEdit* const bare = [] {
        auto* edit = new QPlainTextEdit;
        edit->setLineWrapMode(QPlainTextEdit::NoWrap);
        edit->setPlainText(cp932::decodeForPane(prose(50 * 1024 * 1024)));
        return edit;
    }();
    QTextCursor last = bare->textCursor();
    last.movePosition(QTextCursor::End);
    QTextCursor previous = last;
    previous.movePosition(QTextCursor::PreviousBlock);
    bool toLast = false;
    for (auto _ : state)
        bare->setTextCursor((toLast = !toLast) ? last : previous);
}

const QByteArray& tenMegabytes() {
    static const QByteArray text = prose(10 * 1024 * 1024);
    return text;
}

void BM_BlankLineCut10MB(benchmark::State& state) {
    const QByteArray& in = tenMegabytes();
    for (auto _ : state) {
        QByteArray out = blank_line_cut(in);
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(state.iterations() * in.size());
}

void BM_ShiftRight10MB(benchmark::State& state) {
    const QByteArray& in = tenMegabytes();
    for (auto _ : state) {
        QByteArray out = shift_right(in);
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(state.iterations() * in.size());
}

// The baseline: a fresh buffer of the same size, filled by memcpy.
void BM_Memcpy10MB(benchmark::State& state) {
    const QByteArray& in = tenMegabytes();
    for (auto _ : state) {
        QByteArray out(in.size(), Qt::Uninitialized);
        std::memcpy(out.data(), in.constData(), static_cast<size_t>(in.size()));
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(state.iterations() * in.size());
}

// Medians of a few repetitions: the machine is shared, single runs drift.
void setup(benchmark::internal::Benchmark* b) {
    b->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);
}

BENCHMARK(BM_StatusUpdate50MB)->Apply(setup);
BENCHMARK(BM_StatusUpdate1KB)->Apply(setup);
BENCHMARK(BM_CaretLineChange50MB)->Apply(setup);
BENCHMARK(BM_CaretLineChange1KB)->Apply(setup);
BENCHMARK(BM_CaretLineChange50MB_Bare)->Apply(setup);
BENCHMARK(BM_BlankLineCut10MB)->Apply(setup);
BENCHMARK(BM_ShiftRight10MB)->Apply(setup);
BENCHMARK(BM_Memcpy10MB)->Apply(setup);

} // namespace

int main(int argc, char** argv) {
    return pote::bench::runBenchmarks(argc, argv, true, [](const pote::bench::RatioReporter& r) {
        r.printRatio("status update, 50 MB vs 1 KB section", "BM_StatusUpdate50MB",
                     "BM_StatusUpdate1KB", 2);
        r.printRatio("caret to another line, 50 MB vs 1 KB section", "BM_CaretLineChange50MB",
                     "BM_CaretLineChange1KB", 2);
        // What of that growth is the toolkit's own: about all of it.
        r.printRatio("caret to another line with the status, 50 MB vs bare caret move, 50 MB",
                     "BM_CaretLineChange50MB", "BM_CaretLineChange50MB_Bare");
        r.printRatio("blank-line cut of 10 MB vs memcpy", "BM_BlankLineCut10MB", "BM_Memcpy10MB",
                     20);
        r.printRatio("shift right of 10 MB vs memcpy", "BM_ShiftRight10MB", "BM_Memcpy10MB", 20);
    });
}
