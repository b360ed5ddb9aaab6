#pragma once
// The toolkit's font dialog as a Japanese writer should meet it: its faces filtered to those
// that write Japanese, a Japanese sample, and the fonts' English style names in Japanese.

class QFontDialog;

namespace pote {

// Call after the dialog has its font and before it is shown.
void openOnJapaneseText(QFontDialog& dialog);

} // namespace pote
