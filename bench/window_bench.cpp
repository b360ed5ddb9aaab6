// The window's own costs against the bare toolkit doing the same work:
//  - opening a 500-section, 100 MB document until section 1 shows, against reading the file and
//    a bare QPlainTextEdit::setPlainText of section 1;
//  - switching between two 10 MB sections, against bare toPlainText + setPlainText;
//  - a key press in a 10 MB section against one in a 1 KB section;
//  - the cat's tax calculation over a 10 MB pane (untouched, edited, all selected), against a
//    bare toPlainText of the same pane, the least any command reading the whole text pays.

#include "app/ui/application_setup.h"
#include "app/ui/document_commands.h"
#include "app/ui/main_window.h"
#include "app/ui/section_binding.h"
#include "core/cp932.h"
#include "core/document_file.h"
#include "editing/ui/edit_pane.h"
#include "support/bench_support.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QTemporaryDir>

#include <QFile>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>

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
        if (!docfile::writeDocument(bigDocument, store).ok)
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

std::unique_ptr<Tmain_fm> quietWindow() {
    // Settings of its own, present so that no first-start question is asked.
    StartOptions options;
    options.prompter = std::make_unique<YesPrompter>();
    options.settingsPath = fixture().dir.filePath(QStringLiteral("potemaruED.conf"));
    QFile settings(options.settingsPath);
    if (!settings.exists() && settings.open(QIODevice::WriteOnly))
        settings.write("[General]\nTABWidth=8\n");
    return std::make_unique<Tmain_fm>(std::move(options));
}

void BM_OpenDocument_Window(benchmark::State& state) {
    auto window = quietWindow();
    for (auto _ : state) {
        window->store().setModified(false);
        benchmark::DoNotOptimize(window->documents().document_read(fixture().bigDocument));
    }
}

void BM_OpenDocument_Baseline(benchmark::State& state) {
    QPlainTextEdit edit;
    QFont font(QStringLiteral("ＭＳ ゴシック"));
    font.setPixelSize(16);
    edit.setFont(font);
    // Like the window, hold the previous document while the next one is read.
    docfile::ReadResult held;
    for (auto _ : state) {
        auto result =
            docfile::readDocument(fixture().bigDocument, [](const QByteArray&) { return true; });
        edit.setPlainText(cp932::decode(result.content.sections.at(0).section.text));
        held = std::move(result);
    }
}

void setUpTwoSections(Tmain_fm& window, qsizetype bytes) {
    SectionStore& store = window.store();
    store.section(0).text = japaneseText(bytes);
    store.appendEmpty();
    store.section(1).text = japaneseText(bytes);
    window.binding().section_load(0);
}

void BM_Switch10MB_Window(benchmark::State& state) {
    auto window = quietWindow();
    setUpTwoSections(*window, 10 * 1000 * 1000);
    const bool edited = state.range(0) != 0;
    for (auto _ : state) {
        if (edited) window->pane()->document()->setModified(true);
        const int from = window->store().current;
        window->binding().section_switch(from, 1 - from);
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
    const auto source = static_cast<TaxSource>(state.range(0));
    if (source == Edited) window->pane()->document()->setModified(true);
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

} // namespace

int main(int argc, char** argv) {
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
    });
}
