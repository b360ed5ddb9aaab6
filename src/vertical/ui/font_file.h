#pragma once
// The font file behind a face name, as fontconfig resolves it. The vertical pages are shaped
// from the file itself, so that they get the forms its designer drew for vertical lines.

#include <QString>
#include <QStringList>

#include <optional>

namespace pote::vertical {

// The face the pages are set in until the user picks another.
QString defaultVerticalFace();

struct FontFile {
    QString path;
    int index = 0; // the face's place in a collection file
    QString family;
};

// The file fontconfig picks for face. A face that is not installed, or cannot show Japanese,
// gives the best installed face that can; nullopt when there is none at all.
std::optional<FontFile> findFontFile(const QString& face);

// The face exactly as named, or why not: fontconfig answers every name with some font, which is
// not what a user who typed a name (or whose settings hold one) asked for.
struct FaceLookup {
    enum class Problem { None, NotInstalled, NoJapanese };
    std::optional<FontFile> file; // set when problem is None
    Problem problem = Problem::None;
    QString lacks; // for NoJapanese: the characters it has no glyph for, e.g. "あ漢"
};
FaceLookup lookUpFace(const QString& face);

// The installed faces that can show Japanese, by name, for the face chooser.
QStringList japaneseFaces();
// The installed fixed-pitch faces that can show Japanese, each with every name it answers to,
// the Japanese name first, in the order of those names.
QList<QStringList> japaneseFixedPitchFaces();

} // namespace pote::vertical
