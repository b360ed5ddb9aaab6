#pragma once
// Commands make the cat react through this interface; the window implements it with the
// animated picture, tests with a recorder.

namespace pote {

enum MascotReaction : int {
    ReactionIdle = 0,
    ReactionSectionSwitched = 1,
    ReactionHit = 2,      // search hit, calculation result
    ReactionCaretMoved = 4,
    ReactionReplaced = 6,
    ReactionDozing = 7,
    ReactionNotFound = 8, // nothing found, backup with failures
    ReactionExercise = 9, // click on the cat, "運動", backup finished
    ReactionError = 11,   // an error is being reported
    ReactionAsleep = 17,
};

class MascotReactions {
public:
    virtual ~MascotReactions() = default;
    virtual void mascot_react(int code) = 0;
    // The reaction running now (0 idle, 7 dozing, 17 asleep, ...).
    virtual int currentReaction() const = 0;
};

} // namespace pote
