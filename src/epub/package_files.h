#pragma once
// The files of a book besides its content documents: the container file that points at the
// package document, the package document (metadata, manifest, reading order), the navigation
// document (the table of contents) and the style sheet.

#include "epub/book.h"

#include <QByteArray>

namespace pote::epub {

// The zip's first entry, stored, with exactly these bytes.
constexpr char kMimetype[] = "application/epub+zip";

// Where the files live inside the zip.
constexpr char kContainerPath[] = "META-INF/container.xml";
constexpr char kPackageFolder[] = "EPUB/";
constexpr char kPackagePath[] = "EPUB/package.opf";
constexpr char kNavigationPath[] = "EPUB/nav.xhtml";
constexpr char kStyleSheetPath[] = "EPUB/style.css";
constexpr char kCoverPagePath[] = "EPUB/text/cover.xhtml";

QByteArray containerDocument();
QByteArray packageDocument(const BookOptions& options, const BookPlan& plan);
QByteArray navigationDocument(const BookPlan& plan, bool hasCover);
// The first page of a book with a cover: the image, as large as the screen allows.
QByteArray coverPage(const BookOptions& options, const BookPlan& plan);
// Vertical, right to left; or horizontal. The markup's classes look the same in both.
QByteArray styleSheet(bool horizontal);

} // namespace pote::epub
