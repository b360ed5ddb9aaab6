#include "sections/picker_geometry.h"

#include <QtGlobal>

namespace pote {

PickerLayout pickerLayout(int members, int itemHeight, int maxClientHeight) {
    // Everything but the list's rows: its top, frame, the buttons below it and the margins.
    constexpr int kAroundRows = 116 + 4 + 6 + 25 + 25 + 4;
    const int fitting = itemHeight > 0 ? (maxClientHeight - kAroundRows) / itemHeight : 1;
    const int rows = qBound(1, qMin(members, fitting), PickerLayout::kMostVisible);
    PickerLayout layout;
    layout.sectionList = QRect(8, 116, 273, rows * itemHeight + 4);
    const int listBottom = layout.sectionList.y() + layout.sectionList.height();
    layout.setButton = QRect(96, listBottom + 6, 89, 25);
    const int endHeight = 25;
    layout.clientHeight = layout.setButton.y() + layout.setButton.height() + endHeight + 4;
    layout.endButton = QRect(196, layout.clientHeight - endHeight - 4, 87, endHeight);
    return layout;
}

QPoint pickerPosition(const QRect& mainOuter, const QSize& mainClient, int selectPanelLeft,
                      int sectionPanelHeight, const QRect& selectButton) {
    const int left = mainOuter.x() + (mainOuter.width() - mainClient.width()) + selectPanelLeft;
    const int top = mainOuter.y() + (mainOuter.height() - mainClient.height()) +
                    sectionPanelHeight + selectButton.y() + selectButton.height();
    return {left, top};
}

QPoint keptOnScreen(const QPoint& topLeft, const QSize& size, const QRect& screen) {
    const int x = qMax(screen.left(), qMin(topLeft.x(), screen.right() + 1 - size.width()));
    const int y = qMax(screen.top(), qMin(topLeft.y(), screen.bottom() + 1 - size.height()));
    return {x, y};
}

} // namespace pote
