#pragma once
// A font file shaped for vertical lines with HarfBuzz: characters set top to bottom with the
// font's vertical forms (features vert and vrt2), and where the font has none for a character
// that needs one, the fallback of turning or shifting its horizontal form. The glyphs are drawn
// with QRawFont from the same file, so that shaping and drawing can never disagree.

#include "core/result.h"
#include "vertical/ui/font_file.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QPointF>
#include <QRawFont>
#include <QStringView>

#include <memory>
#include <optional>

struct hb_font_t;

namespace pote::vertical {

// One glyph placed for a character cell, in ems of the font with y downwards. An upright
// glyph's origin is relative to the top centre of the em box centred in its cell. A turned
// glyph is drawn in a frame turned a quarter to the right, and its origin is relative to the
// centre of its cell, in that frame.
struct CellGlyph {
    quint32 glyph = 0;
    int index = 0; // the character it came from
    QPointF origin;
    bool turned = false;
};

class VerticalFont {
public:
    // Whether the font's own vertical forms are used. Without them every character falls back,
    // as in a face that has none.
    enum class Forms { FontVertical, HorizontalOnly };

    // The font of file; the error names the file when it cannot be read or is no font.
    static Result<std::unique_ptr<VerticalFont>> load(const FontFile& file,
                                                      Forms forms = Forms::FontVertical);
    ~VerticalFont();
    VerticalFont(const VerticalFont&) = delete;
    VerticalFont& operator=(const VerticalFont&) = delete;

    const FontFile& file() const { return m_file; }
    // The font file's bytes, as shaped.
    const QByteArray& data() const { return m_data; }
    // The same font at a size, for drawing.
    const QRawFont& raw(qreal pixelSize);

    // Characters set upright one per cell, top to bottom: the glyphs of text[i] belong to the
    // cell of character i.
    QList<CellGlyph> upright(QStringView text) const;
    // One or two half-width characters set side by side in one cell, upright (縦中横) or turned
    // with the line (a sideways run), centred in the cell.
    QList<CellGlyph> across(QStringView text, bool turned) const;
    // A sideways run of half-width characters turned with the line, set continuously from its
    // start: origins relative to the point on the line's centre where the run begins, in the
    // turned frame; width gets its length in ems.
    QList<CellGlyph> sideways(QStringView text, qreal& width) const;
    // A line of horizontal text centred on a point (the page number): origins relative to it.
    QList<CellGlyph> horizontalCentred(QStringView text) const;
    // The glyph a character has in horizontal text.
    quint32 nominalGlyph(char16_t ch) const;

private:
    VerticalFont(FontFile file, QByteArray data, Forms forms);
    // The horizontal run, its origins from the pen at 0 on the baseline; width gets its advance.
    QList<CellGlyph> shapeHorizontal(QStringView text, qreal& width) const;
    // The baseline that centres the em box on a point.
    qreal centringBaseline() const;
    QRawFont baseRaw() const;

    FontFile m_file;
    QByteArray m_data;
    Forms m_forms;
    hb_font_t* m_font = nullptr;
    qreal m_upem = 1000;
    qreal m_ascender = 880; // hb units, y upwards
    qreal m_descender = -120;
    QRawFont m_base;
    QHash<qreal, QRawFont> m_raw;
};

} // namespace pote::vertical
