#include "settings/recent_list.h"

#include <QFileInfo>

#include <utility>

namespace pote {

void recent_add(RecentList& list, const QString& path) {
    // An empty path would claim a free position as if it were a document.
    if (path.isEmpty()) return;
    auto& e = list.entries;
    int found = -1;
    for (int i = 0; i < kRecentCount; ++i) {
        if (e[i] == path) found = i;
    }
    if (found < 0) {
        for (int i = kRecentCount - 1; i > 0; --i)
            e[i] = std::move(e[i - 1]);
        e[0] = path;
    } else {
        std::swap(e[0], e[found]);
    }
}

RecentMenu recentMenu(const RecentList& list) {
    RecentMenu menu;
    for (int i = 0; i < kRecentCount; ++i) {
        menu.items[i].caption = list.entries[i];
        menu.items[i].visible = !list.entries[i].isEmpty();
        if (menu.items[i].visible) menu.submenuEnabled = true;
    }
    return menu;
}

std::optional<QString> recentOpenPath(const RecentList& list, int position) {
    if (position < 1 || position > kRecentCount) return std::nullopt;
    const QString& path = list.entries[position - 1];
    if (path.isEmpty() || !QFileInfo(path).isFile()) return std::nullopt;
    return path;
}

} // namespace pote
