#pragma once
// The cover of a book whose writer chose no image: the title and the author set vertically by
// the same painter as the vertical pages, on a sheet of the proportions e-book stores ask for.

#include "core/result.h"
#include "epub/book_cover.h"

#include <QSize>
#include <QString>

namespace pote::epub {

constexpr QSize kGeneratedCoverSize{1600, 2560};

// A PNG of kGeneratedCoverSize in face (or the best installed Japanese face). Needs a Gui
// application. An Error when no font can show Japanese or the image cannot be made.
Result<BookCover> generatedCover(const QString& title, const QString& author, const QString& face);

} // namespace pote::epub
