#pragma once
// The user's settings as plain values: set to their defaults before the store is read, read
// once at start-up, changed by the dialogs and commands, written once at close.

#include "settings/recent_list.h"
#include "settings/remembered_books.h"
#include "settings/window_placement.h"

#include <QMap>
#include <QString>
#include <QStringList>

#include <array>
#include <optional>

namespace pote {

// Colours are kept as the stored 0x00BBGGRR numbers.
constexpr quint32 kWhite = 0xFFFFFF;
constexpr quint32 kBlack = 0x000000;
constexpr quint32 kMaxColor = 0xFFFFFF;

constexpr int kShiftJisCharSet = 128;

struct IntRange {
    qint64 min;
    qint64 max;
    constexpr bool contains(qint64 v) const { return v >= min && v <= max; }
};

// The ranges the settings dialog enforces; values read from the store outside them are refused.
constexpr IntRange kTaxRange{0, 100};
constexpr IntRange kTabWidthRange{1, 100};
constexpr IntRange kBreakLineWidthRange{1, 120};
constexpr int kBreakLineStringMaxLength = 8;

// The editing font. Size (points) and height (pixels; negative: the character height, positive:
// the cell height) are two views of one measure, converted at 96 pixels per inch: setting one
// recomputes the other, so the one set last wins.
struct EditorFont {
    QString face = QStringLiteral("ＭＳ ゴシック");
    int size = 12;
    int height = -16;
    int charSet = kShiftJisCharSet;
    quint32 color = kBlack;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;

    void setSize(int points);
    void setHeight(int pixels);
    // The pixel size a toolkit font is given: the magnitude of the height.
    int pixelSize() const;

    bool operator==(const EditorFont&) const = default;
};

// Beyond these a glyph would be taller than any screen; a hand-edited file asking for more
// is refused rather than handed to the text renderer.
constexpr IntRange kFontSizeRange{-1000, 1000};
constexpr IntRange kFontHeightRange{-1333, 1333};

// The font values found in the store; an absent value leaves the font's own.
struct StoredFont {
    std::optional<QString> face;
    std::optional<int> charSet;
    std::optional<int> height;
    std::optional<int> size;
    std::optional<quint32> color;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
};

// Applies the stored values in the order face, character set, height, size, style, colour:
// a stored size therefore wins over a stored height.
EditorFont buildEditorFont(EditorFont font, const StoredFont& stored);

// The vertical pages: preview, PDF and printing. Value names VerticalFormat, VerticalFont,
// VerticalSectionName, VerticalIndent, VerticalAllSections, VerticalZoom.
constexpr IntRange kVerticalZoomRange{25, 400};
struct VerticalSettings {
    QString format = QStringLiteral("genkou"); // "genkou", "a4-40x30" or "COLSxLINES"
    QString face = QStringLiteral("IPA明朝");
    bool sectionName = false; // the section's name on its first line
    bool indent = false;      // the one-character indent where a paragraph lacks it
    bool allSections = true;  // or the section being edited only
    int zoom = 100;           // per cent of the size that fits the window

    bool operator==(const VerticalSettings&) const = default;
};

// The revision check (推敲): value names RevisionOff (the ids of the rules switched off, comma
// separated, so that a rule added later starts on), RevisionLength (a long sentence's
// characters) and RevisionIgnored (JSON: each document's path and the findings ignored in it).
constexpr IntRange kRevisionLengthRange{10, 100000};
struct RevisionSettings {
    QStringList off;
    int length = 100;
    QMap<QString, QStringList> ignored; // document path -> ignore keys
    bool operator==(const RevisionSettings&) const = default;
};

// Every setting, named after its stored value.
struct Settings {
    quint32 EditBKColor = kWhite;
    SavedPlacement placement; // WindowMax, FormTop, FormLeft, FormWidth, FormHeight
    bool SclickMove = false;
    // FontName, FontSize, FontHeight, FontCharSet, FontColor, FontStyleBold, FontStyleItalic,
    // FontStyleUnder, FontStyleStrike. Before the store is read: the pane's design font.
    EditorFont font;
    int CTax = 5;
    int TABWidth = 8;
    int BreakLineWidth = 60;
    QString BreakLineString = QStringLiteral("-");
    QString ExtOldApp;
    QString WorkDir; // see Settings::defaults
    QString DefText1;
    QString DefText2;
    QString RoomPIC;
    QString MailAdress;
    QString HomePage;
    bool BackupFolderCopy = true;
    bool Wrap = false;
    RecentList recent;                // RecentFile1 ... RecentFile10
    std::array<QString, 5> BackupDir; // BackupDir1 ... BackupDir5
    QString BackupCopyDir;
    QString BackupExt = QStringLiteral("ptm,txt,txm");
    VerticalSettings vertical;
    RevisionSettings revision;
    EpubSettings epub;

    // Set by settings_load when there was no settings file to read.
    bool firstStart = false;
    // Set by settings_clear; while set, nothing is saved at close.
    bool settingsCleared = false;

    // The defaults of a start-up in currentFolder (the work folder starts there).
    static Settings defaults(const QString& currentFolder);

    bool operator==(const Settings&) const = default;
};

} // namespace pote
