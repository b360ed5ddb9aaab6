#pragma once
// What the benchmark programs share: Japanese sample text, a reporter that remembers each
// benchmark's time so that its ratio to the baseline can be printed, and the main function.

#include <benchmark/benchmark.h>

#include <QByteArray>

#include <algorithm>
#include <chrono>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace pote::bench {

// CP932 prose like a manuscript's, the same for the same seed on every machine: narrative
// paragraphs and lines of dialogue of varied length, drawn from a writer's vocabulary with
// ruby markup, numbers and katakana sounds mixed in; CR LF line breaks, scene breaks now and
// then. Varied enough that deflate packs it about as tightly as real Japanese prose (about
// 2.5-3:1), so that compression and search do honest work. Exactly `bytes` long, cut at a line
// break.
QByteArray japaneseProse(qsizetype bytes, quint64 seed = 1);
// text with marker put at the start of `count` lines spread evenly over it.
QByteArray withMarkers(const QByteArray& text, const QByteArray& marker, int count);

// Keeps the CPU time per iteration of each benchmark (the median when it was repeated), under
// its function name with its arguments ("BM_KeyPress/1000"). CPU time is steadier than wall
// time on a shared machine, and page faults count, as they are the process's own work.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override;
    // -1 when the benchmark did not run (filtered out).
    double time(const std::string& name) const;
    // "label: ours / baseline = r" (lower is better), with the goal when there is one.
    void printRatio(const char* label, const std::string& ours, const std::string& baseline,
                    double goal = 0) const;
    // "label: baseline / ours = s×" (higher is better).
    void printSpeedup(const char* label, const std::string& ours,
                      const std::string& baseline) const;

private:
    std::map<std::string, double> m_time;
};

// Wall times of one operation and of its baseline, taken in turns (the order swapping every
// iteration) so that both see the same machine: the build machines are shared and drift. Wall
// time, not CPU time, where the baseline waits for the disk (fdatasync) as the operation does.
class PairedTimes {
public:
    template <typename Ours, typename Plain>
    void run(benchmark::State& state, Ours&& ours, Plain&& plain) {
        bool plainFirst = false;
        for (auto _ : state) {
            if (plainFirst) m_plain.push_back(millis(plain));
            const double t = millis(ours);
            m_ours.push_back(t);
            if (!plainFirst) m_plain.push_back(millis(plain));
            plainFirst = !plainFirst;
            state.SetIterationTime(t / 1000.0);
        }
        state.counters["ms"] = median(m_ours);
        state.counters["plain_ms"] = median(m_plain);
        state.counters["ratio"] = ratio();
    }

    bool empty() const { return m_ours.empty() || m_plain.empty(); }
    // Median of ours / median of the baseline.
    double ratio() const { return empty() ? 0 : median(m_ours) / median(m_plain); }
    double oursMillis() const { return median(m_ours); }
    double plainMillis() const { return median(m_plain); }
    // "label: r (ours ms / baseline ms; goal <= g: met)"; nothing when the pair did not run.
    void printRatio(const char* label, double goal) const;

private:
    template <typename F> static double millis(F&& f) {
        const auto start = std::chrono::steady_clock::now();
        f();
        return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
            .count();
    }
    static double median(std::vector<double> v) {
        std::sort(v.begin(), v.end());
        return v.empty() ? 0 : v[v.size() / 2];
    }

    std::vector<double> m_ours;
    std::vector<double> m_plain;
};

// Runs every registered benchmark, then report(reporter) prints the ratios. withGui creates an
// offscreen QApplication set up like the program's.
int runBenchmarks(int argc, char** argv, bool withGui,
                  const std::function<void(const RatioReporter&)>& report);

} // namespace pote::bench
