#pragma once
// What the cat says about EPUB books, shared by the window's command and ptmtool.

#include "epub/epub_writer.h"

#include <QString>

namespace pote::epubmsg {

// The page breaks would make more content documents than a book holds.
QString tooManyPages(int limit);
// Characters that are no text were left out: the places (section numbers 1-based), and how
// many there were in all.
QString droppedCharacters(const QList<epub::DroppedPlace>& places, qsizetype total);
// User-defined characters were kept, but no reader can show them: the places, as above.
QString userDefinedCharacters(const QList<epub::DroppedPlace>& places, qsizetype total);
// The status bar while the book is written: "EPUBを書き出し中 （45%）".
QString progressStatusText(qint64 done, qint64 total);
QString finished(const QString& fileName);
// The chosen cover is no JPEG or PNG, or too large to be one (the box names the file).
QString notACoverImage();
QString coverTooLarge(qint64 limit);
QString stopped();

} // namespace pote::epubmsg
