#pragma once
// What the benchmark programs share: Japanese sample text, a reporter that remembers each
// benchmark's time so that its ratio to the baseline can be printed, and the main function.

#include <benchmark/benchmark.h>

#include <QByteArray>

#include <functional>
#include <map>
#include <string>

namespace pote::bench {

// CP932 prose: mostly kanji and kana, some half-width katakana, digits and Latin letters, CR LF
// line breaks and an empty line between paragraphs; exactly `bytes` long, cut at a line break.
QByteArray japaneseProse(qsizetype bytes);

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
    void printSpeedup(const char* label, const std::string& ours, const std::string& baseline) const;

private:
    std::map<std::string, double> m_time;
};

// Runs every registered benchmark, then report(reporter) prints the ratios. withGui creates an
// offscreen QApplication set up like the program's.
int runBenchmarks(int argc, char** argv, bool withGui,
                  const std::function<void(const RatioReporter&)>& report);

} // namespace pote::bench
