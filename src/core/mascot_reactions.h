#pragma once
// Commands make the cat react through this interface; the cat's animated picture implements
// it, tests a recorder.

namespace pote {

// The reaction codes: the one list of them in the program.
enum MascotReaction : int {
    ReactionIdle = 0,
    ReactionSectionSwitched = 1,
    ReactionHit = 2,           // search hit, calculation result
    ReactionDoubleClicked = 3, // double click on the cat
    ReactionCaretMoved = 4,
    ReactionWave = 5, // raised by no command
    ReactionReplaced = 6,
    ReactionDozing = 7,       // raised by the tick handler only
    ReactionNotFound = 8,     // nothing found, backup with failures
    ReactionExercise = 9,     // click on the cat, "運動", backup finished
    ReactionPointerOver = 10, // the pointer over an idle, dozing or sleeping cat
    ReactionError = 11,       // an error is being reported
    ReactionBusy = 12,        // the busy picture
    ReactionAsleep = 17,      // raised by the tick handler only
};

class MascotReactions {
public:
    virtual ~MascotReactions() = default;
    virtual void mascot_react(int code) = 0;
    // The reaction running now (0 idle, 7 dozing, 17 asleep, ...).
    virtual int currentReaction() const = 0;
};

} // namespace pote
