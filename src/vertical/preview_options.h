#pragma once
// What the vertical preview is set to, as one value: the page format with its options, the face,
// the sections shown and the zoom. The window around the preview reads it from the settings and
// keeps it there.

#include "vertical/layout.h"

#include <QString>

namespace pote::vertical {

struct PreviewOptions {
    PageFormat format;       // with the name line and the indent
    QString face;            // the font's family name
    bool allSections = true; // or the section being edited only
    int zoom = 100;          // per cent of the size that fits the window

    bool operator==(const PreviewOptions&) const = default;
};

// Zooms the preview takes, in per cent.
inline constexpr int kPreviewZoomMin = 25;
inline constexpr int kPreviewZoomMax = 400;

} // namespace pote::vertical
