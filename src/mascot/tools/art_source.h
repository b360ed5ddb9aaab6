#pragma once
// The mascot's artwork as people edit it: a palette legend (one character per colour) and one
// text grid per frame. Reading checks everything a sheet needs, and reports the file and line
// of the first problem.

#include "mascot/sprite_sheet.h"

#include <QString>

#include <optional>

namespace pote::mascot {

struct ArtSource {
    IndexedSheet sheet; // frames laid out row by row, unused cells in the background colour
    int frameCount = 0;
};

inline constexpr int kSheetColumns = 10;

// palettePath: "<char> <red> <green> <blue> <description>" lines; the first entry is the
// background. framesFolder: files "NN-<what it shows>.txt", numbered from 1 without gaps,
// each holding the same number of equally long grid lines. Lines starting with ';' are
// comments in both.
std::optional<ArtSource> readArtSource(const QString& palettePath, const QString& framesFolder,
                                       QString* error);

} // namespace pote::mascot
