// The PDF export, drawn with cairo's PDF surface from the same page plan the screen and the
// printer paint: the glyphs go out with the text they show (cairo_show_text_glyphs), so that a
// vertical form, which the font's character map does not know, still copies as its character.

#include "core/file_io.h"
#include "vertical/page_geometry.h"
#include "vertical/ui/page_painter.h"
#include "vertical/ui/page_printing.h"
#include "vertical/ui/vertical_font.h"

#include <QSaveFile>

#include <cairo-ft.h>
#include <cairo-pdf.h>
#include <cairo.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <cmath>
#include <memory>
#include <vector>

namespace pote::vertical {

namespace {

constexpr qreal kPointsPerMillimetre = 72 / 25.4;

QString surfaceMessage(cairo_status_t status) {
    return QStringLiteral("could not write the pages: %1")
        .arg(QString::fromUtf8(cairo_status_to_string(status)));
}

cairo_status_t writeToFile(void* closure, const unsigned char* data, unsigned int length) {
    auto* file = static_cast<QSaveFile*>(closure);
    return file->write(reinterpret_cast<const char*>(data), length) == qint64(length)
               ? CAIRO_STATUS_SUCCESS
               : CAIRO_STATUS_WRITE_ERROR;
}

// The FreeType face cairo draws from, and the bytes it reads, kept until cairo lets the face go
// (it may hold it in its caches after the export).
struct FaceData {
    QByteArray bytes;
    FT_Face face = nullptr;
};

FT_Library freeType() {
    static FT_Library library = [] {
        FT_Library l = nullptr;
        return FT_Init_FreeType(&l) == 0 ? l : nullptr;
    }();
    return library;
}

const cairo_user_data_key_t kFaceDataKey{};

struct FaceDeleter {
    void operator()(cairo_font_face_t* f) const { cairo_font_face_destroy(f); }
};
using CairoFace = std::unique_ptr<cairo_font_face_t, FaceDeleter>;

Result<CairoFace> cairoFace(const VerticalFont& font) {
    FT_Library library = freeType();
    if (!library) return Error::io({}, QStringLiteral("FreeType would not start"));
    auto data = std::make_unique<FaceData>();
    data->bytes = font.data();
    if (FT_New_Memory_Face(library, reinterpret_cast<const FT_Byte*>(data->bytes.constData()),
                           FT_Long(data->bytes.size()), font.file().index, &data->face) != 0)
        return Error::io(font.file().path, QStringLiteral("cannot read the font for the PDF"));
    CairoFace face(cairo_ft_font_face_create_for_ft_face(data->face, 0));
    const cairo_status_t status =
        cairo_font_face_set_user_data(face.get(), &kFaceDataKey, data.get(), [](void* p) {
            auto* d = static_cast<FaceData*>(p);
            FT_Done_Face(d->face);
            delete d;
        });
    if (status != CAIRO_STATUS_SUCCESS) {
        FT_Done_Face(data->face);
        return Error::io({}, surfaceMessage(status));
    }
    data.release();
    return face;
}

void setColour(cairo_t* cr, const QColor& c) {
    cairo_set_source_rgb(cr, c.redF(), c.greenF(), c.blueF());
}

void drawGrid(cairo_t* cr, const GridPlan& grid) {
    setColour(cr, kGridColour);
    cairo_set_line_width(cr, grid.ruleWidth);
    for (const QLineF& rule : grid.rules) {
        cairo_move_to(cr, rule.x1(), rule.y1());
        cairo_line_to(cr, rule.x2(), rule.y2());
    }
    cairo_stroke(cr);
    cairo_set_line_width(cr, grid.frameWidth);
    cairo_rectangle(cr, grid.frame.x(), grid.frame.y(), grid.frame.width(), grid.frame.height());
    cairo_stroke(cr);
    if (!grid.foldMark.isEmpty()) {
        cairo_move_to(cr, grid.foldMark.first().x(), grid.foldMark.first().y());
        for (const QPointF& p : grid.foldMark)
            cairo_line_to(cr, p.x(), p.y());
        cairo_close_path(cr);
        cairo_fill(cr);
    }
}

// One run: its glyphs with their text, clusters mapping one to the other.
void drawRun(cairo_t* cr, cairo_font_face_t* face, const TextRun& run) {
    std::vector<cairo_glyph_t> glyphs(size_t(run.glyphs.size()));
    for (size_t i = 0; i < glyphs.size(); ++i)
        glyphs[i] = {run.glyphs[qsizetype(i)], run.positions[qsizetype(i)].x(),
                     run.positions[qsizetype(i)].y()};
    QByteArray utf8;
    std::vector<cairo_text_cluster_t> clusters;
    clusters.reserve(size_t(run.clusters.size()));
    for (const TextCluster& c : run.clusters) {
        const QByteArray bytes = c.text.toUtf8();
        utf8 += bytes;
        clusters.push_back({int(bytes.size()), c.glyphs});
    }
    cairo_save(cr);
    if (run.turned) cairo_rotate(cr, M_PI / 2);
    cairo_set_font_face(cr, face);
    cairo_set_font_size(cr, run.pixelSize);
    cairo_show_text_glyphs(cr, utf8.constData(), int(utf8.size()), glyphs.data(),
                           int(glyphs.size()), clusters.data(), int(clusters.size()),
                           cairo_text_cluster_flags_t(0));
    cairo_restore(cr);
}

void drawDots(cairo_t* cr, const PagePlan& plan) {
    const QRectF shape = dotShape(plan.dotSize);
    for (const QPointF& dot : plan.dots) {
        cairo_save(cr);
        cairo_translate(cr, dot.x(), dot.y());
        cairo_rotate(cr, kDotTilt * M_PI / 180);
        cairo_translate(cr, shape.center().x(), shape.center().y());
        cairo_scale(cr, shape.width() / 2, shape.height() / 2);
        cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
        cairo_restore(cr);
        cairo_fill(cr);
    }
}

struct SurfaceDeleter {
    void operator()(cairo_surface_t* s) const { cairo_surface_destroy(s); }
};
struct ContextDeleter {
    void operator()(cairo_t* c) const { cairo_destroy(c); }
};

Result<int> drawPages(QSaveFile& file, const QString& title, PageSource& source, VerticalFont& font,
                      const PageProgress& progress) {
    Result<CairoFace> face = cairoFace(font);
    if (!face) return face.error();
    const PageFormat& format = source.format();
    const QSizeF sheet = paperFor(format).millimetres * kPointsPerMillimetre;
    std::unique_ptr<cairo_surface_t, SurfaceDeleter> surface(
        cairo_pdf_surface_create_for_stream(writeToFile, &file, sheet.width(), sheet.height()));
    cairo_pdf_surface_set_metadata(surface.get(), CAIRO_PDF_METADATA_TITLE,
                                   title.toUtf8().constData());
    cairo_pdf_surface_set_metadata(surface.get(), CAIRO_PDF_METADATA_CREATOR, "ぽてまるエディター");
    std::unique_ptr<cairo_t, ContextDeleter> context(cairo_create(surface.get()));
    cairo_t* cr = context.get();
    const PageGeometry geometry(format, sheet);
    const PagePainter painter(font, geometry, format.grid);
    const GridPlan grid = format.grid ? painter.grid() : GridPlan{};
    const int total = source.pageCount();
    for (int n = 0; n < total; ++n) {
        const PagePlan plan = painter.plan(source.page(n), n + 1);
        if (format.grid) drawGrid(cr, grid);
        cairo_set_source_rgb(cr, 0, 0, 0);
        for (const TextRun& run : plan.text)
            drawRun(cr, face->get(), run);
        drawDots(cr, plan);
        cairo_show_page(cr);
        if (const cairo_status_t status = cairo_status(cr); status != CAIRO_STATUS_SUCCESS)
            return Error::io({}, surfaceMessage(status));
        if (progress && !progress(n + 1, total)) return Error::cancelled();
    }
    context.reset();
    cairo_surface_finish(surface.get());
    if (const cairo_status_t status = cairo_surface_status(surface.get());
        status != CAIRO_STATUS_SUCCESS)
        return Error::io({}, file.error() != QFileDevice::NoError ? file.errorString()
                                                                  : surfaceMessage(status));
    return total;
}

} // namespace

Result<int> writePdf(const QString& path, const QString& title, PageSource& source,
                     VerticalFont& font, const PageProgress& progress) {
    if (Result<void> target = checkWriteTarget(path); !target) return target.error();
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return Error::io(path, file.errorString());
    const Result<int> drawn = drawPages(file, title, source, font, progress);
    if (!drawn) {
        file.cancelWriting();
        Error error = drawn.error();
        error.path = path;
        return error;
    }
    if (Result<void> committed = commitBuffered(file); !committed) return committed.error();
    return drawn;
}

} // namespace pote::vertical
