#include "settings/window_placement.h"

#include <algorithm>

namespace pote {

PlacementDecision firstActivationPlacement(const SavedPlacement& saved, QSize screen,
                                           bool designFlag) {
    PlacementDecision d;
    if (designFlag) return d;
    if (saved.maximized) {
        d.maximize = true;
        return d;
    }
    // The comparison uses the values as saved, before the minimum size is applied. Sums in 64
    // bits: a hand-edited file may hold values whose sum does not fit an int.
    const qint64 bottom = qint64(saved.top) + saved.height;
    const qint64 right = qint64(saved.left) + saved.width;
    if (bottom <= screen.height() && right <= screen.width()) {
        d.keepDesign = false;
        d.geometry = QRect(saved.left, saved.top, std::max(saved.width, kMinimumWindowSize.width()),
                           std::max(saved.height, kMinimumWindowSize.height()));
    }
    return d;
}

SavedPlacement placementAtClose(bool maximized, const QRect& geometry) {
    return {maximized, std::max(geometry.top(), 0), std::max(geometry.left(), 0), geometry.width(),
            geometry.height()};
}

} // namespace pote
