// The one way failures reach the user: the cat reacts, then the box with its exact text.

#include "app/reporter.h"
#include "core/mascot_reactions.h"
#include "core/result.h"
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

    reporter.report(
        Error::io(QStringLiteral("/tmp/文書.ptm"), QStringLiteral("Permission denied")));
    reporter.refusal(QStringLiteral("読めないにゃ。"));
    reporter.report(free_space_decide(10, 20, SpaceForm::SingleFile).error());

    ASSERT_EQ(prompter.asked().size(), 3u);
    EXPECT_EQ(cat.reactions, (std::vector<int>{ReactionError, ReactionError, ReactionError}));
    EXPECT_EQ(prompter.asked()[0].text, QStringLiteral("/tmp/文書.ptm\r\nPermission denied"));
    EXPECT_EQ(prompter.asked()[0].buttons, Answers(Answer::Ok));
    EXPECT_EQ(prompter.asked()[1].text, QStringLiteral("読めないにゃ。"));
    EXPECT_EQ(prompter.asked()[1].buttons, Answers(Answer::Yes));
    EXPECT_EQ(prompter.asked()[2].text,
              free_space_decide(10, 20, SpaceForm::SingleFile).error().text);
    EXPECT_EQ(prompter.asked()[2].buttons, Answers(Answer::Yes));
    for (const auto& asked : prompter.asked())
        EXPECT_EQ(asked.kind, MessageKind::Error);
}

TEST(Reporter, TheBoxNamesTheFileWhateverTheKindAndACancelSaysNothing) {
    const struct {
        const char* name;
        Error error;
        QString text; // empty: no box, no reaction
        Answers buttons;
    } rows[] = {
        {"refused with a file: a target that is no file",
         Error::refused(QStringLiteral("ふつうのファイルじゃないにゃ。"), QStringLiteral("/tmp/d")),
         QStringLiteral("/tmp/d\r\nふつうのファイルじゃないにゃ。"), Answer::Ok},
        {"a disk that filled up during a write",
         Error::noSpace(QStringLiteral("いっぱいにゃ。"), QStringLiteral("/tmp/a.ptm")),
         QStringLiteral("/tmp/a.ptm\r\nいっぱいにゃ。"), Answer::Ok},
        {"an io error without a file", Error::io({}, QStringLiteral("Input/output error")),
         QStringLiteral("Input/output error"), Answer::Yes},
        {"cancelled", Error::cancelled(), {}, {}},
    };
    for (const auto& row : rows) {
        test::ScriptedPrompter prompter;
        CatRecorder cat;
        Reporter reporter(prompter, cat);
        prompter.answer(Answer::Ok);
        reporter.report(row.error);
        if (row.text.isEmpty()) {
            EXPECT_TRUE(prompter.asked().empty()) << row.name;
            EXPECT_TRUE(cat.reactions.empty()) << row.name;
            continue;
        }
        ASSERT_EQ(prompter.asked().size(), 1u) << row.name;
        EXPECT_EQ(prompter.asked()[0].text, row.text) << row.name;
        EXPECT_EQ(prompter.asked()[0].buttons, row.buttons) << row.name;
        EXPECT_EQ(cat.reactions, std::vector<int>{ReactionError}) << row.name;
    }
}

} // namespace
} // namespace pote
