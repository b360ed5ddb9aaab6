#pragma once
// Where the main window goes at its first activation.

#include <QRect>
#include <QSize>

namespace pote {

struct SavedPlacement {
    bool maximized = false;
    int top = 0;
    int left = 0;
    int width = 0;
    int height = 0;
};

struct PlacementDecision {
    bool maximize = false;
    bool keepDesign = true; // leave the design position and size
    QRect geometry;         // when !maximize && !keepDesign
};

constexpr QSize kMinimumWindowSize{540, 400};
constexpr QRect kDesignGeometry{312, 178, 532, 399};

// designFlag: the program was started with "/d".
PlacementDecision firstActivationPlacement(const SavedPlacement& saved, QSize screen, bool designFlag);

} // namespace pote
