// A 300-page manuscript (20 x 20) written as a vertical PDF, against the same characters drawn
// horizontally by QPdfWriter with QPainter::drawText, one line of text per vertical line. Both
// write into a sink that drops the bytes, so that neither the disk nor the output is measured.
// The memory the export holds is read after the 50th and the 300th page: it must not grow with
// the pages.

#include "core/cp932.h"
#include "vertical/document_pages.h"
#include "vertical/ui/font_file.h"
#include "vertical/ui/page_printing.h"
#include "vertical/ui/vertical_font.h"

#include "support/bench_support.h"

#include <QFile>
#include <QFont>
#include <QPainter>
#include <QPdfWriter>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>

namespace {

using namespace pote;
using namespace pote::vertical;

constexpr int kPages = 300;

// The resident memory of the process, in kilobytes.
long residentKb() {
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly)) return 0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields[1].toLong() * 4 : 0;
}

// Paragraphs of exactly 20 characters: each fills one vertical line, 20 to a page.
const QList<SectionSource>& manuscript() {
    static const QList<SectionSource> sections = [] {
        const QByteArray prose = bench::japaneseProse(1024 * 1024);
        const QString text = cp932::decode(prose).remove(u'\r').remove(u'\n').remove(u' ');
        QByteArray lines;
        for (int i = 0; i < kPages * 20; ++i)
            lines += cp932::encode(text.mid((i * 20) % (text.size() - 20), 20)) + "\r\n";
        return QList<SectionSource>{{lines, {}}};
    }();
    return sections;
}

VerticalFont& font() {
    static const std::unique_ptr<VerticalFont> f =
        VerticalFont::load(*findFontFile(defaultVerticalFace())).value();
    return *f;
}

bench::PairedTimes& pairs() {
    static bench::PairedTimes p;
    return p;
}

long g_growthKb = 0;

// Takes every byte and keeps none.
class Sink : public QIODevice {
public:
    Sink() { open(QIODevice::WriteOnly); }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char*, qint64 n) override { return n; }
};

void verticalPdf() {
    Sink out;
    QPdfWriter writer(&out);
    writer.setResolution(600);
    DocumentPages pages(manuscript(), PageFormat{});
    setUpSheet(writer, pages.format());
    long at50 = 0;
    printPages(writer, pages, font(), [&](int done, int) {
        if (done == 50) at50 = residentKb();
        if (done == kPages) g_growthKb = std::max(g_growthKb, residentKb() - at50);
        return true;
    });
}

void horizontalPdf() {
    Sink out;
    QPdfWriter writer(&out);
    writer.setResolution(600);
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, {}));
    QPainter painter(&writer);
    QFont face(defaultVerticalFace());
    face.setPixelSize(writer.height() / 30);
    painter.setFont(face);
    const QString text = cp932::decode(manuscript().first().text);
    const QStringList lines = text.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    for (int page = 0; page < kPages; ++page) {
        if (page > 0) writer.newPage();
        for (int l = 0; l < 20; ++l)
            painter.drawText(QPointF(writer.width() / 10, (l + 2) * face.pixelSize() * 1.3),
                             lines[page * 20 + l]);
    }
}

void BM_VerticalPdf300Pages(benchmark::State& state) {
    pairs().run(state, verticalPdf, horizontalPdf);
    state.counters["rss_growth_kb"] = double(g_growthKb);
}
BENCHMARK(BM_VerticalPdf300Pages)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(6);

} // namespace

int main(int argc, char** argv) {
    return bench::runBenchmarks(argc, argv, true, [](const bench::RatioReporter&) {
        pairs().printRatio("vertical PDF of 300 manuscript pages / horizontal drawText PDF", 1.5);
        std::printf("resident memory growth from page 50 to page 300: %ld KB\n", g_growthKb);
    });
}
