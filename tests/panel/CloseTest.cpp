// The close sequence runs once, whatever arrives while its boxes are open.
#include <gtest/gtest.h>

#include "PanelRun.h"

using namespace panel_test;

TEST(Close, ASecondCloseRequestDuringACloseBoxDoesNotRunTheSequenceAgain)
{
    PanelRun run(Plugin::Lacking("StopHW"));
    ASSERT_TRUE(run.WaitMainWindow());
    ASSERT_TRUE(run.WaitCalls(8));
    const size_t before = run.Calls().size();
    run.RequestClose();
    EXPECT_EQ(run.WaitBoxText(), "StopHW not found");
    run.RequestClose();
    Sleep(300);
    EXPECT_EQ(run.Boxes().size(), 1u);
    EXPECT_EQ(run.DismissBoxesUntilExit(), (std::vector<std::string>{"StopHW not found"}));
    EXPECT_EQ(run.WaitExit(), 0);
    const auto calls = run.Calls();
    EXPECT_EQ(std::vector<std::string>(calls.begin() + before, calls.end()),
              (std::vector<std::string>{"CloseHW()", "HideGUI()"}));
}
