// Filling the section lists of a 500-section document against the bare cost of putting 500
// ready-made entries into a list widget:
//  - refilling a section list from the store, without and with drawing its twenty visible rows;
//  - a whole activation of the picker (group list, sizing, section list).

#include "app/ui/application_setup.h"
#include "core/cp932.h"
#include "core/section_store.h"
#include "sections/section_lists.h"
#include "sections/ui/list_box.h"
#include "sections/ui/section_list_fill.h"
#include "sections/ui/select_fm.h"

#include <QApplication>
#include <QListWidget>
#include <QPixmap>

#include "support/bench_support.h"

#include <benchmark/benchmark.h>

#include <cstdio>

namespace {

using namespace pote;

const SectionStore& fullStore() {
    static const SectionStore store = [] {
        SectionStore s;
        for (int pos = 0; pos < SectionStore::kMaxSections; ++pos) {
            if (pos > 0) s.appendEmpty();
            s.section(pos).name = cp932::encode(u"第") + QByteArray::number(pos + 1) +
                                  cp932::encode(u"章　吾輩は猫である。名前はまだ無い");
        }
        return s;
    }();
    return store;
}

// The entry texts, made once outside the timing: the baseline pays only for the items.
QStringList readyEntries() {
    QStringList entries;
    for (int pos = 0; pos < fullStore().count(); ++pos)
        entries << sectionEntryText(pos, fullStore().section(pos).name, EntrySpacing::Picker);
    return entries;
}

constexpr QSize kTwentyRows(273, 20 * 13 + 4);

void BM_RawItems_Baseline(benchmark::State& state) {
    QListWidget list;
    list.resize(kTwentyRows);
    // Rows of one height, like the dialogs' lists, so that drawing compares like with like.
    list.setUniformItemSizes(true);
    const QStringList entries = readyEntries();
    const bool draw = state.range(0) != 0;
    QPixmap canvas(kTwentyRows);
    for (auto _ : state) {
        list.clear();
        list.addItems(entries);
        list.setCurrentRow(0);
        if (draw) list.render(&canvas);
    }
    state.SetLabel(draw ? "drawn" : "filled");
}

void BM_SectionListFill(benchmark::State& state) {
    ListBox list(QStringLiteral("section_list"), nullptr);
    list.resize(kTwentyRows);
    const bool draw = state.range(0) != 0;
    QPixmap canvas(kTwentyRows);
    for (auto _ : state) {
        fillSectionList(list, fullStore(), 0, EntrySpacing::Picker, true);
        if (draw) list.render(&canvas);
    }
    state.SetLabel(draw ? "drawn" : "filled");
}

void BM_PickerActivation(benchmark::State& state) {
    Tselect_fm picker(
        fullStore(), [](int) {}, nullptr);
    for (auto _ : state)
        picker.act();
}

BENCHMARK(BM_RawItems_Baseline)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SectionListFill)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PickerActivation)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    return pote::bench::runBenchmarks(argc, argv, true, [](const pote::bench::RatioReporter& r) {
        r.printRatio("section list fill vs 500 raw items", "BM_SectionListFill/0",
                     "BM_RawItems_Baseline/0", 1.5);
        r.printRatio("section list fill + draw vs 500 raw items + draw", "BM_SectionListFill/1",
                     "BM_RawItems_Baseline/1", 1.5);
        r.printRatio("picker activation vs 500 raw items", "BM_PickerActivation",
                     "BM_RawItems_Baseline/0", 1.5);
    });
}
