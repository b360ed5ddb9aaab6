#include "recovery/copy_schedule.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

namespace pote::recovery {
namespace {

constexpr qint64 kQuiet = 2000;
constexpr qint64 kLongest = 10000;
constexpr qint64 kPoll = 250;

// A writer who types in bursts of keys and pauses of every length, looked at every kPoll ms
// as the window does; a copy taken at a look holds every change up to it.
TEST(CopySchedule, EveryChangeIsCopiedWithinSecondsAndCopiesStayApart) {
    std::mt19937 rng(77);
    for (int run = 0; run < 200; ++run) {
        std::vector<qint64> keys;
        for (qint64 t = std::uniform_int_distribution<qint64>(0, 5000)(rng); t < 120000;) {
            keys.push_back(t);
            const bool pause = std::uniform_int_distribution<int>(0, 30)(rng) == 0;
            t += pause ? std::uniform_int_distribution<qint64>(500, 15000)(rng)
                       : std::uniform_int_distribution<qint64>(30, 400)(rng);
        }
        CopySchedule schedule(kQuiet, kLongest);
        std::vector<qint64> copies;
        size_t next = 0;
        for (qint64 look = 0; look < 140000; look += kPoll) {
            bool changed = false;
            while (next < keys.size() && keys[next] <= look) {
                changed = true;
                ++next;
            }
            if (changed) schedule.changed(look);
            if (schedule.due(look)) {
                copies.push_back(look);
                schedule.copied();
            }
        }
        ASSERT_FALSE(copies.empty());
        for (size_t i = 0; i < keys.size(); ++i) {
            // The first copy after the key holds it.
            const auto copy = std::lower_bound(copies.begin(), copies.end(), keys[i]);
            ASSERT_NE(copy, copies.end()) << "run " << run << ": a key never copied";
            EXPECT_LE(*copy - keys[i], kLongest + kPoll) << "run " << run << ", typing on";
            const bool lastBeforePause = i + 1 == keys.size() || keys[i + 1] - keys[i] > 3000;
            if (lastBeforePause)
                EXPECT_LE(*copy - keys[i], kQuiet + kPoll) << "run " << run << ", after a pause";
        }
        for (size_t i = 1; i < copies.size(); ++i)
            EXPECT_GE(copies[i] - copies[i - 1], kQuiet) << "run " << run << ": copies in a row";
        // No copy without a change it holds.
        for (size_t i = 0; i < copies.size(); ++i) {
            const qint64 since = i == 0 ? -1 : copies[i - 1];
            EXPECT_TRUE(std::any_of(keys.begin(), keys.end(),
                                    [&](qint64 k) { return k > since && k <= copies[i]; }))
                << "run " << run << ": a copy of nothing new";
        }
    }
}

TEST(CopySchedule, NothingIsDueWithoutAChange) {
    CopySchedule schedule(kQuiet, kLongest);
    EXPECT_FALSE(schedule.due(100000));
    schedule.changed(5);
    EXPECT_FALSE(schedule.due(5 + kQuiet - 1));
    EXPECT_TRUE(schedule.due(5 + kQuiet));
    schedule.copied();
    EXPECT_FALSE(schedule.pending());
    EXPECT_FALSE(schedule.due(100000));
}

} // namespace
} // namespace pote::recovery
