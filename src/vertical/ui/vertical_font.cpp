#include "vertical/ui/vertical_font.h"

#include "core/file_io.h"
#include "vertical/vertical_fallback.h"

#include <hb-ot.h>
#include <hb.h>

#include <memory>

namespace pote::vertical {

namespace {

struct BufferDeleter {
    void operator()(hb_buffer_t* b) const { hb_buffer_destroy(b); }
};
using Buffer = std::unique_ptr<hb_buffer_t, BufferDeleter>;

Buffer bufferOf(QStringView text, hb_direction_t direction) {
    Buffer buffer(hb_buffer_create());
    hb_buffer_add_utf16(buffer.get(), reinterpret_cast<const uint16_t*>(text.utf16()),
                        int(text.size()), 0, int(text.size()));
    // One cluster per character: each goes into its own cell.
    hb_buffer_set_cluster_level(buffer.get(), HB_BUFFER_CLUSTER_LEVEL_CHARACTERS);
    hb_buffer_set_direction(buffer.get(), direction);
    hb_buffer_set_script(buffer.get(), HB_SCRIPT_HAN);
    hb_buffer_set_language(buffer.get(), hb_language_from_string("ja", -1));
    return buffer;
}

} // namespace

Result<std::unique_ptr<VerticalFont>> VerticalFont::load(const FontFile& file, Forms forms) {
    Result<RegularFileRead> read = readRegularFile(file.path);
    if (!read) return read.error();
    std::unique_ptr<VerticalFont> font(new VerticalFont(file, std::move(*read->bytes), forms));
    if (!font->m_font || !font->raw(16).isValid())
        return Error::refused(QStringLiteral("not a font file"), file.path);
    return font;
}

VerticalFont::VerticalFont(FontFile file, QByteArray data, Forms forms)
    : m_file(std::move(file)), m_data(std::move(data)), m_forms(forms) {
    hb_blob_t* blob = hb_blob_create(m_data.constData(), static_cast<unsigned>(m_data.size()),
                                     HB_MEMORY_MODE_READONLY, nullptr, nullptr);
    hb_face_t* face = hb_face_create(blob, static_cast<unsigned>(m_file.index));
    hb_blob_destroy(blob);
    if (hb_face_get_glyph_count(face) > 0) {
        m_upem = hb_face_get_upem(face);
        m_font = hb_font_create(face);
        hb_font_set_scale(m_font, int(m_upem), int(m_upem));
        hb_font_extents_t extents{};
        if (hb_font_get_h_extents(m_font, &extents) && extents.ascender > extents.descender) {
            m_ascender = extents.ascender;
            m_descender = extents.descender;
        }
    }
    hb_face_destroy(face);
}

VerticalFont::~VerticalFont() {
    if (m_font) hb_font_destroy(m_font);
}

QRawFont VerticalFont::baseRaw() const {
    // The face as the platform's font database has it knows its file, which a PDF writer needs
    // to embed it (a font read from bytes would be drawn as outlines). It serves only when it is
    // the very file shaped here: the glyph numbers must agree.
    QFont face(m_file.family);
    face.setHintingPreference(QFont::PreferNoHinting);
    face.setStyleStrategy(QFont::NoFontMerging);
    QRawFont platform = QRawFont::fromFont(face);
    const QString probe = QStringLiteral("あ漢「ー、Ａ1");
    bool same = platform.isValid();
    const QList<quint32> glyphs = same ? platform.glyphIndexesForString(probe) : QList<quint32>();
    for (qsizetype i = 0; same && i < probe.size(); ++i)
        same = i < glyphs.size() && glyphs[i] == nominalGlyph(probe[i].unicode());
    if (same) return platform;
    QRawFont fromData;
    fromData.loadFromData(m_data, 16, QFont::PreferNoHinting);
    return fromData;
}

const QRawFont& VerticalFont::raw(qreal pixelSize) {
    if (!m_base.isValid()) m_base = baseRaw();
    auto it = m_raw.find(pixelSize);
    if (it == m_raw.end()) {
        // Zooming asks for ever new sizes; only the last few are worth keeping.
        if (m_raw.size() > 16) m_raw.clear();
        QRawFont font = m_base;
        font.setPixelSize(pixelSize);
        it = m_raw.insert(pixelSize, font);
    }
    return *it;
}

quint32 VerticalFont::nominalGlyph(char16_t ch) const {
    hb_codepoint_t glyph = 0;
    hb_font_get_nominal_glyph(m_font, ch, &glyph);
    return glyph;
}

qreal VerticalFont::centringBaseline() const {
    return (m_ascender + m_descender) / 2 / m_upem;
}

QList<CellGlyph> VerticalFont::upright(QStringView given) const {
    QList<CellGlyph> out;
    if (given.isEmpty()) return out;
    // A vertical line sets the quotation marks made for it, 〝 and 〟, where the face has them;
    // one character for one, so the cells keep their indexes.
    QString quoted;
    QStringView text = given;
    if (given.contains(u'“') || given.contains(u'”')) {
        quoted = given.toString();
        for (QChar& c : quoted) {
            const char16_t vertical = c == u'“' ? u'〝' : c == u'”' ? u'〟' : 0;
            if (vertical && nominalGlyph(vertical) != 0) c = QChar(vertical);
        }
        text = quoted;
    }
    Buffer buffer = bufferOf(text, HB_DIRECTION_TTB);
    const bool vertical = m_forms == Forms::FontVertical;
    const hb_feature_t features[] = {{HB_TAG('v', 'e', 'r', 't'), vertical ? 1u : 0u, 0, ~0u},
                                     {HB_TAG('v', 'r', 't', '2'), vertical ? 1u : 0u, 0, ~0u}};
    hb_shape(m_font, buffer.get(), features, 2);
    unsigned count = 0;
    const hb_glyph_info_t* info = hb_buffer_get_glyph_infos(buffer.get(), &count);
    const hb_glyph_position_t* pos = hb_buffer_get_glyph_positions(buffer.get(), &count);
    out.reserve(count);
    // The pen starts again at the top of each character's cell; only glyphs of one cluster
    // advance from each other.
    int cluster = -1;
    qreal penY = 0;
    for (unsigned i = 0; i < count; ++i) {
        const int index = int(info[i].cluster);
        if (index != cluster) penY = 0;
        cluster = index;
        CellGlyph g;
        g.glyph = info[i].codepoint;
        g.index = index;
        g.origin = QPointF(pos[i].x_offset / m_upem, -(pos[i].y_offset + penY) / m_upem);
        penY += pos[i].y_advance;
        const char16_t ch = text[index].unicode();
        const FallbackRule rule = verticalFallback(ch);
        // A glyph the shaping left as it is in horizontal text has no vertical form here.
        if (rule.kind != Fallback::None && g.glyph == nominalGlyph(ch)) {
            if (rule.kind == Fallback::Rotate) {
                g.turned = true;
                g.origin = QPointF(-hb_font_get_glyph_h_advance(m_font, g.glyph) / m_upem / 2,
                                   centringBaseline());
            } else {
                hb_glyph_extents_t e{};
                hb_font_get_glyph_extents(m_font, g.glyph, &e);
                const QRectF ink(g.origin.x() + e.x_bearing / m_upem,
                                 g.origin.y() - e.y_bearing / m_upem, e.width / m_upem,
                                 -e.height / m_upem);
                g.origin += fallbackShift(rule.kind, ink);
            }
        }
        out.append(g);
    }
    return out;
}

QList<CellGlyph> VerticalFont::shapeHorizontal(QStringView text, qreal& width) const {
    QList<CellGlyph> out;
    width = 0;
    if (text.isEmpty()) return out;
    Buffer buffer = bufferOf(text, HB_DIRECTION_LTR);
    hb_shape(m_font, buffer.get(), nullptr, 0);
    unsigned count = 0;
    const hb_glyph_info_t* info = hb_buffer_get_glyph_infos(buffer.get(), &count);
    const hb_glyph_position_t* pos = hb_buffer_get_glyph_positions(buffer.get(), &count);
    out.reserve(count);
    qreal penX = 0;
    for (unsigned i = 0; i < count; ++i) {
        CellGlyph g;
        g.glyph = info[i].codepoint;
        g.index = int(info[i].cluster);
        g.origin = QPointF((penX + pos[i].x_offset) / m_upem, -pos[i].y_offset / m_upem);
        penX += pos[i].x_advance;
        out.append(g);
    }
    width = penX / m_upem;
    return out;
}

QList<CellGlyph> VerticalFont::horizontalCentred(QStringView text) const {
    qreal width = 0;
    QList<CellGlyph> glyphs = shapeHorizontal(text, width);
    for (CellGlyph& g : glyphs)
        g.origin += QPointF(-width / 2, centringBaseline());
    return glyphs;
}

QList<CellGlyph> VerticalFont::sideways(QStringView text, qreal& width) const {
    QList<CellGlyph> glyphs = shapeHorizontal(text, width);
    for (CellGlyph& g : glyphs) {
        g.origin += QPointF(0, centringBaseline());
        g.turned = true;
    }
    return glyphs;
}

QList<CellGlyph> VerticalFont::across(QStringView text, bool turned) const {
    QList<CellGlyph> glyphs = horizontalCentred(text);
    if (!turned) {
        // Upright glyphs are placed from the cell's top centre, half an em above its centre.
        for (CellGlyph& g : glyphs)
            g.origin += QPointF(0, 0.5);
    }
    for (CellGlyph& g : glyphs)
        g.turned = turned;
    return glyphs;
}

} // namespace pote::vertical
