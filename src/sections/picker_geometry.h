#pragma once
// Where the section picker opens and how tall it is: it hangs just below the "選択" button and
// grows with the chosen group, up to twenty entries without scrolling.

#include <QPoint>
#include <QRect>
#include <QSize>

namespace pote {

struct PickerLayout {
    static constexpr int kClientWidth = 289;
    static constexpr int kMostVisible = 20;

    QRect sectionList;
    QRect setButton;
    QRect endButton;
    int clientHeight = 0;
};

// The picker's controls for a group of `members` sections (counted as at least one and at
// most twenty) with rows itemHeight pixels high; fewer rows (the list scrolls) where twenty
// would make the picker taller than maxClientHeight.
PickerLayout pickerLayout(int members, int itemHeight, int maxClientHeight = 1 << 20);

// The picker's top-left corner on the screen, from the main window's outer rectangle, the
// size of its client area (below the menu bar) and the positions of the section panel's
// controls in that client area.
QPoint pickerPosition(const QRect& mainOuter, const QSize& mainClient, int selectPanelLeft,
                      int sectionPanelHeight, const QRect& selectButton);

// topLeft moved as little as needed for a window of that size (frame included) to lie on the
// screen's free area.
QPoint keptOnScreen(const QPoint& topLeft, const QSize& size, const QRect& screen);

} // namespace pote
