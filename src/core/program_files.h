#pragma once
// Where the program finds the files it ships with (the sprite sheet, the manual, icons): beside
// the program in a build folder, or in <prefix>/share/poteedit when installed to <prefix>/bin.

#include <QString>

namespace pote {

// The folder that holds `entry` (a file or folder name): the program folder when it is there,
// else ../share/poteedit beside it when it is there, else the program folder (so that a
// message about a missing file names the place a user would look first).
QString dataFolderFor(const QString& programFolder, const QString& entry);

// The manual's folder (its pages start at index.html).
QString manualFolderFor(const QString& programFolder);
// The folder of the program's and the document's icons (poteedit.svg,
// application-x-poteedit-document.svg), which the associations install for the user.
QString iconFolderFor(const QString& programFolder);

} // namespace pote
