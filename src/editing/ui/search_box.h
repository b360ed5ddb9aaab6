#pragma once
// The one-line boxes of the find and replace dialogs hold what will be searched for: one line
// of text that CP932 can hold. A line break pasted into a box ends its text there (a one-line
// box cannot show one), and a character CP932 lacks becomes its CP932 counterpart, as in the
// pane.

#include <QString>

class QLineEdit;
class QWidget;

namespace pote {

QLineEdit* makeSearchBox(const QString& objectName, QWidget* parent);

// What a box keeps of text.
QString searchBoxText(const QString& text);

} // namespace pote
