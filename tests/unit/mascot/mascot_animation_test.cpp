#include "mascot/mascot_animation.h"

#include <gtest/gtest.h>

#include <vector>

namespace pote::mascot {
namespace {

using Frames = std::vector<int>;

// What the picture shows over the ticks: each tick's drawn frames, in order.
std::vector<Frames> runTicks(MascotAnimation& anim, int ticks) {
    std::vector<Frames> drawn;
    for (int i = 0; i < ticks; ++i)
        drawn.push_back(anim.tick().frames);
    return drawn;
}

// Ticks until the state is idle again, with the interval that was in force for each tick.
struct Played {
    std::vector<Frames> frames;
    std::vector<int> intervals; // the interval each tick waited for
};

Played playOneShot(MascotAnimation& anim) {
    Played played;
    for (int guard = 0; guard < 100; ++guard) {
        played.intervals.push_back(anim.intervalMs());
        played.frames.push_back(anim.tick().frames);
        if (anim.state().anime_code == code::kIdle) return played;
    }
    ADD_FAILURE() << "the reaction never ended";
    return played;
}

struct OneShotRow {
    const char* name;
    int code;
    int intervalMs;
    std::vector<Frames> frames; // per tick; {} = the step draws nothing
};

class OneShot : public testing::TestWithParam<OneShotRow> {};

TEST_P(OneShot, PlaysItsFramesAtItsPaceAndEndsIdleAtTheNormalInterval) {
    const OneShotRow& row = GetParam();
    MascotAnimation anim;
    runTicks(anim, 5); // somewhere in the idle loop
    anim.react(row.code);
    EXPECT_EQ(anim.intervalMs(), row.intervalMs);
    const Played played = playOneShot(anim);
    EXPECT_EQ(played.frames, row.frames);
    for (const int interval : played.intervals)
        EXPECT_EQ(interval, row.intervalMs);
    EXPECT_EQ(anim.state().anime_step, 0);
    EXPECT_EQ(anim.intervalMs(), kNormalInterval) << "never the 50 ms of an unlisted code";
    // Idle starts again from its first step, with the idle count starting from 0.
    const auto next = anim.tick();
    EXPECT_EQ(next.frames, Frames{1});
    EXPECT_EQ(anim.state().idle_ticks, 1);
    EXPECT_EQ(anim.state().anime_step, 1);
}

INSTANTIATE_TEST_SUITE_P(
    Reactions, OneShot,
    testing::Values(
        OneShotRow{"SectionSwitched", 1, 50, {{1}, {17}, {18}}},
        OneShotRow{"SearchHit", 2, 50, {{1}, {4}, {4}, {13}, {14}, {15}, {16}, {1}}},
        OneShotRow{
            "DoubleClick",
            3,
            150,
            {{1}, {24}, {25}, {26}, {27}, {26}, {25}, {26}, {27}, {26}, {25}, {27}, {24}, {1}}},
        OneShotRow{"CaretMoved", 4, 50, {{1}, {9}, {9}, {2}}},
        OneShotRow{"Wave", 5, 30, {{1}, {7}, {7}, {8}, {8}, {7}, {7}, {8}, {8}, {4}}},
        OneShotRow{"Replaced", 6, 50, {{6}, {6}, {6}, {6}, {6}}},
        OneShotRow{"NotFound", 8, 100, {{1}, {19}, {20}, {21}, {19}, {20}, {21}, {1}}},
        OneShotRow{"Exercise", 9, 80, {{1}, {22}, {1}, {23}, {1}, {22}, {23}, {1}}},
        OneShotRow{
            "PointerOverWithEmptyStep",
            10,
            120,
            {{1}, {}, {3}, {4}, {3}, {1}, {10}, {1}, {10}, {1}, {6}, {6}, {6}, {6}, {6}, {6}, {1}}},
        OneShotRow{"Error", 11, 300, {{1}, {28}, {1}, {28}}}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(MascotAnimation, StartsIdleAndLoopsTheIdleFrames) {
    MascotAnimation anim;
    EXPECT_EQ(anim.state().anime_code, code::kIdle);
    EXPECT_EQ(anim.intervalMs(), kNormalInterval);
    const std::vector<Frames> loop = {{1},  {1}, {1}, {1}, {4}, {1}, {1}, {1}, {1},
                                      {4},  {1}, {1}, {1}, {2}, {1}, {1}, {1}, {1},
                                      {10}, {1}, {1}, {1}, {1}, {1}, {1}, {5}, {1}};
    EXPECT_EQ(runTicks(anim, 27), loop);
    EXPECT_EQ(runTicks(anim, 27), loop) << "the loop repeats";
    EXPECT_EQ(anim.state().idle_ticks, 54);
    EXPECT_EQ(anim.intervalMs(), kNormalInterval);
}

TEST(MascotAnimation, DozesOnTheTwoHundredAndFirstIdleTick) {
    MascotAnimation anim;
    runTicks(anim, 200);
    EXPECT_EQ(anim.state().anime_code, code::kIdle);
    EXPECT_EQ(anim.state().idle_ticks, 200);

    const auto tick = anim.tick();
    // Idle draws its first frame (the step was reset), then dozing draws its step-1 frame.
    EXPECT_EQ(tick.frames, (Frames{1, 1}));
    EXPECT_EQ(tick.intervalMs, 300);
    EXPECT_EQ(anim.state().anime_code, code::kDozing);
    EXPECT_EQ(anim.state().anime_step, 2);
    EXPECT_EQ(anim.state().idle_ticks, 0);
    EXPECT_EQ(anim.state().doze_ticks, 1);
    EXPECT_EQ(runTicks(anim, 4), (std::vector<Frames>{{3}, {3}, {1}, {1}}));
}

TEST(MascotAnimation, FallsAsleepOnTheTwentyNinthDozingTick) {
    MascotAnimation anim;
    runTicks(anim, 201); // dozing tick 1
    runTicks(anim, 27);  // dozing ticks 2..28
    EXPECT_EQ(anim.state().anime_code, code::kDozing);
    EXPECT_EQ(anim.state().doze_ticks, 28);

    const auto tick = anim.tick();
    // Dozing draws its first frame, then asleep draws its step-1 frame.
    EXPECT_EQ(tick.frames, (Frames{1, 4}));
    EXPECT_EQ(tick.intervalMs, 300);
    EXPECT_EQ(anim.state().anime_code, code::kAsleep);
    EXPECT_EQ(anim.state().doze_ticks, 0);
    EXPECT_EQ(runTicks(anim, 8), (std::vector<Frames>{{5}, {5}, {4}, {4}, {5}, {5}, {4}, {4}}));
    EXPECT_EQ(anim.state().anime_code, code::kAsleep) << "sleep lasts until a reaction";
}

TEST(MascotAnimation, IsAsleepAboutOneHundredSecondsAfterTheLastReaction) {
    MascotAnimation anim;
    anim.react(code::kExercise);
    long long elapsedMs = 0;
    long long asleepAt = -1;
    while (elapsedMs < 100'000) {
        elapsedMs += anim.intervalMs(); // the timer waits, then ticks
        anim.tick();
        if (asleepAt < 0 && anim.state().anime_code == code::kAsleep) asleepAt = elapsedMs;
    }
    // 8 × 80 ms of the reaction, 201 × 450 ms idle, 28 × 300 ms dozing.
    EXPECT_EQ(asleepAt, 8 * 80 + 201 * 450 + 28 * 300);
    EXPECT_EQ(anim.state().anime_code, code::kAsleep);
    EXPECT_EQ(anim.intervalMs(), 300);
}

TEST(MascotAnimation, PointerWakesASleepingCatThatThenIdlesAtTheNormalInterval) {
    MascotAnimation anim;
    runTicks(anim, 240);
    ASSERT_EQ(anim.state().anime_code, code::kAsleep);
    EXPECT_TRUE(anim.pointerMoved());
    EXPECT_EQ(anim.state().anime_code, code::kPointerOver);
    EXPECT_EQ(anim.intervalMs(), 120);
    const Played played = playOneShot(anim);
    EXPECT_EQ(played.frames.size(), 17u);
    EXPECT_EQ(anim.intervalMs(), kNormalInterval);
}

TEST(MascotAnimation, PointerWakesOnlyAnIdleDozingOrSleepingCat) {
    struct Row {
        const char* name;
        int setupTicks;
        int reaction; // -1: none
        bool wakes;
    };
    const Row rows[] = {
        {"idle", 3, -1, true},
        {"dozing", 210, -1, true},
        {"asleep", 240, -1, true},
        {"exercise", 0, code::kExercise, false},
        {"busy", 0, code::kBusy, false},
        {"error", 0, code::kError, false},
        {"itself", 0, code::kPointerOver, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        MascotAnimation anim;
        runTicks(anim, row.setupTicks);
        if (row.reaction >= 0) {
            anim.react(row.reaction);
            anim.tick();
        }
        const auto before = anim.state();
        const int intervalBefore = anim.intervalMs();
        EXPECT_EQ(anim.pointerMoved(), row.wakes);
        if (row.wakes) {
            EXPECT_EQ(anim.state().anime_code, code::kPointerOver);
            EXPECT_EQ(anim.state().anime_step, 0);
        } else {
            EXPECT_EQ(anim.state().anime_code, before.anime_code);
            EXPECT_EQ(anim.state().anime_step, before.anime_step) << "not restarted either";
            EXPECT_EQ(anim.intervalMs(), intervalBefore);
        }
    }
}

TEST(MascotAnimation, ClickOnASleepingCatExercisesThenCountsIdleFromZero) {
    MascotAnimation anim;
    runTicks(anim, 235);
    ASSERT_EQ(anim.state().anime_code, code::kAsleep);
    anim.react(code::kExercise);
    EXPECT_EQ(anim.state().idle_ticks, 0);
    EXPECT_EQ(anim.state().doze_ticks, 0);
    EXPECT_EQ(playOneShot(anim).frames.size(), 8u);
    runTicks(anim, 200);
    EXPECT_EQ(anim.state().anime_code, code::kIdle) << "a whole idle period again";
    anim.tick();
    EXPECT_EQ(anim.state().anime_code, code::kDozing);
}

TEST(MascotAnimation, AReactionRestartsEvenTheSameOne) {
    MascotAnimation anim;
    anim.react(code::kNotFound);
    runTicks(anim, 5);
    anim.react(code::kNotFound);
    EXPECT_EQ(anim.state().anime_step, 0);
    EXPECT_EQ(playOneShot(anim).frames.size(), 8u);
}

TEST(MascotAnimation, BusyLoopsUntilAnotherReaction) {
    MascotAnimation anim;
    anim.react(code::kBusy);
    EXPECT_EQ(anim.intervalMs(), 150);
    EXPECT_EQ(runTicks(anim, 5), (std::vector<Frames>{{29}, {30}, {29}, {30}, {29}}));
    EXPECT_EQ(anim.state().idle_ticks, 0) << "busy never dozes off";
    anim.react(code::kError);
    EXPECT_EQ(playOneShot(anim).frames.size(), 4u);
}

TEST(MascotAnimation, UnlistedCodesTickAtFiftyMillisecondsAndDrawNothing) {
    for (const int unlisted : {13, 99, -1, code::kIdle}) {
        SCOPED_TRACE(unlisted);
        MascotAnimation anim;
        anim.react(unlisted);
        EXPECT_EQ(anim.intervalMs(), kUnlistedInterval);
        if (unlisted == code::kIdle) {
            // Raised as a reaction, idle only changes its pace.
            EXPECT_EQ(anim.tick().frames, Frames{1});
            continue;
        }
        const auto tick = anim.tick();
        EXPECT_TRUE(tick.frames.empty());
        EXPECT_EQ(tick.intervalMs, kUnlistedInterval);
        EXPECT_EQ(anim.state().anime_code, unlisted);
        EXPECT_FALSE(anim.pointerMoved());
    }
}

TEST(ReactionTable, EveryFrameIsOnTheSheet) {
    for (const Reaction& reaction : reactionTable()) {
        SCOPED_TRACE(reaction.code);
        EXPECT_FALSE(reaction.frames.empty());
        for (const int frame : reaction.frames)
            EXPECT_TRUE(frame >= 0 && frame <= 30) << frame;
    }
    EXPECT_EQ(findReaction(15), nullptr);
}

} // namespace
} // namespace pote::mascot
