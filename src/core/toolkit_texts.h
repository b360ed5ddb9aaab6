#pragma once
// Japanese for the toolkit's own words that Debian's Qt catalogues do not translate: strings
// added or moved to another context after the catalogue was made, and the style names fonts
// carry in English. Installed before Qt's catalogues, so it is asked only where they are silent.

#include <QString>
#include <QTranslator>

namespace pote {

class ToolkitTextsJa : public QTranslator {
public:
    using QTranslator::QTranslator;
    bool isEmpty() const override { return false; }
    QString translate(const char* context, const char* sourceText, const char* disambiguation,
                      int n) const override;
};

// A font's style name as the font dialog should show it: "Regular" → "標準", "Bold Italic" →
// "太字 斜体"; a name made of words it does not know is returned as it is.
QString japaneseStyleName(const QString& styleName);

} // namespace pote
