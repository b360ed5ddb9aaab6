// Committing an edited 10 MB section while keeping the stored codes of what was not edited,
// against encoding the whole pane text (what a commit did before), in the same process:
//  - after one character typed in the middle;
//  - after 100 characters typed, scattered over the section;
//  - after an edit undone (the pane as loaded);
//  - after 1 MB of it moved (cut and pasted) 5 MB further on, from and to the middle of lines;
//  - after the same move with a commit between the cut and the paste, the cut's stored bytes
//    carried to the paste;
//  - and what the cut costs: the stored bytes of that 1 MB taken from the pane, one character
//    typed elsewhere in it.
// The section is prose with one NEC or IBM duplicate code, in the code the encoder does not
// write, on every line.

#include "core/byte_keeping_encode.h"
#include "core/cp932.h"
#include "core/stored_stretch.h"
#include "support/bench_support.h"

#include <benchmark/benchmark.h>

#include <QByteArray>
#include <QString>

#include <algorithm>
#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using namespace pote;

constexpr qsizetype kSectionBytes = 10 * 1000 * 1000;

// Every code that decodes to a character some other code also stands for, and that the encoder
// does not write.
std::vector<QByteArray> rareCodes() {
    std::vector<QByteArray> codes;
    for (unsigned lead = 0x81; lead <= 0xFC; ++lead) {
        for (unsigned trail = 0x40; trail <= 0xFC; ++trail) {
            if (cp932::pairUnit(lead, trail) && !cp932::isPreferredCode(lead, trail))
                codes.push_back(QByteArray{char(lead), char(trail)});
        }
    }
    return codes;
}

const QByteArray& stored() {
    static const QByteArray text = [] {
        const std::vector<QByteArray> codes = rareCodes();
        const QByteArray prose = bench::japaneseProse(kSectionBytes);
        QByteArray out;
        out.reserve(prose.size() + prose.size() / 16);
        std::size_t next = 0;
        qsizetype from = 0;
        while (from < prose.size()) {
            qsizetype end = prose.indexOf('\n', from);
            end = end < 0 ? prose.size() : end + 1;
            out += codes[next++ % codes.size()];
            out += QByteArrayView(prose).sliced(from, end - from);
            from = end;
        }
        return out;
    }();
    return text;
}

// The loaded pane with `count` characters typed, spread evenly over it.
QString typedInto(int count) {
    QString pane = cp932::decodeForPane(stored());
    const qsizetype step = pane.size() / (count + 1);
    for (int k = count; k >= 1; --k)
        pane.insert(k * step, u'ね');
    return pane;
}

// Pane units of the moved stretch: from, length, and where it goes in what is left.
constexpr qsizetype kMoveFrom = 1'000'000;
constexpr qsizetype kMoveLength = 500'000; // 1 MB of two-byte characters
constexpr qsizetype kMoveTo = 3'500'000;
constexpr int kMoved = -1;
constexpr int kCarried = -2;
constexpr int kCut = -3;

// The byte offset in bytes of pane position unit (line breaks all CR LF).
qsizetype byteAt(const QByteArray& bytes, qsizetype unit) {
    qsizetype i = 0;
    for (qsizetype u = 0; u < unit && i < bytes.size(); ++u)
        i += bytes[i] == '\r' ? 2 : cp932::charLengthAt(bytes, i);
    return i;
}

QString movedPane() {
    QString pane = cp932::decodeForPane(stored());
    const QString stretch = pane.mid(kMoveFrom, kMoveLength);
    pane.remove(kMoveFrom, kMoveLength);
    pane.insert(kMoveTo, stretch);
    return pane;
}

QByteArray movedBytes() {
    QByteArray bytes = stored();
    const qsizetype from = byteAt(bytes, kMoveFrom);
    const QByteArray stretch = bytes.mid(from, byteAt(bytes, kMoveFrom + kMoveLength) - from);
    bytes.remove(from, stretch.size());
    bytes.insert(byteAt(bytes, kMoveTo), stretch);
    return bytes;
}

// The moved stretch's stored bytes, and the stored text once a commit took it without them.
const QByteArray& cutBytes() {
    static const QByteArray bytes = [] {
        const qsizetype from = byteAt(stored(), kMoveFrom);
        return stored().mid(from, byteAt(stored(), kMoveFrom + kMoveLength) - from);
    }();
    return bytes;
}

const QByteArray& storedAfterTheCut() {
    static const QByteArray bytes =
        QByteArray(stored()).remove(byteAt(stored(), kMoveFrom), cutBytes().size());
    return bytes;
}

const QString& pane(int typed) {
    static const QString none = typedInto(0);
    static const QString one = typedInto(1);
    static const QString hundred = typedInto(100);
    static const QString moved = movedPane();
    switch (typed) {
    case 0:
        return none;
    case 1:
    case kCut:
        return one;
    case kMoved:
    case kCarried:
        return moved;
    default:
        return hundred;
    }
}

