#include "settings/recent_list.h"

#include "support/test_files.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace pote {
namespace {

QStringList listed(const RecentList& list) {
    QStringList out;
    for (const QString& e : list.entries)
        if (!e.isEmpty()) out << e;
    return out;
}

RecentList opened(const QStringList& paths) {
    RecentList list;
    for (const QString& p : paths)
        recent_add(list, p);
    return list;
}

TEST(RecentAdd, ReopeningSwapsWithTheNewestInsteadOfMovingToTheFront) {
    RecentList list = opened({"/A.ptm", "/B.ptm", "/C.ptm"});
    EXPECT_EQ(listed(list), (QStringList{"/C.ptm", "/B.ptm", "/A.ptm"}));
    recent_add(list, "/A.ptm");
    EXPECT_EQ(listed(list), (QStringList{"/A.ptm", "/B.ptm", "/C.ptm"}));
    recent_add(list, "/A.ptm");
    EXPECT_EQ(listed(list), (QStringList{"/A.ptm", "/B.ptm", "/C.ptm"})) << "already the newest";
}

TEST(RecentAdd, TheEleventhDocumentDropsTheOldest) {
    QStringList paths;
    for (int i = 1; i <= 11; ++i)
        paths << QStringLiteral("/文書%1.ptm").arg(i);
    const RecentList list = opened(paths);
    EXPECT_EQ(list.entries.front(), QStringLiteral("/文書11.ptm"));
    EXPECT_EQ(list.entries.back(), QStringLiteral("/文書2.ptm"));
    EXPECT_FALSE(listed(list).contains(QStringLiteral("/文書1.ptm")));
}

TEST(RecentAdd, LetterCaseMakesADifferentEntry) {
    EXPECT_EQ(listed(opened({"/home/u/Neko.ptm", "/home/u/neko.ptm"})),
              (QStringList{"/home/u/neko.ptm", "/home/u/Neko.ptm"}));
}

TEST(RecentAdd, ADuplicateFromTheFileCountsAtItsLastPosition) {
    RecentList list;
    list.entries = {"/n.ptm", "/d.ptm", "/x.ptm", "/d.ptm"};
    recent_add(list, "/d.ptm");
    EXPECT_EQ(list.entries[0], QStringLiteral("/d.ptm"));
    EXPECT_EQ(list.entries[1], QStringLiteral("/d.ptm"));
    EXPECT_EQ(list.entries[3], QStringLiteral("/n.ptm"));
}

TEST(RecentAdd, AnEmptyPathIsNoDocument) {
    RecentList list = opened({"/A.ptm"});
    recent_add(list, QString());
    EXPECT_EQ(listed(list), QStringList{"/A.ptm"});
    EXPECT_EQ(list.entries[0], QStringLiteral("/A.ptm"));
}

TEST(RecentMenu, ItemsShowTheListedPathsAndTheSubmenuStaysHidden) {
    RecentMenu menu = recentMenu(RecentList{});
    EXPECT_FALSE(menu.submenuVisible);
    EXPECT_FALSE(menu.submenuEnabled);
    for (const RecentMenuItem& item : menu.items)
        EXPECT_FALSE(item.visible);

    RecentList list;
    list.entries[0] = QStringLiteral("/home/u/原稿.ptm");
    list.entries[3] = QStringLiteral("/home/u/b.ptm");
    menu = recentMenu(list);
    EXPECT_FALSE(menu.submenuVisible);
    EXPECT_TRUE(menu.submenuEnabled);
    EXPECT_EQ(menu.items[0].caption, QStringLiteral("/home/u/原稿.ptm"));
    EXPECT_TRUE(menu.items[0].visible);
    EXPECT_FALSE(menu.items[1].visible);
    EXPECT_TRUE(menu.items[3].visible);
}

TEST(RecentOpen, OnlyAnExistingFileIsOpened) {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("ある.ptm"));
    test::writeAll(file, "x");
    RecentList list;
    list.entries[0] = file;
    list.entries[1] = dir.filePath(QStringLiteral("ない.ptm"));
    list.entries[2] = dir.path(); // a folder is no document
    EXPECT_EQ(recentOpenPath(list, 1), file);
    EXPECT_EQ(recentOpenPath(list, 2), std::nullopt);
    EXPECT_EQ(recentOpenPath(list, 3), std::nullopt);
    EXPECT_EQ(recentOpenPath(list, 4), std::nullopt) << "empty entry";
    EXPECT_EQ(recentOpenPath(list, 0), std::nullopt);
    EXPECT_EQ(recentOpenPath(list, 11), std::nullopt);
    // The last entry opens like the first.
    list.entries[kRecentCount - 1] = file;
    EXPECT_EQ(recentOpenPath(list, kRecentCount), file);
}

} // namespace
} // namespace pote
