#include "settings/settings_store.h"
#include "settings/window_placement.h"
#include "support/result_check.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <limits>

namespace pote {
namespace {

constexpr QSize kScreen{1280, 1024};

TEST(Placement, DesignFlagIgnoresEverythingStored) {
    for (const bool maximized : {true, false}) {
        const PlacementDecision d =
            firstActivationPlacement({maximized, 10, 10, 600, 500}, kScreen, true);
        EXPECT_FALSE(d.maximize);
        EXPECT_TRUE(d.keepDesign);
    }
}

TEST(Placement, StoredPlacementIsRaisedToTheMinimum) {
    const PlacementDecision d = firstActivationPlacement({false, 20, 30, 500, 300}, kScreen, false);
    EXPECT_FALSE(d.keepDesign);
    EXPECT_EQ(d.geometry, QRect(30, 20, 540, 400));
}

TEST(Placement, FirstStartOpensTopLeftAtTheMinimumSize) {
    const PlacementDecision d = firstActivationPlacement({}, kScreen, false);
    EXPECT_FALSE(d.maximize);
    EXPECT_EQ(d.geometry, QRect(0, 0, 540, 400));
}

TEST(Placement, BeyondTheScreenIsIgnoredEntirely) {
    EXPECT_TRUE(firstActivationPlacement({false, 900, 0, 600, 200}, kScreen, false).keepDesign);
    EXPECT_TRUE(firstActivationPlacement({false, 0, 700, 600, 200}, kScreen, false).keepDesign);
    // Exactly reaching the edges still fits.
    EXPECT_FALSE(firstActivationPlacement({false, 824, 680, 600, 200}, kScreen, false).keepDesign);
    const int big = std::numeric_limits<int>::max();
    EXPECT_TRUE(firstActivationPlacement({false, big, big, big, big}, kScreen, false).keepDesign)
        << "sums that overflow an int do not wrap round to fitting";
}

TEST(Placement, ClosePositionAboveTheScreenIsKeptAsZero) {
    EXPECT_EQ(placementAtClose(false, QRect(-8, -30, 700, 500)),
              (SavedPlacement{false, 0, 0, 700, 500}));
    EXPECT_EQ(placementAtClose(true, QRect(0, 0, 1280, 1000)),
              (SavedPlacement{true, 0, 0, 1280, 1000}));
}

TEST(Placement, AWindowOpensWhereItWasClosed) {
    // Top and left differ, so that neither can stand for the other.
    const QRect closed(120, 45, 700, 500); // x (left), y (top)
    const SavedPlacement saved = placementAtClose(false, closed);
    EXPECT_EQ(saved, (SavedPlacement{false, 45, 120, 700, 500}));
    EXPECT_EQ(firstActivationPlacement(saved, kScreen, false).geometry, closed);
    EXPECT_EQ(placementAtClose(false, QRect(-5, 60, 700, 500)),
              (SavedPlacement{false, 60, 0, 700, 500}));
    EXPECT_EQ(placementAtClose(false, QRect(60, -5, 700, 500)),
              (SavedPlacement{false, 0, 60, 700, 500}));
}

TEST(Placement, MaximizedAtCloseOpensMaximizedNextTimeUnlessStartedWithD) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("potemaruED.conf"));
    Settings closing = Settings::defaults({});
    closing.placement = placementAtClose(true, QRect(0, 0, 1280, 1000));
    ASSERT_EQ(test::valueOf(settings_save(path, closing)), SettingsSaved::Written);

    Settings next = Settings::defaults({});
    settings_load(path, next);
    EXPECT_TRUE(firstActivationPlacement(next.placement, kScreen, false).maximize);
    EXPECT_FALSE(firstActivationPlacement(next.placement, kScreen, true).maximize);
}

} // namespace
} // namespace pote