// What the commit compares the pane with, and the bytes carried to it.
const QByteArray& storedFor(int typed) {
    return typed == kCarried ? storedAfterTheCut() : stored();
}

std::vector<QByteArray> carriedFor(int typed) {
    return typed == kCarried ? std::vector<QByteArray>{cutBytes()} : std::vector<QByteArray>{};
}

// The work measured against encoding the pane: the commit, or for kCut the cut's bytes.
QByteArray ours(int typed) {
    if (typed == kCut) {
        return bytesOfPanePositions(encodeKeepingStoredBytes(stored(), pane(typed)), kMoveFrom,
                                    kMoveFrom + kMoveLength);
    }
    return encodeKeepingStoredBytes(storedFor(typed), pane(typed), carriedFor(typed));
}

void check(int typed) {
    const QByteArray kept = ours(typed);
    if (typed == kCut) {
        if (kept != cutBytes()) throw std::logic_error("the cut's bytes are not the stored ones");
        return;
    }
    const QByteArray plain = cp932::encodeFromPane(pane(typed));
    if (kept.size() != plain.size() || cp932::decodeForPane(kept) != pane(typed))
        throw std::logic_error("the kept text is not the pane's");
    const bool moved = typed == kMoved || typed == kCarried;
    if (moved ? kept != movedBytes() : kept.size() != stored().size() + 2 * typed)
        throw std::logic_error("more than the edit changed");
}

void BM_EncodeWholePane(benchmark::State& state) {
    const QString& text = pane(int(state.range(0)));
    for (auto _ : state) {
        QByteArray out = cp932::encodeFromPane(text);
        benchmark::DoNotOptimize(out.data());
    }
}

void BM_EncodeKeepingStoredBytes(benchmark::State& state) {
    check(int(state.range(0)));
    for (auto _ : state) {
        QByteArray out = ours(int(state.range(0)));
        benchmark::DoNotOptimize(out.data());
    }
}

// The machine is shared and its load drifts: each round runs the baseline and ours right after
// each other, and the figure is the median of the rounds' ratios.
constexpr int kRounds = 7;
const int kTyped[] = {1, 100, 0, kMoved, kCarried, kCut};

std::string name(const char* function, int typed, int round) {
    return std::string(function) + "/" + std::to_string(typed) + "/round:" + std::to_string(round);
}

void registerRounds() {
    for (int round = 0; round < kRounds; ++round) {
        for (int typed : kTyped) {
            benchmark::RegisterBenchmark(name("BM_EncodeWholePane", typed, round).c_str(),
                                         BM_EncodeWholePane)
                ->Arg(typed)
                ->Unit(benchmark::kMillisecond);
            benchmark::RegisterBenchmark(name("BM_EncodeKeepingStoredBytes", typed, round).c_str(),
                                         BM_EncodeKeepingStoredBytes)
                ->Arg(typed)
                ->Unit(benchmark::kMillisecond);
        }
    }
}

void printMedianRatio(const bench::RatioReporter& r, const char* label, int typed, double goal) {
    std::vector<double> ratios;
    for (int round = 0; round < kRounds; ++round) {
        const double ours =
            r.time(name("BM_EncodeKeepingStoredBytes", typed, round) + "/" + std::to_string(typed));
        const double baseline =
            r.time(name("BM_EncodeWholePane", typed, round) + "/" + std::to_string(typed));
        if (ours > 0 && baseline > 0) ratios.push_back(ours / baseline);
    }
    if (ratios.empty()) return;
    std::sort(ratios.begin(), ratios.end());
    const double median = ratios[ratios.size() / 2];
    if (goal > 0)
        std::printf("%s: %.2f (median of %zu rounds; goal <= %.2f: %s)\n", label, median,
                    ratios.size(), goal, median <= goal ? "met" : "MISSED");
    else
        std::printf("%s: %.2f (median of %zu rounds)\n", label, median, ratios.size());
}

} // namespace

int main(int argc, char** argv) {
    std::printf("section: %lld bytes, %lld lines each holding a duplicate code\n",
                static_cast<long long>(stored().size()),
                static_cast<long long>(stored().count('\n')));
    registerRounds();
    return bench::runBenchmarks(argc, argv, false, [](const bench::RatioReporter& r) {
        printMedianRatio(r, "commit after one character typed, vs encoding the whole pane", 1, 1.3);
        printMedianRatio(
            r, "commit after 100 scattered characters typed, vs encoding the whole pane", 100, 1.3);
        printMedianRatio(r, "commit after an undo (the pane as loaded), vs encoding the whole pane",
                         0, 0);
        printMedianRatio(r, "commit after 1 MB moved 5 MB on, vs encoding the whole pane", kMoved,
                         2.0);
        printMedianRatio(r,
                         "commit after 1 MB cut, committed and pasted 5 MB on (its bytes "
                         "carried), vs encoding the whole pane",
                         kCarried, 2.0);
        printMedianRatio(
            r, "the stored bytes of a 1 MB cut from an edited pane, vs encoding the whole pane",
            kCut, 0);
    });
}
