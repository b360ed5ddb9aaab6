#pragma once
// The look shared by the section dialogs: the UI font, the bold italic captions over the lists
// and the row height of the list boxes.

#include <QFont>
#include <QIcon>
#include <QRect>

class QLabel;
class QWidget;

namespace pote {

// "ＭＳ Ｐゴシック" 12 px; the application maps the face to an installed Japanese font.
QFont dialogFont();
// A list row: 13 px as designed, taller when the font needs it to show Japanese text whole.
int listItemHeight(const QFont& font);
// A caption over a list: bold italic 16 px; its mnemonic moves the focus to buddy.
QLabel* captionLabel(const QString& objectName, const QString& text, QWidget* buddy, QPoint at,
                     QWidget* parent);
// A picture of the program's own icon set (":/icons/<name>.svg").
QIcon dialogIcon(const QString& name);

} // namespace pote
