#include "vertical/layout.h"

namespace pote::vertical {

namespace {

constexpr int kFewest = 10;
constexpr int kMost = 60;

// A whole number of 10 to 60 written in plain digits (no sign, no spaces).
std::optional<int> gridSize(QStringView digits) {
    if (digits.isEmpty() || digits.size() > 2) return std::nullopt;
    int value = 0;
    for (QChar c : digits) {
        if (c < u'0' || c > u'9') return std::nullopt;
        value = value * 10 + (c.unicode() - u'0');
    }
    if (value < kFewest || value > kMost) return std::nullopt;
    return value;
}

} // namespace

PageFormat PageFormat::genkou() {
    return PageFormat{};
}

PageFormat PageFormat::contest() {
    PageFormat f;
    f.charsPerLine = 40;
    f.linesPerPage = 30;
    f.a4Landscape = true;
    f.grid = false;
    return f;
}

std::optional<PageFormat> PageFormat::fromName(QStringView name) {
    if (name == u"genkou") return genkou();
    if (name == u"a4-40x30") return contest();
    const qsizetype x = name.indexOf(u'x');
    if (x < 0) return std::nullopt;
    const std::optional<int> chars = gridSize(name.first(x));
    const std::optional<int> lines = gridSize(name.sliced(x + 1));
    if (!chars || !lines) return std::nullopt;
    PageFormat f;
    f.charsPerLine = *chars;
    f.linesPerPage = *lines;
    return f;
}

QString PageFormat::name() const {
    PageFormat paper = *this;
    paper.sectionNameFirst = paper.indentParagraphs = false; // options, not the paper
    if (paper == genkou()) return QStringLiteral("genkou");
    if (paper == contest()) return QStringLiteral("a4-40x30");
    return QStringLiteral("%1x%2").arg(charsPerLine).arg(linesPerPage);
}

} // namespace pote::vertical
