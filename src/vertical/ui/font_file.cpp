#include "vertical/ui/font_file.h"

#include <algorithm>

#include <fontconfig/fontconfig.h>

#include <memory>

namespace pote::vertical {

namespace {

struct PatternDeleter {
    void operator()(FcPattern* p) const { FcPatternDestroy(p); }
};
using Pattern = std::unique_ptr<FcPattern, PatternDeleter>;

// A kana and a kanji: a face without them cannot set a Japanese page.
constexpr char16_t kJapaneseProbe[] = {u'あ', u'漢'};

// The probe characters the font has no glyph for.
QString missingJapanese(FcPattern* font) {
    FcCharSet* chars = nullptr;
    const bool known = FcPatternGetCharSet(font, FC_CHARSET, 0, &chars) == FcResultMatch;
    QString missing;
    for (char16_t ch : kJapaneseProbe)
        if (!known || !FcCharSetHasChar(chars, ch)) missing += QChar(ch);
    return missing;
}

bool showsJapanese(FcPattern* font) {
    return missingJapanese(font).isEmpty();
}

// Whether one of the font's family names (it may have one per language) is `face`.
bool isFamily(FcPattern* font, const QString& face) {
    FcChar8* name = nullptr;
    for (int n = 0; FcPatternGetString(font, FC_FAMILY, n, &name) == FcResultMatch; ++n)
        if (QString::fromUtf8(reinterpret_cast<const char*>(name))
                .compare(face, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

QString stringOf(FcPattern* font, const char* object) {
    FcChar8* value = nullptr;
    if (FcPatternGetString(font, object, 0, &value) != FcResultMatch) return {};
    return QString::fromUtf8(reinterpret_cast<const char*>(value));
}

std::optional<FontFile> match(FcPattern* wanted) {
    FcConfigSubstitute(nullptr, wanted, FcMatchPattern);
    FcDefaultSubstitute(wanted);
    FcResult result = FcResultNoMatch;
    const Pattern font(FcFontMatch(nullptr, wanted, &result));
    if (!font || result != FcResultMatch || !showsJapanese(font.get())) return std::nullopt;
    FontFile file;
    file.path = stringOf(font.get(), FC_FILE);
    FcPatternGetInteger(font.get(), FC_INDEX, 0, &file.index);
    file.family = stringOf(font.get(), FC_FAMILY);
    if (file.path.isEmpty()) return std::nullopt;
    return file;
}

} // namespace

QString defaultVerticalFace() {
    return QStringLiteral("IPA明朝");
}

std::optional<FontFile> findFontFile(const QString& face) {
    if (!FcInit()) return std::nullopt;
    if (!face.isEmpty()) {
        const Pattern wanted(FcPatternCreate());
        FcPatternAddString(wanted.get(), FC_FAMILY,
                           reinterpret_cast<const FcChar8*>(face.toUtf8().constData()));
        if (auto found = match(wanted.get())) return found;
    }
    const Pattern japanese(FcPatternCreate());
    FcPatternAddString(japanese.get(), FC_LANG, reinterpret_cast<const FcChar8*>("ja"));
    FcPatternAddString(
        japanese.get(), FC_FAMILY,
        reinterpret_cast<const FcChar8*>(defaultVerticalFace().toUtf8().constData()));
    return match(japanese.get());
}

FaceLookup lookUpFace(const QString& face) {
    FaceLookup lookup;
    lookup.problem = FaceLookup::Problem::NotInstalled;
    if (face.isEmpty() || !FcInit()) return lookup;
    const Pattern wanted(FcPatternCreate());
    FcPatternAddString(wanted.get(), FC_FAMILY,
                       reinterpret_cast<const FcChar8*>(face.toUtf8().constData()));
    FcConfigSubstitute(nullptr, wanted.get(), FcMatchPattern);
    FcDefaultSubstitute(wanted.get());
    FcResult result = FcResultNoMatch;
    const Pattern font(FcFontMatch(nullptr, wanted.get(), &result));
    if (!font || result != FcResultMatch || !isFamily(font.get(), face)) return lookup;
    lookup.lacks = missingJapanese(font.get());
    if (!lookup.lacks.isEmpty()) {
        lookup.problem = FaceLookup::Problem::NoJapanese;
        return lookup;
    }
    FontFile file;
    file.path = stringOf(font.get(), FC_FILE);
    FcPatternGetInteger(font.get(), FC_INDEX, 0, &file.index);
    file.family = stringOf(font.get(), FC_FAMILY);
    if (file.path.isEmpty()) return lookup;
    lookup.file = file;
    lookup.problem = FaceLookup::Problem::None;
    return lookup;
}

namespace {

// Every installed family that shows Japanese, each with all the names it answers to, the
// Japanese one first; fixedPitch keeps those whose letters all take one or two cells.
QList<QStringList> japaneseFamilies(bool fixedPitch) {
    QList<QStringList> families;
    if (!FcInit()) return families;
    const Pattern wanted(FcPatternCreate());
    FcPatternAddString(wanted.get(), FC_LANG, reinterpret_cast<const FcChar8*>("ja"));
    std::unique_ptr<FcObjectSet, decltype(&FcObjectSetDestroy)> objects(
        FcObjectSetBuild(FC_FAMILY, FC_FAMILYLANG, FC_CHARSET, FC_SPACING, nullptr),
        &FcObjectSetDestroy);
    std::unique_ptr<FcFontSet, decltype(&FcFontSetDestroy)> set(
        FcFontList(nullptr, wanted.get(), objects.get()), &FcFontSetDestroy);
    if (!set) return families;
    for (int i = 0; i < set->nfont; ++i) {
        FcPattern* font = set->fonts[i];
        if (!showsJapanese(font)) continue;
        int spacing = FC_PROPORTIONAL;
        FcPatternGetInteger(font, FC_SPACING, 0, &spacing);
        // Japanese fixed-pitch faces are "dual": half-width letters beside full-width ones.
        if (fixedPitch && spacing != FC_DUAL && spacing != FC_MONO) continue;
        QStringList names;
        FcChar8* name = nullptr;
        for (int n = 0; FcPatternGetString(font, FC_FAMILY, n, &name) == FcResultMatch; ++n) {
            FcChar8* lang = nullptr;
            const bool japanese =
                FcPatternGetString(font, FC_FAMILYLANG, n, &lang) == FcResultMatch &&
                qstrcmp(reinterpret_cast<const char*>(lang), "ja") == 0;
            const QString named = QString::fromUtf8(reinterpret_cast<const char*>(name));
            if (japanese)
                names.prepend(named);
            else
                names.append(named);
        }
        if (names.isEmpty()) continue;
        const bool known = std::any_of(families.cbegin(), families.cend(),
                                       [&](const QStringList& f) { return f == names; });
        if (!known) families.append(names);
    }
    std::sort(families.begin(), families.end(),
              [](const QStringList& a, const QStringList& b) { return a.front() < b.front(); });
    return families;
}

} // namespace

QStringList japaneseFaces() {
    QStringList faces;
    for (const QStringList& names : japaneseFamilies(false))
        if (!faces.contains(names.front())) faces.append(names.front());
    return faces;
}

QList<QStringList> japaneseFixedPitchFaces() {
    return japaneseFamilies(true);
}

} // namespace pote::vertical
