// Entry texts of the section lists, and which section an entry stands for.

#include "core/cp932.h"
#include "core/section_store.h"
#include "sections/picker_geometry.h"
#include "sections/section_lists.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace pote {
namespace {

struct EntryRow {
    const char* name;
    int position;
    const char16_t* sectionName;
    EntrySpacing spacing;
    const char16_t* expected;
};

class EntryTexts : public testing::TestWithParam<EntryRow> {};

TEST_P(EntryTexts, NumberPaddedThenBlanksThenName) {
    const EntryRow& row = GetParam();
    EXPECT_EQ(
        sectionEntryText(row.position, cp932::encode(QStringView(row.sectionName)), row.spacing),
        QString::fromUtf16(row.expected));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, EntryTexts,
    testing::Values(
        EntryRow{"FirstSection", 0, u"第一章", EntrySpacing::Picker, u"No.001   第一章"},
        EntryRow{"TwoDigits", 41, u"x", EntrySpacing::Picker, u"No.042   x"},
        EntryRow{"LastOfFiveHundred", 499, u"終", EntrySpacing::Picker, u"No.500   終"},
        EntryRow{"EmptyName", 6, u"", EntrySpacing::Picker, u"No.007   "},
        EntryRow{"UnassignedListHasFourBlanks", 2, u"序", EntrySpacing::Unassigned,
                 u"No.003    序"},
        EntryRow{"NameKeepsItsOwnBlanks", 9, u" a  b ", EntrySpacing::Picker, u"No.010    a  b "}),
    [](const testing::TestParamInfo<EntryRow>& row) { return row.param.name; });

// Ten sections "s1".."s10"; groups A (1) and B (2); 3, 5 and 9 in B, 2 and 10 in A.
SectionStore mixedStore() {
    SectionStore store;
    for (int pos = 0; pos < 10; ++pos) {
        if (pos > 0) store.appendEmpty();
        store.section(pos).name = "s" + QByteArray::number(pos + 1);
    }
    store.addGroup(cp932::encode(u"グループA"));
    store.addGroup("B");
    for (int pos : {2, 4, 8})
        store.section(pos).group = 2;
    for (int pos : {1, 9})
        store.section(pos).group = 1;
    return store;
}

TEST(SectionLists, GroupRowsWithAndWithoutTheDefault) {
    const SectionStore store = mixedStore();
    EXPECT_EQ(groupRowCount(store, true), 3);
    EXPECT_EQ(groupRowText(store, 0, true), QStringLiteral("デフォルトセクション"));
    EXPECT_EQ(groupRowText(store, 1, true), QStringLiteral("グループA"));
    EXPECT_EQ(groupRowText(store, 2, true), QStringLiteral("B"));
    EXPECT_EQ(groupRowCount(store, false), 2);
    EXPECT_EQ(groupRowText(store, 0, false), QStringLiteral("グループA"));
    EXPECT_EQ(groupRowText(store, 1, false), QStringLiteral("B"));
    EXPECT_EQ(groupRowText(store, 2, false), QString()) << "past the last group";
    EXPECT_EQ(groupRowCount(SectionStore(), true), 1);
    EXPECT_EQ(groupRowCount(SectionStore(), false), 0);
}

struct ResolveRow {
    const char* name;
    int group;
    int row;
    int position;
};

class Resolving : public testing::TestWithParam<ResolveRow> {};

TEST_P(Resolving, TheRowThMemberOfTheGroup) {
    EXPECT_EQ(resolveEntry(mixedStore(), GetParam().group, GetParam().row), GetParam().position);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, Resolving,
    testing::Values(ResolveRow{"FirstUnassigned", 0, 0, 0},
                    ResolveRow{"SecondUnassignedSkipsGroups", 0, 1, 3},
                    ResolveRow{"LastUnassigned", 0, 4, 7}, ResolveRow{"PastTheLastEntry", 0, 5, -1},
                    ResolveRow{"MiddleOfB", 2, 1, 4}, ResolveRow{"LastSectionInA", 1, 1, 9},
                    ResolveRow{"NoRowSelected", 1, -1, -1},
                    ResolveRow{"NoGroupSelected", -1, 0, -1},
                    ResolveRow{"GroupWithoutMembers", 3, 0, -1}),
    [](const testing::TestParamInfo<ResolveRow>& row) { return row.param.name; });

TEST(SectionLists, EntriesResolveToTheRowsTheListsShow) {
    SectionStore store = mixedStore();
    // A position past the count keeps old values; it is neither listed nor resolved.
    store.section(10).name = "stale";
    store.section(10).group = 2;
    for (int group = 0; group <= store.groupCount(); ++group) {
        const std::vector<int> rows = store.membersOf(group);
        for (int row = 0; row < static_cast<int>(rows.size()); ++row)
            EXPECT_EQ(resolveEntry(store, group, row), rows[static_cast<size_t>(row)])
                << group << "/" << row;
        EXPECT_EQ(resolveEntry(store, group, static_cast<int>(rows.size())), -1);
    }
}

struct SizingRow {
    const char* name;
    int members;
    int listHeight;
};

class PickerSizing : public testing::TestWithParam<SizingRow> {};

TEST_P(PickerSizing, ListFitsUpToTwentyRowsAndTheButtonsFollow) {
    const PickerLayout layout = pickerLayout(GetParam().members, 13);
    EXPECT_EQ(layout.sectionList, QRect(8, 116, 273, GetParam().listHeight));
    const int listBottom = 116 + GetParam().listHeight;
    EXPECT_EQ(layout.setButton, QRect(96, listBottom + 6, 89, 25));
    EXPECT_EQ(layout.clientHeight, listBottom + 6 + 25 + 25 + 4);
    EXPECT_EQ(layout.endButton, QRect(196, layout.clientHeight - 29, 87, 25));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, PickerSizing,
    testing::Values(SizingRow{"EmptyGroupKeepsOneRow", 0, 17}, SizingRow{"OneSection", 1, 17},
                    SizingRow{"Twenty", 20, 264}, SizingRow{"ThirtyShowTwenty", 30, 264}),
    [](const testing::TestParamInfo<SizingRow>& row) { return row.param.name; });

// A screen too short for twenty rows gets as many as fit, never fewer than one; the picker is
// then moved onto the screen's free area.
TEST(PickerFit, AShortScreenShowsFewerRowsAndThePickerStaysOnIt) {
    for (const int room : {180 + 13 * 20 + 4, 180 + 13 * 7 + 4, 180 + 13 * 7 + 16, 100}) {
        SCOPED_TRACE(room);
        const PickerLayout layout = pickerLayout(43, 13, room);
        EXPECT_LE(layout.clientHeight, std::max(room, 180 + 13 + 4));
        EXPECT_GE(layout.clientHeight + 13, std::min(room, pickerLayout(43, 13).clientHeight));
        EXPECT_GE(layout.sectionList.height(), 13 + 4);
    }
    const QRect screen(0, 0, 800, 500);
    for (const QPoint at : {QPoint(700, 480), QPoint(-30, -5), QPoint(100, 100)}) {
        const QPoint kept = keptOnScreen(at, QSize(305, 400), screen);
        EXPECT_TRUE(screen.contains(QRect(kept, QSize(305, 400)))) << at.x() << "," << at.y();
        if (screen.contains(QRect(at, QSize(305, 400)))) {
            EXPECT_EQ(kept, at);
        }
    }
}

TEST(PickerPlacement, JustBelowTheChooseButton) {
    // A window at (312, 178) whose frame and menu take 8 px at the sides and 50 px in height.
    const QRect outer(312, 178, 548, 449);
    const QSize client(540, 399);
    EXPECT_EQ(pickerPosition(outer, client, 0, 41, QRect(4, 8, 75, 25)),
              QPoint(312 + 8, 178 + 50 + 41 + 8 + 25));
}

} // namespace
} // namespace pote
