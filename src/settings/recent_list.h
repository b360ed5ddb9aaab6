#pragma once
// The ten documents most recently opened or saved, position 1 the newest, and what the File
// menu makes of them each time it opens.

#include <QString>

#include <array>
#include <optional>

namespace pote {

constexpr int kRecentCount = 10;

struct RecentList {
    // entries[0] is position 1; an empty entry is a free position.
    std::array<QString, kRecentCount> entries;

    bool operator==(const RecentList&) const = default;
};

// Puts a document just read or written at position 1. A path already listed (compared exactly,
// letter case included) changes places with position 1; entries between keep theirs. A new path
// pushes every entry one position down and the tenth drops out.
void recent_add(RecentList& list, const QString& path);

struct RecentMenuItem {
    QString caption; // the full path as listed, without numbering
    bool visible = false;
};

// How nx_recent and nx_recent1 ... nx_recent10 look after the File menu opened. The submenu
// itself stays hidden; it is enabled when it would have something to offer.
struct RecentMenu {
    bool submenuVisible = false;
    bool submenuEnabled = false;
    std::array<RecentMenuItem, kRecentCount> items;
};

RecentMenu recentMenu(const RecentList& list);

// The document behind nx_recent<position> (1..10), when that entry names an existing file.
std::optional<QString> recentOpenPath(const RecentList& list, int position);

} // namespace pote
