#include "app/command_runner.h"

#include <gtest/gtest.h>

#include <vector>

namespace pote {
namespace {

struct Runner : testing::Test {
    int refreshes = 0;
    CommandRunner runner{[this] { ++refreshes; }};
};

TEST_F(Runner, RefreshesOnceAfterTheOutermostCommand) {
    int nestedRuns = 0;
    runner.registerCommand(Command::Copy, [&] {
        ++nestedRuns;
        runner.stateChanged(); // the document changes while the command runs
    });
    runner.registerCommand(Command::Cut, [&] {
        runner.run(Command::Copy);
        runner.runAsCommand([&] { runner.stateChanged(); });
        EXPECT_EQ(refreshes, 0) << "nothing refreshes before the outer command ends";
    });
    runner.run(Command::Cut);
    EXPECT_EQ(nestedRuns, 1);
    EXPECT_EQ(refreshes, 1);

    runner.runAsCommand([] {});
    EXPECT_EQ(refreshes, 2) << "work run as a command refreshes too";
}

TEST_F(Runner, ChangesOutsideCommandsRefreshAtOnce) {
    runner.stateChanged();
    runner.stateChanged();
    EXPECT_EQ(refreshes, 2);
}

TEST_F(Runner, CommandsWithoutHandlersRunNothingAndRefreshNothing) {
    EXPECT_FALSE(runner.implemented(Command::Paste));
    runner.run(Command::Paste);
    EXPECT_EQ(refreshes, 0);
}

TEST_F(Runner, AHandlerReplacedWhileRunningFinishesAsItStarted) {
    // A command may register again (a controller rebuilding its handlers); the running one
    // must not be destroyed under its own feet.
    std::vector<int> ran;
    runner.registerCommand(Command::Undo, [&] {
        runner.registerCommand(Command::Undo, [&] { ran.push_back(2); });
        ran.push_back(1);
    });
    runner.run(Command::Undo);
    runner.run(Command::Undo);
    EXPECT_EQ(ran, (std::vector<int>{1, 2}));
    EXPECT_TRUE(runner.implemented(Command::Undo));
}

} // namespace
} // namespace pote
