#pragma once
// What the cat shows and when: the reaction table and the tick-by-tick state machine behind
// the mascot picture. No timer and no drawing here; the widget runs a timer at the interval
// this returns and draws the frames each tick names.

#include "core/mascot_reactions.h"

#include <span>
#include <vector>

namespace pote::mascot {

// One animation: the frame of each step (0 = the step draws nothing, the last picture stays),
// the timer interval while it runs, and whether it loops or falls back to idle at its end.
struct Reaction {
    int code = 0;
    int intervalMs = 0;
    std::vector<int> frames;
    bool repeats = false;
};

// Reaction codes with a fixed meaning for the rest of the program.
namespace code {
inline constexpr int kIdle = ReactionIdle;
inline constexpr int kSectionSwitched = ReactionSectionSwitched;
inline constexpr int kFoundOrCalculated = ReactionHit;
inline constexpr int kDoubleClicked = ReactionDoubleClicked;
inline constexpr int kCaretMoved = ReactionCaretMoved;
inline constexpr int kWave = ReactionWave;
inline constexpr int kReplaced = ReactionReplaced;
inline constexpr int kDozing = ReactionDozing;
inline constexpr int kNotFound = ReactionNotFound;
inline constexpr int kExercise = ReactionExercise;
inline constexpr int kPointerOver = ReactionPointerOver;
inline constexpr int kError = ReactionError;
inline constexpr int kBusy = ReactionBusy;
inline constexpr int kAsleep = ReactionAsleep;
} // namespace code

inline constexpr int kNormalInterval = 450;
// Interval set for a code the table does not list.
inline constexpr int kUnlistedInterval = 50;
// Idle ticks before the cat dozes off, dozing ticks before it sleeps.
inline constexpr int kIdleTicksBeforeDozing = 200;
inline constexpr int kDozeTicksBeforeSleep = 28;

std::span<const Reaction> reactionTable();
const Reaction* findReaction(int code);

class MascotAnimation {
public:
    struct State {
        int anime_code = code::kIdle;
        int anime_step = 0;
        int idle_ticks = 0;
        int doze_ticks = 0;
        int normal_interval = kNormalInterval;
    };

    struct Tick {
        std::vector<int> frames; // in drawing order; the last one stays visible
        int intervalMs = kNormalInterval;
    };

    // mascot_react: (re)starts a reaction from its first step. Draws nothing; the next tick
    // does.
    void react(int reactionCode);
    // pote_ontime.
    Tick tick();
    // pt_mm: the pointer wakes an idle, dozing or sleeping cat but never cuts a reaction short.
    // True when it started one.
    bool pointerMoved();

    const State& state() const { return m_state; }
    // The timer interval the animation wants now.
    int intervalMs() const { return m_intervalMs; }

private:
    void runBlock(const Reaction& reaction, std::vector<int>& drawn);
    void backToIdle();

    State m_state;
    int m_intervalMs = kNormalInterval;
};

} // namespace pote::mascot
