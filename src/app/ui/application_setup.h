#pragma once
// What the application needs before its first window: its name, Japanese translations of Qt's
// own dialogs, and font names mapped to the fonts this system has.

class QApplication;

namespace pote {

void setUpApplication(QApplication& app);
// Maps the face names documents and settings use to installed Japanese fonts.
void installFontSubstitutions();

} // namespace pote
