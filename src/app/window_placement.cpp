#include "app/window_placement.h"

#include <algorithm>

namespace pote {

PlacementDecision firstActivationPlacement(const SavedPlacement& saved, QSize screen, bool designFlag) {
    PlacementDecision d;
    if (designFlag)
        return d;
    if (saved.maximized) {
        d.maximize = true;
        return d;
    }
    // The comparison uses the values as saved, before the minimum size is applied.
    if (saved.top + saved.height <= screen.height() && saved.left + saved.width <= screen.width()) {
        d.keepDesign = false;
        d.geometry = QRect(saved.left, saved.top, std::max(saved.width, kMinimumWindowSize.width()),
                           std::max(saved.height, kMinimumWindowSize.height()));
    }
    return d;
}

} // namespace pote
