#include "app/ui/section_number_box.h"

#include "core/section_store.h"

#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>

#include <algorithm>

namespace pote {

namespace {

// The name edit keeps at least this much of its width.
constexpr int kNameMinimumWidth = 200;
constexpr int kIndent = 2;
constexpr int kSmallestPixelSize = 9;

// Width of the widest section number in font, the overhang of italic digits included.
int widestNumberWidth(const QFont& font) {
    const QFontMetrics metrics(font);
    int widest = 0;
    for (int number = 1; number <= SectionStore::kMaxSections; ++number) {
        const QString text = QStringLiteral("No.") + QString::number(number);
        widest = std::max(
            {widest, metrics.horizontalAdvance(text), metrics.boundingRect(text).right() + 1});
    }
    return widest;
}

} // namespace

void fitSectionNumberBox(QLabel& number, QLineEdit& name) {
    // The design sizes were made for fonts with narrower digits than the ones on this system.
    number.setIndent(kIndent);
    const int frame = number.width() - number.contentsRect().width();
    const int mostWidth = number.width() + name.width() - kNameMinimumWidth;
    QFont font = number.font();
    int needed = widestNumberWidth(font) + kIndent + frame;
    while (needed > mostWidth && font.pixelSize() > kSmallestPixelSize) {
        font.setPixelSize(font.pixelSize() - 1);
        needed = widestNumberWidth(font) + kIndent + frame;
    }
    number.setFont(font);
    if (needed <= number.width()) return;
    const int grow = needed - number.width();
    number.resize(needed, number.height());
    name.setGeometry(name.x() + grow, name.y(), name.width() - grow, name.height());
}

} // namespace pote
