#pragma once
// The editing font and the stored 0x00BBGGRR colours as the toolkit's fonts and colours.

#include "settings/settings_values.h"

#include <QColor>
#include <QFont>

namespace pote {

QColor colorOf(quint32 bgr);
quint32 storedColor(const QColor& color);

// The face shown instead of one this machine does not have (settings from another machine).
const QString kFallbackFace = QStringLiteral("ＭＳ ゴシック");

// Whether a face is installed, under its own name or through a substitution.
bool faceAvailable(const QString& face);

// The pane's font: face, pixel size and the four styles. The colour is the pane's text colour
// (colorOf(font.color)); the character set has no counterpart and is only kept. A face this
// machine does not have becomes kFallbackFace; the editing font keeps the name.
QFont qfontOf(const EditorFont& font);

// The editing font after a font dialog returned `chosen`: face, measure and style from it,
// character set and colour as they were.
EditorFont editorFontFrom(const QFont& chosen, EditorFont previous);

// After the standard font dialog chose family: bold and italic go back to stored where the
// family has no style of that kind, which the dialog cannot offer.
void keepStylesTheFaceLacks(EditorFont& font, const EditorFont& stored, const QString& family);

} // namespace pote
