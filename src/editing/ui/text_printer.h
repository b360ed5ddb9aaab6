#pragma once
// Prints plain text on a paged device (a printer or a PDF writer) with our own paginator: row
// by row, wrapped to the page width, page after page until the text ends, however long it is.

#include <QString>

class QFont;
class QPagedPaintDevice;

namespace pote {

// Prints text in font on device, which is set up (title, page size, output) by the caller.
// Returns the number of pages printed, or 0 when the device could not be opened.
int printText(QPagedPaintDevice& device, const QString& text, const QFont& font);

} // namespace pote
