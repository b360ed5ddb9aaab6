#include "settings/ui/japanese_font_dialog.h"

#include "core/toolkit_texts.h"

#include <QComboBox>
#include <QFontDatabase>
#include <QFontDialog>
#include <QLineEdit>
#include <QListView>
#include <QSignalBlocker>
#include <QStyledItemDelegate>

namespace pote {

namespace {

// Shows the style names in Japanese and leaves the model alone: the dialog finds the font by
// the name the font carries.
class StyleNameDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QString displayText(const QVariant& value, const QLocale&) const override {
        return japaneseStyleName(value.toString());
    }
};

} // namespace

void openOnJapaneseText(QFontDialog& dialog) {
    // The dialog's own controls have no names: the writing-system box is its only combo box,
    // and its lists come in the order family, style, size.
    const auto combos = dialog.findChildren<QComboBox*>(Qt::FindDirectChildrenOnly);
    if (combos.size() == 1 && combos.front()->count() > QFontDatabase::Japanese) {
        QComboBox* writingSystem = combos.front();
        writingSystem->setCurrentIndex(QFontDatabase::Japanese);
        // The dialog follows the box on activation only.
        emit writingSystem->activated(QFontDatabase::Japanese);
    }
    const auto lists = dialog.findChildren<QListView*>(Qt::FindDirectChildrenOnly);
    if (lists.size() != 3) return;
    QListView* styles = lists.at(1);
    styles->setItemDelegate(new StyleNameDelegate(styles));
    for (QLineEdit* edit : dialog.findChildren<QLineEdit*>(Qt::FindDirectChildrenOnly)) {
        if (edit->focusProxy() != styles) continue;
        // The read-only box above the list repeats the chosen style.
        const auto translate = [edit](const QString& text) {
            const QString japanese = japaneseStyleName(text);
            if (japanese == text) return;
            const QSignalBlocker quiet(edit);
            edit->setText(japanese);
        };
        QObject::connect(edit, &QLineEdit::textChanged, edit, translate);
        translate(edit->text());
    }
}

} // namespace pote
