#include "sections/picker_geometry.h"

#include <QtGlobal>

namespace pote {

PickerLayout pickerLayout(int members, int itemHeight) {
    const int rows = qBound(1, members, PickerLayout::kMostVisible);
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

} // namespace pote
