#pragma once
// Where the main window goes at its first activation, and what it leaves behind at close.

#include <QRect>
#include <QSize>

namespace pote {

// WindowMax, FormTop, FormLeft, FormWidth, FormHeight.
struct SavedPlacement {
    bool maximized = false;
    int top = 0;
    int left = 0;
    int width = 0;
    int height = 0;

    bool operator==(const SavedPlacement&) const = default;
};

struct PlacementDecision {
    bool maximize = false;
    bool keepDesign = true; // leave the design position and size
    QRect geometry;         // when !maximize && !keepDesign
};

constexpr QSize kMinimumWindowSize{540, 400};
constexpr QRect kDesignGeometry{312, 178, 532, 399};

// designFlag: the program was started with "/d".
PlacementDecision firstActivationPlacement(const SavedPlacement& saved, QSize screen,
                                           bool designFlag);

// The placement stored at close: a position above or left of the screen is kept as 0, the size
// is the window's (the maximized size when maximized).
SavedPlacement placementAtClose(bool maximized, const QRect& geometry);

} // namespace pote
