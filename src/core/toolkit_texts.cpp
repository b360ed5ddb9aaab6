#include "core/toolkit_texts.h"

#include <QHash>
#include <QStringList>

#include <cstring>

namespace pote {

namespace {

struct ToolkitText {
    const char* context;
    const char* source;
    const char16_t* japanese;
};

// Each row is a string that the file, font and print dialogs of Qt 6.4 ask for and qtbase_ja of
// Debian 12 does not answer (found by asking a translator installed behind the catalogues). The
// icon provider that names folders moved to its own context in Qt 6; the print dialog's page
// list and two-sided printing are newer than the catalogue.
constexpr ToolkitText kTexts[] = {
    {"QAbstractFileIconProvider", "Folder", u"フォルダ"},
    {"QAbstractFileIconProvider", "Drive", u"ドライブ"},
    {"QPrintSettingsOutput", "Pages", u"ページ指定"},
    {"QPrintSettingsOutput",
     "Specify pages or ranges separated by commas. Ranges are specified by two numbers "
     "separated by a hyphen. E.g: 3,5-7,9 prints pages 3, 5, 6, 7 and 9.",
     u"ページか範囲をカンマで区切って書いてにゃ。範囲は2つの番号をハイフンでつなぐにゃ。"
     u"例: 3,5-7,9 なら 3, 5, 6, 7, 9 ページを印刷するにゃん。"},
    {"QPrintSettingsOutput", "Double Sided Printing", u"両面印刷"},
    {"QPrintSettingsOutput", "Off", u"しない"},
    {"QPrintSettingsOutput", "Long side binding", u"長辺とじ"},
    {"QPrintSettingsOutput", "Short side binding", u"短辺とじ"},
};

// Words of the style names fonts carry, in the order the dialog lists them.
const QHash<QString, QString>& styleWords() {
    static const QHash<QString, QString> words = {
        {QStringLiteral("Regular"), QStringLiteral("標準")},
        {QStringLiteral("Normal"), QStringLiteral("標準")},
        {QStringLiteral("Book"), QStringLiteral("標準")},
        {QStringLiteral("Roman"), QStringLiteral("標準")},
        {QStringLiteral("Italic"), QStringLiteral("斜体")},
        {QStringLiteral("Oblique"), QStringLiteral("斜体")},
        {QStringLiteral("Bold"), QStringLiteral("太字")},
        {QStringLiteral("Medium"), QStringLiteral("中字")},
        {QStringLiteral("Light"), QStringLiteral("細字")},
        {QStringLiteral("Thin"), QStringLiteral("極細")},
        {QStringLiteral("ExtraLight"), QStringLiteral("極細")},
        {QStringLiteral("SemiBold"), QStringLiteral("やや太字")},
        {QStringLiteral("DemiBold"), QStringLiteral("やや太字")},
        {QStringLiteral("ExtraBold"), QStringLiteral("極太")},
        {QStringLiteral("Black"), QStringLiteral("極太")},
        {QStringLiteral("Heavy"), QStringLiteral("極太")},
        {QStringLiteral("Condensed"), QStringLiteral("長体")},
    };
    return words;
}

} // namespace

QString ToolkitTextsJa::translate(const char* context, const char* sourceText, const char*,
                                  int) const {
    if (!context || !sourceText) return {};
    for (const ToolkitText& text : kTexts)
        if (std::strcmp(context, text.context) == 0 && std::strcmp(sourceText, text.source) == 0)
            return QString::fromUtf16(text.japanese);
    return {};
}

QString japaneseStyleName(const QString& styleName) {
    const QStringList words = styleName.split(u' ', Qt::SkipEmptyParts);
    if (words.isEmpty()) return styleName;
    QStringList japanese;
    for (const QString& word : words) {
        const auto found = styleWords().constFind(word);
        if (found == styleWords().constEnd()) return styleName;
        japanese.append(*found);
    }
    // "Bold Italic" and "Italic Bold" alike; "Regular Italic" is just italic.
    if (japanese.size() > 1) japanese.removeAll(QStringLiteral("標準"));
    japanese.removeDuplicates();
    return japanese.join(u' ');
}

} // namespace pote
