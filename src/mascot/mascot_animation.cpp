#include "mascot/mascot_animation.h"

#include <algorithm>
#include <array>

namespace pote::mascot {

namespace {

const std::vector<Reaction>& table() {
    // clang-format off
    static const std::vector<Reaction> reactions = {
        {code::kIdle,               kNormalInterval,
         {1, 1, 1, 1, 4, 1, 1, 1, 1, 4, 1, 1, 1, 2, 1, 1, 1, 1, 10, 1, 1, 1, 1, 1, 1, 5, 1}, true},
        {code::kSectionSwitched,    50,  {1, 17, 18}, false},
        {code::kFoundOrCalculated,  50,  {1, 4, 4, 13, 14, 15, 16, 1}, false},
        {code::kDoubleClicked,      150, {1, 24, 25, 26, 27, 26, 25, 26, 27, 26, 25, 27, 24, 1}, false},
        {code::kCaretMoved,         50,  {1, 9, 9, 2}, false},
        {code::kWave,               30,  {1, 7, 7, 8, 8, 7, 7, 8, 8, 4}, false},
        {code::kReplaced,           50,  {6, 6, 6, 6, 6}, false},
        {code::kDozing,             300, {1, 1, 3, 3}, true},
        {code::kNotFound,           100, {1, 19, 20, 21, 19, 20, 21, 1}, false},
        {code::kExercise,           80,  {1, 22, 1, 23, 1, 22, 23, 1}, false},
        {code::kPointerOver,        120, {1, 0, 3, 4, 3, 1, 10, 1, 10, 1, 6, 6, 6, 6, 6, 6, 1}, false},
        {code::kError,              300, {1, 28, 1, 28}, false},
        {code::kBusy,               150, {29, 30}, true},
        {code::kAsleep,             300, {4, 4, 5, 5}, true},
    };
    // clang-format on
    return reactions;
}

// The order in which a tick looks at the codes. A block that switches to another code lets a
// later block of the same tick run for it: idle → dozing and dozing → asleep each draw twice on
// the tick they happen.
constexpr std::array kBlockOrder = {code::kIdle,
                                    code::kDozing,
                                    code::kAsleep,
                                    code::kReplaced,
                                    code::kSectionSwitched,
                                    code::kBusy,
                                    code::kError,
                                    code::kDoubleClicked,
                                    code::kCaretMoved,
                                    code::kExercise,
                                    code::kFoundOrCalculated,
                                    code::kPointerOver,
                                    code::kWave,
                                    code::kNotFound};

} // namespace

std::span<const Reaction> reactionTable() {
    return table();
}

const Reaction* findReaction(int reactionCode) {
    const auto& reactions = table();
    const auto it =
        std::find_if(reactions.begin(), reactions.end(),
                     [reactionCode](const Reaction& r) { return r.code == reactionCode; });
    return it == reactions.end() ? nullptr : &*it;
}

void MascotAnimation::react(int reactionCode) {
    m_state.anime_code = reactionCode;
    m_state.anime_step = 0;
    m_state.idle_ticks = 0;
    m_state.doze_ticks = 0;
    // Idle is entered by ending a reaction, which restores the normal interval; raising it as
    // a reaction counts as unlisted.
    const Reaction* reaction = findReaction(reactionCode);
    m_intervalMs =
        reaction && reactionCode != code::kIdle ? reaction->intervalMs : kUnlistedInterval;
}

bool MascotAnimation::pointerMoved() {
    const int current = m_state.anime_code;
    if (current != code::kIdle && current != code::kDozing && current != code::kAsleep)
        return false;
    react(code::kPointerOver);
    return true;
}

MascotAnimation::Tick MascotAnimation::tick() {
    Tick result;
    for (const int blockCode : kBlockOrder) {
        if (m_state.anime_code == blockCode) runBlock(*findReaction(blockCode), result.frames);
    }
    result.intervalMs = m_intervalMs;
    return result;
}

void MascotAnimation::runBlock(const Reaction& reaction, std::vector<int>& drawn) {
    // The counters move before the frame is chosen; a switch to the next state restarts the
    // step, so the frame below then comes from the step the new state starts with.
    if (reaction.code == code::kIdle) {
        if (++m_state.idle_ticks > kIdleTicksBeforeDozing) react(code::kDozing);
    } else if (reaction.code == code::kDozing) {
        m_state.idle_ticks = 0;
        if (++m_state.doze_ticks > kDozeTicksBeforeSleep) react(code::kAsleep);
    } else if (reaction.code == code::kAsleep) {
        m_state.doze_ticks = 0;
    }

    const int steps = int(reaction.frames.size());
    if (const int frame = reaction.frames[size_t(m_state.anime_step)]; frame != 0)
        drawn.push_back(frame);
    if (++m_state.anime_step < steps) return;
    if (reaction.repeats)
        m_state.anime_step = 0;
    else
        backToIdle();
}

void MascotAnimation::backToIdle() {
    m_state.anime_step = 0;
    m_state.anime_code = code::kIdle;
    m_intervalMs = m_state.normal_interval;
}

} // namespace pote::mascot
