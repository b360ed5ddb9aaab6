#include "vertical/ui/page_printing.h"

#include "core/file_io.h"
#include "vertical/page_geometry.h"
#include "vertical/ui/page_painter.h"

#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

namespace pote::vertical {

namespace {

QString deviceRefusedMessage() {
    return QStringLiteral("could not start drawing pages");
}

PrintOutcome failed(const QString& error) {
    return PrintOutcome{PrintOutcome::Status::Failed, 0, error};
}

} // namespace

void setUpSheet(QPagedPaintDevice& device, const PageFormat& format) {
    const Paper paper = paperFor(format);
    device.setPageLayout(
        QPageLayout(QPageSize(QPageSize::A4),
                    paper.landscape ? QPageLayout::Landscape : QPageLayout::Portrait, QMarginsF()));
}

PrintOutcome printPages(QPagedPaintDevice& device, PageSource& source, VerticalFont& font,
                        const PageProgress& progress) {
    const int total = source.pageCount();
    QPainter painter;
    if (!painter.begin(&device)) return failed(deviceRefusedMessage());
    painter.setRenderHint(QPainter::Antialiasing);
    const PageFormat& format = source.format();
    const PageGeometry geometry(format, QSizeF(device.width(), device.height()));
    PagePainter pages(font, geometry, format.grid);
    PrintOutcome outcome;
    for (int n = 0; n < total; ++n) {
        if (n > 0 && !device.newPage()) {
            painter.end();
            return failed(deviceRefusedMessage());
        }
        pages.paint(painter, source.page(n), n + 1);
        outcome.pages = n + 1;
        if (progress && !progress(n + 1, total)) {
            outcome.status = PrintOutcome::Status::Stopped;
            break;
        }
    }
    painter.end();
    return outcome;
}

PrintOutcome writePdf(const QString& path, const QString& title, PageSource& source,
                      VerticalFont& font, const PageProgress& progress) {
    if (const QString problem = writeTargetProblem(path); !problem.isEmpty())
        return failed(problem);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return failed(file.errorString());
    PrintOutcome outcome;
    {
        QPdfWriter writer(&file);
        writer.setTitle(title);
        writer.setCreator(QStringLiteral("ぽてまるエディター"));
        // Fine enough for any printer; every length on the page is worked out from it.
        writer.setResolution(600);
        setUpSheet(writer, source.format());
        outcome = printPages(writer, source, font, progress);
    }
    if (outcome.status != PrintOutcome::Status::Done) {
        file.cancelWriting();
        return outcome;
    }
    if (const QString error = commitBuffered(file); !error.isEmpty()) return failed(error);
    return outcome;
}

} // namespace pote::vertical
