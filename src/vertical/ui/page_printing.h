#pragma once
// Vertical pages onto paper: a PDF file or a printer, page after page through the one page
// painter. Long documents report their progress after each page and can be stopped; a PDF is
// written beside its target and put in place only when whole, so a stopped or failed export
// leaves any old file of that name as it was.

#include "core/result.h"
#include "vertical/document_pages.h"

#include <QString>

#include <functional>

class QPagedPaintDevice;

namespace pote::vertical {

class VerticalFont;

// Called after each page with the pages done and the pages in all; false stops the work.
using PageProgress = std::function<bool(int done, int total)>;

// Sets the device to the sheet of format, without margins: the pages place their own.
void setUpSheet(QPagedPaintDevice& device, const PageFormat& format);

// Paints every page of source on device, set up with setUpSheet, and gives the number of pages.
// Cancelled when progress stopped it; Io when the device would not draw.
Result<int> printPages(QPagedPaintDevice& device, PageSource& source, VerticalFont& font,
                       const PageProgress& progress);

// Writes every page of source to a PDF file at path, the document's title in its properties and
// the glyphs it uses embedded as a subset. Its text can be copied and searched in reading order:
// every glyph carries the character it was shaped from, the vertical forms too (cairo's PDF
// surface writes what Qt's PDF engine cannot: the text of a glyph the font's character map does
// not know). Fails as printPages does, the error naming path; on any failure the file at path
// is as it was.
Result<int> writePdf(const QString& path, const QString& title, PageSource& source,
                     VerticalFont& font, const PageProgress& progress);

} // namespace pote::vertical
