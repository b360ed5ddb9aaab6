// Shaping and painting vertical pages: the face fontconfig finds, the font's vertical forms and
// the fallback where a font has none, the geometry of the sheet, and where the painter puts each
// glyph of a known page.

#include "vertical_fixture.h"

#include "core/file_io.h"
#include "support/test_files.h"
#include "vertical/page_geometry.h"

#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include <map>

namespace pote::vertical::test {
namespace {

// The ink's place in a cell of side 1 whose top left is at 0, for one character set alone.
struct Ink {
    QRectF rect;
    bool turned = false;
    quint32 glyph = 0;
};

Ink inkInUnitCell(VerticalFont& font, QChar ch) {
    const PageFormat format;
    const PageGeometry geometry(format, QSizeF(2970, 2100));
    PagePainter painter(font, geometry, false);
    Page page;
    page.lines.append(uprightLine(QString(ch)));
    const PagePlan plan = painter.plan(page, 0);
    EXPECT_EQ(plan.layers.size(), 1);
    const GlyphLayer& layer = plan.layers.first();
    EXPECT_EQ(layer.glyphs.size(), 1);
    const QRectF cell = geometry.cellRect(0, 0);
    const QRectF ink = inkOnPage(font, layer, 0);
    const qreal s = cell.width();
    return {QRectF((ink.left() - cell.left()) / s, (ink.top() - cell.top()) / s, ink.width() / s,
                   ink.height() / s),
            layer.turned, layer.glyphs.first()};
}

TEST_F(VerticalDrawing, FontconfigFindsTheFaceAndFallsBackToOneThatShowsJapanese) {
    const std::optional<FontFile> mincho = findFontFile(QStringLiteral("IPA明朝"));
    ASSERT_TRUE(mincho);
    EXPECT_TRUE(QFileInfo(mincho->path).isFile());
    EXPECT_TRUE(mincho->family.contains(QStringLiteral("IPA"))) << mincho->family.toStdString();
    const std::optional<FontFile> gothic = findFontFile(QStringLiteral("IPAゴシック"));
    ASSERT_TRUE(gothic);
    EXPECT_NE(gothic->path, mincho->path);
    // A face that is not there, and one without kana: the pages still get a Japanese face.
    for (const QString& face : {QStringLiteral("存在しない書体"), QStringLiteral("DejaVu Sans")}) {
        const std::optional<FontFile> other = findFontFile(face);
        ASSERT_TRUE(other) << face.toStdString();
        EXPECT_FALSE(other->path.contains(QStringLiteral("DejaVu"))) << other->path.toStdString();
    }
    const QStringList faces = japaneseFaces();
    EXPECT_TRUE(faces.contains(QStringLiteral("IPA明朝"))) << faces.join(u',').toStdString();
    EXPECT_FALSE(faces.contains(QStringLiteral("DejaVu Sans")));
}

TEST_F(VerticalDrawing, AFileThatIsMissingOrNoFontIsRefusedWithItsReason) {
    const auto missing = VerticalFont::load({QStringLiteral("/nonexistent/font.ttf"), 0, {}});
    ASSERT_FALSE(missing);
    EXPECT_FALSE(missing.error().text.isEmpty());
    QTemporaryDir dir;
    const QString text = dir.filePath(QStringLiteral("書体.ttf"));
    QFile f(text);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("this is not a font");
    f.close();
    const auto notAFont = VerticalFont::load({text, 0, {}});
    ASSERT_FALSE(notAFont);
    EXPECT_FALSE(notAFont.error().text.isEmpty());
    if (!pote::test::pipesAvailable(dir.path())) return;
    const QString pipe = dir.filePath(QStringLiteral("管.ttf"));
    QString error;
    EXPECT_TRUE(pote::test::readsPipeWithoutWaiting(pipe, [&] {
        const auto fromPipe = VerticalFont::load({pipe, 0, {}});
        EXPECT_FALSE(fromPipe);
        if (!fromPipe) error = fromPipe.error().text;
    }));
    EXPECT_EQ(error, notAFileToReadMessage());
}

// Where the ink must be in a vertical line, whether the font drew a vertical form or the
// fallback made one from the horizontal glyph.
struct InkRow {
    const char* name;
    char16_t ch;
    std::function<bool(const QRectF&)> holds;
};

TEST_F(VerticalDrawing, InkSitsWhereAVerticalLineWantsItWithAndWithoutTheFontsVerticalForms) {
    const auto centre = [](const QRectF& r) { return r.center(); };
    const std::vector<InkRow> rows = {
        {"opening bracket below the middle, towards its text", u'「',
         [&](const QRectF& r) { return centre(r).y() > 0.5 && r.width() > 0.2; }},
        {"closing bracket above the middle", u'」',
         [&](const QRectF& r) { return centre(r).y() < 0.5 && r.width() > 0.2; }},
        {"long vowel mark runs down the line", u'ー',
         [](const QRectF& r) { return r.height() > 2 * r.width(); }},
        {"dash runs down the line", u'―',
         [](const QRectF& r) { return r.height() > 3 * r.width(); }},
        {"wave dash runs down the line (0x8160 as CP932 reads it)", u'～',
         [](const QRectF& r) { return r.height() > 2 * r.width(); }},
        {"wave dash runs down the line", u'〜',
         [](const QRectF& r) { return r.height() > 2 * r.width(); }},
        {"ellipsis runs down the line", u'…',
         [](const QRectF& r) { return r.height() > r.width(); }},
        {"comma in the upper right", u'、',
         [&](const QRectF& r) { return centre(r).x() > 0.5 && centre(r).y() < 0.5; }},
        {"small tsu right of the middle", u'っ',
         [&](const QRectF& r) { return centre(r).x() > 0.5; }},
        {"kana as it is, in the middle", u'あ',
         [&](const QRectF& r) {
             return qAbs(centre(r).x() - 0.5) < 0.1 && qAbs(centre(r).y() - 0.5) < 0.1;
         }},
    };
    for (const VerticalFont::Forms forms :
         {VerticalFont::Forms::FontVertical, VerticalFont::Forms::HorizontalOnly}) {
        const auto font = loadFont(forms);
        ASSERT_TRUE(font);
        for (const InkRow& row : rows) {
            const Ink ink = inkInUnitCell(*font, QChar(row.ch));
            EXPECT_TRUE(row.holds(ink.rect))
                << row.name
                << (forms == VerticalFont::Forms::FontVertical ? " (font)" : " (fallback)")
                << " ink " << ink.rect.x() << ',' << ink.rect.y() << ' ' << ink.rect.width() << 'x'
                << ink.rect.height();
            // Whatever the form, the ink stays in its cell.
            EXPECT_TRUE(QRectF(0, 0, 1, 1).adjusted(-0.02, -0.02, 0.02, 0.02).contains(ink.rect))
                << row.name;
        }
    }
}

TEST_F(VerticalDrawing, TheFontsOwnFormsAreUsedAndAFaceWithoutThemTurnsOrShifts) {
    const auto withForms = loadFont(VerticalFont::Forms::FontVertical);
    const auto without = loadFont(VerticalFont::Forms::HorizontalOnly);
    ASSERT_TRUE(withForms && without);
    for (const char16_t ch : {u'「', u'」', u'（', u'ー', u'、', u'。'}) {
        const Ink drawn = inkInUnitCell(*withForms, QChar(ch));
        EXPECT_NE(drawn.glyph, withForms->nominalGlyph(ch)) << "no vertical form for " << int(ch);
        EXPECT_FALSE(drawn.turned);
    }
    for (const char16_t ch : {u'「', u'」', u'（', u'）', u'ー', u'～', u'…'}) {
        const Ink fallback = inkInUnitCell(*without, QChar(ch));
        EXPECT_EQ(fallback.glyph, without->nominalGlyph(ch));
        EXPECT_TRUE(fallback.turned) << int(ch);
    }
    for (const char16_t ch : {u'、', u'ゃ', u'あ', u'漢'})
        EXPECT_FALSE(inkInUnitCell(*without, QChar(ch)).turned) << int(ch);
    // “ ” are set as the vertical quotation marks 〝 〟.
    for (VerticalFont* font : {withForms.get(), without.get()}) {
        EXPECT_EQ(inkInUnitCell(*font, QChar(u'“')).glyph,
                  inkInUnitCell(*font, QChar(u'〝')).glyph);
        EXPECT_EQ(inkInUnitCell(*font, QChar(u'”')).glyph,
                  inkInUnitCell(*font, QChar(u'〟')).glyph);
    }
}

TEST_F(VerticalDrawing, AFaceThatHasNoVerticalFormsStillSetsAVerticalLine) {
    // 美咲明朝 draws its 、 low in its box and has no vertical forms at all.
    const FaceLookup misaki = lookUpFace(QStringLiteral("美咲明朝"));
    if (!misaki.file) GTEST_SKIP() << "fonts-misaki is not installed";
    auto font = VerticalFont::load(*misaki.file);
    ASSERT_TRUE(font);
    for (const char16_t ch : {u'、', u'。'}) {
        const Ink ink = inkInUnitCell(**font, QChar(ch));
        EXPECT_FALSE(ink.turned);
        EXPECT_GT(ink.rect.center().x(), 0.5) << int(ch);
        EXPECT_LT(ink.rect.center().y(), 0.5) << int(ch);
        // In its own cell, clear of the character above and of the line's edge.
        EXPECT_GT(ink.rect.top(), 0.05) << int(ch) << " top " << ink.rect.top();
        EXPECT_LT(ink.rect.right(), 0.95) << int(ch);
    }
    for (const char16_t ch : {u'っ', u'ょ', u'ァ'}) {
        const Ink ink = inkInUnitCell(**font, QChar(ch));
        EXPECT_GT(ink.rect.center().x(), 0.5) << int(ch);
        EXPECT_LT(ink.rect.center().y(), 0.5) << int(ch);
        EXPECT_TRUE(QRectF(0, 0, 1, 1).contains(ink.rect)) << int(ch);
    }
    for (const char16_t ch : {u'「', u'」', u'ー', u'―', u'…', u'～'})
        EXPECT_TRUE(inkInUnitCell(**font, QChar(ch)).turned) << int(ch);
}

TEST_F(VerticalDrawing, AFaceIsTakenOnlyByItsOwnNameAndOnlyWithJapanese) {
    const FaceLookup mincho = lookUpFace(QStringLiteral("IPA明朝"));
    ASSERT_TRUE(mincho.file);
    EXPECT_EQ(mincho.problem, FaceLookup::Problem::None);
    EXPECT_EQ(lookUpFace(QStringLiteral("ipamincho")).problem, FaceLookup::Problem::None)
        << "any of its names, in any case";
    EXPECT_EQ(lookUpFace(QStringLiteral("存在しない書体")).problem,
              FaceLookup::Problem::NotInstalled);
    EXPECT_EQ(lookUpFace(QString()).problem, FaceLookup::Problem::NotInstalled);
    const FaceLookup latin = lookUpFace(QStringLiteral("DejaVu Sans"));
    EXPECT_EQ(latin.problem, FaceLookup::Problem::NoJapanese);
    EXPECT_EQ(latin.lacks, QStringLiteral("あ漢"));
}

struct FormatRow {
    const char* name;
    PageFormat format;
    bool landscape;
    bool fold;
};

PageFormat formatOf(int chars, int lines, bool grid, bool landscape = false) {
    PageFormat f;
    f.charsPerLine = chars;
    f.linesPerPage = lines;
    f.grid = grid;
    f.a4Landscape = landscape;
    return f;
}

TEST_F(VerticalDrawing, EveryFormatFitsItsSheetLineAfterLineFromTheRight) {
    const std::vector<FormatRow> rows = {
        {"manuscript paper 20 x 20", formatOf(20, 20, true), true, true},
        {"contest 40 x 30", formatOf(40, 30, false, true), true, false},
        {"long lines 60 x 10", formatOf(60, 10, true), false, true},
        {"many lines 10 x 60", formatOf(10, 60, false), true, false},
        {"odd lines have no fold", formatOf(20, 21, true), true, false},
    };
    for (const FormatRow& row : rows) {
        SCOPED_TRACE(row.name);
        const Paper paper = paperFor(row.format);
        EXPECT_EQ(paper.landscape, row.landscape);
        const QSizeF sheet = paper.millimetres * 10;
        const PageGeometry g(row.format, sheet);
        const QRectF page(QPointF(), sheet);
        EXPECT_EQ(!g.foldBand().isEmpty(), row.fold);
        EXPECT_TRUE(page.contains(g.frame()));
        const int chars = row.format.charsPerLine;
        const int lines = row.format.linesPerPage;
        for (int l = 0; l < lines; ++l) {
            const QRectF first = g.cellRect(l, 0);
            EXPECT_DOUBLE_EQ(first.width(), first.height());
            EXPECT_TRUE(g.frame()
                            .adjusted(-0.01, -0.01, 0.01, 0.01)
                            .contains(first.united(g.cellRect(l, chars - 1))));
            // The band for ruby is right of the line's cells and left of the line before.
            const QRectF band = g.sideBand(l, 0, chars);
            EXPECT_NEAR(band.left(), first.right(), 1e-9);
            if (l > 0) {
                EXPECT_LE(band.right(), g.cellRect(l - 1, 0).left() + 1e-9);
            }
            if (l > 0 && row.fold && l == lines / 2) {
                EXPECT_NEAR(g.foldBand().left(), band.right(), 1e-9);
                EXPECT_NEAR(g.foldBand().right(), g.cellRect(l - 1, 0).left(), 1e-9);
            }
            // The hanging place is below the line and above the page number.
            const QRectF hang = g.cellRect(l, chars);
            EXPECT_NEAR(hang.top(), g.frame().bottom(), 1e-9);
            EXPECT_LT(hang.top() + hang.height() / 2, g.pageNumberCentre().y());
            EXPECT_LT(g.pageNumberCentre().y(), page.bottom());
        }
        EXPECT_NEAR(g.cellRect(lines - 1, 0).left(), g.frame().left(), 1e-9);
    }
}

TEST_F(VerticalDrawing, AKnownPageIsPaintedCellByCell) {
    const auto font = loadFont(VerticalFont::Forms::FontVertical);
    ASSERT_TRUE(font);
    const PageFormat format = formatOf(20, 20, true);
    const PageGeometry geometry(format, paperFor(format).millimetres * 10);
    PagePainter painter(*font, geometry, true);

    Page page;
    // Line 0 ends with a 、 hanging below its 20 cells.
    page.lines.append(uprightLine(QStringLiteral("吾輩は猫である。名前は、まだ無い。どこで、")));
    ASSERT_EQ(page.lines[0].cells.size(), 21);
    Line mixed = uprightLine(QStringLiteral("「平成"));
    mixed.cells.append(halfWidthCell(CellKind::TateChuYoko, '1', '2'));
    mixed.cells.append(uprightLine(QStringLiteral("年の")).cells);
    mixed.cells.append(halfWidthCell(CellKind::Sideways, 'P', 'o'));
    mixed.cells.append(halfWidthCell(CellKind::Sideways, 't', 'e'));
    mixed.cells.append(uprightLine(QStringLiteral("」")).cells);
    page.lines.append(mixed);
    page.lines.append(Line{}); // an empty paragraph
    page.lines.append(uprightLine(QStringLiteral("薔薇が咲く")));
    // A reading far longer than its base, at the top of the line: it spreads downwards only.
    page.ruby.append(RubyMark{3, 0, 2, QStringLiteral("ばらばらばらばら"), 0, 4});
    page.ruby.append(RubyMark{1, 1, 3, QStringLiteral("へいせい"), 1, 2});
    page.emphasis.append(EmphasisMark{0, 3, 5});

    const PagePlan plan = painter.plan(page, 7);
    std::map<std::pair<int, int>, int> hits; // (line, cell) -> glyphs drawn there
    int rubyGlyphs = 0;
    int numberGlyphs = 0;
    int runGlyphs = 0;
    const QRectF sidewaysRun = geometry.cellRect(1, 6).united(geometry.cellRect(1, 7));
    for (const GlyphLayer& layer : plan.layers) {
        for (qsizetype i = 0; i < layer.glyphs.size(); ++i) {
            const QRectF ink = inkOnPage(*font, layer, i);
            if (layer.pixelSize == painter.rubySize()) {
                ++rubyGlyphs;
                const bool onLine3 = geometry.sideBand(3, 0, 20).contains(ink);
                const bool onLine1 = geometry.sideBand(1, 0, 20).contains(ink);
                EXPECT_TRUE(onLine3 || onLine1) << "ruby glyph " << i;
                continue;
            }
            if (layer.pixelSize != painter.textSize()) {
                ++numberGlyphs;
                EXPECT_GT(ink.top(), geometry.cellRect(0, 20).bottom() - geometry.cellSize() / 2);
                continue;
            }
            // The sideways run "Pote" is set continuously over its two cells.
            if (layer.turned && sidewaysRun.contains(ink)) {
                ++runGlyphs;
                continue;
            }
            bool placed = false;
            for (int l = 0; l < page.lines.size() && !placed; ++l) {
                for (int c = 0; c < page.lines[l].cells.size() && !placed; ++c) {
                    if (geometry.cellRect(l, c).contains(ink)) {
                        ++hits[{l, c}];
                        placed = true;
                    }
                }
            }
            EXPECT_TRUE(placed) << "glyph " << layer.glyphs[i] << " at " << ink.x() << ','
                                << ink.y() << " is in no cell";
        }
    }
    for (int l = 0; l < page.lines.size(); ++l) {
        for (int c = 0; c < page.lines[l].cells.size(); ++c) {
            if (page.lines[l].cells[c].kind == CellKind::Sideways) continue;
            const int expected = page.lines[l].cells[c].ch[1] ? 2 : 1;
            EXPECT_EQ((hits[{l, c}]), expected) << "line " << l << " cell " << c;
        }
    }
    EXPECT_EQ(runGlyphs, 4);
    EXPECT_EQ(rubyGlyphs, 8 + 4);
    EXPECT_EQ(numberGlyphs, 1);
    EXPECT_EQ(plan.dots.size(), 2);
    for (const QPointF& dot : plan.dots)
        EXPECT_TRUE(geometry.sideBand(0, 3, 5).contains(dot));
}

TEST_F(VerticalDrawing, ManuscriptPaperHasItsRedBrownGridAndTheContestFormatNone) {
    const auto font = loadFont(VerticalFont::Forms::FontVertical);
    ASSERT_TRUE(font);
    const auto gridPixels = [&](const PageFormat& format) {
        QImage image(QSize(1188, 840), QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter p(&image);
        PagePainter painter(*font, PageGeometry(format, image.size()), format.grid);
        Page page;
        page.lines.append(uprightLine(QStringLiteral("あいう")));
        painter.paint(p, page, 1);
        p.end();
        int n = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                n += image.pixelColor(x, y) == kGridColour;
        return n;
    };
    EXPECT_GT(gridPixels(formatOf(20, 20, true)), 1000);
    EXPECT_EQ(gridPixels(formatOf(40, 30, false, true)), 0);
}

} // namespace
} // namespace pote::vertical::test
