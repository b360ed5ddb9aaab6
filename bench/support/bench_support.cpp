#include "support/bench_support.h"

#include "app/ui/application_setup.h"
#include "core/cp932.h"

#include <QApplication>
#include <QTemporaryDir>

#include <cstdio>
#include <memory>

namespace pote::bench {

QByteArray japaneseProse(qsizetype bytes) {
    static const QByteArray paragraph = cp932::encode(
        u"　吾輩の家の猫は、毎朝六時きっかりに目を覚まして台所へ向かう。冷蔵庫の前に座り込み、\r\n"
        u"「ごはんはまだかにゃ？」とでも言いたげな顔でこちらを見上げるのだ。体重は5.2kg、\r\n"
        u"獣医さんには少し痩せるようにと言われている。ﾀﾞｲｴｯﾄ用のフードに替えて三週間、\r\n"
        u"結果はまだ見えないが、本人（本猫？）は気にしていない様子である。\r\n"
        u"午後になると日の当たる窓辺で丸くなり、小説の原稿を書く私の横で寝息を立てる。\r\n"
        u"締め切りは来週の金曜日、残りは約120枚。章立てを見直して、第3章の冒頭を書き直す予定だ。\r"
        u"\n"
        u"\r\n");
    QByteArray text;
    text.reserve(bytes + paragraph.size());
    while (text.size() < bytes)
        text += paragraph;
    text.truncate(bytes);
    // Never end inside a line (and so never inside a double-byte character).
    const qsizetype lastBreak = text.lastIndexOf('\n');
    if (lastBreak >= 0 && lastBreak + 1 < text.size()) text.resize(lastBreak + 1);
    while (text.size() < bytes)
        text += ' ';
    return text;
}

QByteArray withMarkers(const QByteArray& text, const QByteArray& marker, int count) {
    QByteArray out;
    out.reserve(text.size() + count * marker.size());
    qsizetype copied = 0;
    for (int k = 1; k <= count; ++k) {
        const qsizetype lineStart = text.indexOf('\n', text.size() / (count + 1) * k) + 1;
        out.append(QByteArrayView(text).sliced(copied, lineStart - copied));
        out.append(marker);
        copied = lineStart;
    }
    out.append(QByteArrayView(text).sliced(copied));
    return out;
}

void RatioReporter::ReportRuns(const std::vector<Run>& runs) {
    for (const Run& run : runs) {
        if (run.error_occurred) continue;
        const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
        const bool single = run.run_type == Run::RT_Iteration && run.repetitions <= 1;
        if (!median && !single) continue;
        std::string name = run.run_name.function_name;
        if (!run.run_name.args.empty()) name += "/" + run.run_name.args;
        m_time[name] = run.GetAdjustedCPUTime();
    }
    ConsoleReporter::ReportRuns(runs);
}

double RatioReporter::time(const std::string& name) const {
    const auto it = m_time.find(name);
    return it == m_time.end() ? -1 : it->second;
}

void RatioReporter::printRatio(const char* label, const std::string& ours,
                               const std::string& baseline, double goal) const {
    const double a = time(ours);
    const double b = time(baseline);
    if (a < 0 || b <= 0) return;
    const double ratio = a / b;
    if (goal > 0)
        std::printf("%s: %.2f (%s / %s; goal <= %.2f: %s)\n", label, ratio, ours.c_str(),
                    baseline.c_str(), goal, ratio <= goal ? "met" : "MISSED");
    else
        std::printf("%s: %.2f (%s / %s)\n", label, ratio, ours.c_str(), baseline.c_str());
}

void RatioReporter::printSpeedup(const char* label, const std::string& ours,
                                 const std::string& baseline) const {
    const double a = time(ours);
    const double b = time(baseline);
    if (a <= 0 || b < 0) return;
    std::printf("%s: %.2fx (%s time / %s time)\n", label, b / a, baseline.c_str(), ours.c_str());
}

void PairedTimes::printRatio(const char* label, double goal) const {
    if (empty()) return;
    const double r = ratio();
    std::printf("%s: %.2f (%.1f ms / %.1f ms; goal <= %.2f: %s)\n", label, r, median(m_ours),
                median(m_plain), goal, r <= goal ? "met" : "MISSED");
}

int runBenchmarks(int argc, char** argv, bool withGui,
                  const std::function<void(const RatioReporter&)>& report) {
    std::unique_ptr<QApplication> app;
    // Windows keep recovery copies and offer those of earlier runs; a benchmark's windows use
    // a folder of their own, so that no offer waits for an answer.
    QTemporaryDir state;
    if (withGui) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        qputenv("XDG_STATE_HOME", state.path().toLocal8Bit());
        app = std::make_unique<QApplication>(argc, argv);
        setUpApplication(*app);
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    report(reporter);
    benchmark::Shutdown();
    return 0;
}

} // namespace pote::bench
