// The one way failures reach the user: the cat reacts, then the box with its exact text.

#include "app/reporter.h"
#include "core/mascot_reactions.h"
#include "support/scripted_prompter.h"
#include "textio/free_space.h"

#include <gtest/gtest.h>

namespace pote {
namespace {

struct CatRecorder : MascotReactions {
    std::vector<int> reactions;
    void mascot_react(int code) override { reactions.push_back(code); }
    int currentReaction() const override { return reactions.empty() ? 0 : reactions.back(); }
};

TEST(Reporter, EveryReportIsAnErrorBoxAfterTheCatsErrorReaction) {
    test::ScriptedPrompter prompter;
    CatRecorder cat;
    Reporter reporter(prompter, cat);
    prompter.answer(Answer::Ok).answer(Answer::Yes).answer(Answer::Yes);

    reporter.fileError(QStringLiteral("/tmp/文書.ptm"), QStringLiteral("Permission denied"));
    reporter.refusal(QStringLiteral("読めないにゃ。"));
    reporter.spaceShortage(free_space_decide(10, 20, SpaceForm::SingleFile));

    ASSERT_EQ(prompter.asked().size(), 3u);
    EXPECT_EQ(cat.reactions, (std::vector<int>{ReactionError, ReactionError, ReactionError}));
    EXPECT_EQ(prompter.asked()[0].text, QStringLiteral("/tmp/文書.ptm\r\nPermission denied"));
    EXPECT_EQ(prompter.asked()[0].buttons, Answers(Answer::Ok));
    EXPECT_EQ(prompter.asked()[1].text, QStringLiteral("読めないにゃ。"));
    EXPECT_EQ(prompter.asked()[1].buttons, Answers(Answer::Yes));
    EXPECT_EQ(prompter.asked()[2].text, free_space_decide(10, 20, SpaceForm::SingleFile).message);
    for (const auto& asked : prompter.asked())
        EXPECT_EQ(asked.kind, MessageKind::Error);
}

} // namespace
} // namespace pote
