// Start-up, close and the receiver link of the real program, driven from
// outside and checked against the simulated receiver's call log.
#include <gtest/gtest.h>

#include <algorithm>

#include "PanelRun.h"

using namespace panel_test;
using Calls = std::vector<std::string>;

namespace {

const Calls COMPLETE_START{"InitHW()",         "SetCallback(set)",    "OpenHW()",
                           "ShowGUI()",        "StartHW(7000001)",    "SetHWLO(7000001)",
                           "TuneChanged(7000001)", "TuneChanged(7000001)"};
const Calls CLOSE_CALLS{"StopHW()", "CloseHW()", "HideGUI()"};
constexpr int IDLE_MS = 300;

Calls After(const Calls& all, size_t n)
{
    return n < all.size() ? Calls(all.begin() + n, all.end()) : Calls{};
}

} // namespace

TEST(Lifecycle, CompleteStartRunsTheSequenceThenIdlesAndClosesInOrder)
{
    PanelRun run(Plugin::Complete(), {{"EXTIO_SIM_NAME", "SIMRX"}, {"EXTIO_SIM_MODEL", "MK2"}});
    ASSERT_TRUE(run.WaitMainWindow());
    ASSERT_TRUE(run.WaitCalls(COMPLETE_START.size()));
    Sleep(IDLE_MS);
    EXPECT_EQ(run.Calls(), COMPLETE_START) << "nothing more while idle";
    EXPECT_EQ(run.Caption(), "TARVO Control V1.6 -> SIMRX MK2");
    EXPECT_EQ(run.Digits(), "007000001");
    EXPECT_EQ(run.ListSelections(), (std::vector<int>{0, 7, 0, 0, 0, 0, 0}));
    EXPECT_TRUE(run.Boxes().empty());

    run.RequestClose();
    EXPECT_EQ(run.WaitExit(), 0);
    EXPECT_EQ(After(run.Calls(), COMPLETE_START.size()), CLOSE_CALLS);
}

TEST(Lifecycle, WithoutPluginOneBoxAndTheWindowNeverShows)
{
    PanelRun run(Plugin::None());
    EXPECT_EQ(run.WaitBoxText(), "EXTIO_TARVO.DLL not found");
    HWND window = run.MainWindow();
    EXPECT_TRUE(window == nullptr || !IsWindowVisible(window));
    run.DismissBox();
    EXPECT_EQ(run.DismissBoxesUntilExit(), Calls{}) << "exactly one box";
    EXPECT_EQ(run.WaitExit(), 0);
}

namespace {

struct FailureCase {
    const char* name;
    Plugin plugin;
    std::map<std::string, std::string> env;
    Calls startBoxes;
    Calls startCalls;
    bool receiverFound;      // memo line and digit boxes
    const char* digits;
    Calls closeBoxes;
    Calls closeCalls;
};

Calls Without(Calls calls, const std::string& name)
{
    calls.erase(std::remove_if(calls.begin(), calls.end(),
                               [&](const std::string& c) { return c.rfind(name + "(", 0) == 0; }),
                calls.end());
    return calls;
}

const Calls OPEN_FAILED{"InitHW()", "SetCallback(set)", "OpenHW()"};

const std::vector<FailureCase> FAILURES{
    {"InitHW false", Plugin::Complete(), {{"EXTIO_SIM_INITHW", "0"}}, {}, COMPLETE_START, false,
     "007000001", {}, {}},
    {"InitHW false, upper bits set", Plugin::Complete(), {{"EXTIO_SIM_INITHW", "0dirty"}}, {},
     COMPLETE_START, false, "007000001", {}, {}},
    {"OpenHW false", Plugin::Complete(), {{"EXTIO_SIM_OPENHW", "0"}}, {}, OPEN_FAILED, true,
     "000000000", {}, CLOSE_CALLS},
    {"OpenHW false, upper bits set", Plugin::Complete(), {{"EXTIO_SIM_OPENHW", "0dirty"}}, {},
     OPEN_FAILED, true, "000000000", {}, CLOSE_CALLS},
    {"InitHW missing", Plugin::Lacking("InitHW"), {}, {"InitHW not found"},
     Without(COMPLETE_START, "InitHW"), true, "007000001", {}, CLOSE_CALLS},
    {"GetHWLO missing", Plugin::Lacking("GetHWLO"), {}, {"GetHWLO not found"}, COMPLETE_START,
     true, "007000001", {}, CLOSE_CALLS},
    {"SetCallback missing", Plugin::Lacking("SetCallback"), {}, {},
     Without(COMPLETE_START, "SetCallback"), true, "007000001", {}, CLOSE_CALLS},
    {"OpenHW missing", Plugin::Lacking("OpenHW"), {}, {"OpenHW not found"},
     {"InitHW()", "SetCallback(set)"}, true, "000000000", {}, CLOSE_CALLS},
    {"ShowGUI missing", Plugin::Lacking("ShowGUI"), {}, {"ShowGUI not found"},
     Without(COMPLETE_START, "ShowGUI"), true, "007000001", {}, CLOSE_CALLS},
    {"StartHW missing", Plugin::Lacking("StartHW"), {}, {"StartHW not found"},
     Without(COMPLETE_START, "StartHW"), true, "007000001", {}, CLOSE_CALLS},
    {"SetHWLO missing", Plugin::Lacking("SetHWLO"), {}, {}, Without(COMPLETE_START, "SetHWLO"),
     true, "007000001", {}, CLOSE_CALLS},
    // Once at creation, once at the follower's first tick; the follower's
    // box does not repeat for the same change.
    {"TuneChanged missing", Plugin::Lacking("TuneChanged"), {},
     {"TuneChanged not found", "TuneChanged not found"}, Without(COMPLETE_START, "TuneChanged"),
     true, "007000001", {}, CLOSE_CALLS},
    {"StopHW missing", Plugin::Lacking("StopHW"), {}, {}, COMPLETE_START, true, "007000001",
     {"StopHW not found"}, Without(CLOSE_CALLS, "StopHW")},
    {"CloseHW missing", Plugin::Lacking("CloseHW"), {}, {}, COMPLETE_START, true, "007000001",
     {"CloseHW not found"}, Without(CLOSE_CALLS, "CloseHW")},
    {"HideGUI missing", Plugin::Lacking("HideGUI"), {}, {}, COMPLETE_START, true, "007000001",
     {"HideGUI not found"}, Without(CLOSE_CALLS, "HideGUI")},
};

} // namespace

TEST(Lifecycle, EachFailureShowsItsBoxesAndGoesOnAsItShould)
{
    for (const FailureCase& c : FAILURES) {
        SCOPED_TRACE(c.name);
        PanelRun run(c.plugin, c.env);
        EXPECT_EQ(run.SettleStart(), c.startBoxes);
        EXPECT_EQ(run.Calls(), c.startCalls);
        EXPECT_EQ(run.Digits(), c.digits);
        const bool memoLine = run.MemoText().find("TARVO NOT FOUND!") != std::string::npos;
        EXPECT_EQ(memoLine, !c.receiverFound);
        for (HWND box : run.DigitBoxes())
            EXPECT_EQ(IsWindowEnabled(box) != FALSE, c.receiverFound);

        const size_t before = run.Calls().size();
        run.RequestClose();
        EXPECT_EQ(run.DismissBoxesUntilExit(), c.closeBoxes);
        EXPECT_EQ(run.WaitExit(), 0);
        EXPECT_EQ(After(run.Calls(), before), c.closeCalls);
    }
}

TEST(Lifecycle, CaptionShowsAtMost19CharactersOfAnUnterminatedName)
{
    PanelRun run(Plugin::Complete(), {{"EXTIO_SIM_NAME", "ABCDEFGHIJKLMNOPQRSTUVWXYZ"},
                                      {"EXTIO_SIM_MODEL", "M"}});
    ASSERT_TRUE(run.WaitMainWindow());
    EXPECT_EQ(run.Caption(), "TARVO Control V1.6 -> ABCDEFGHIJKLMNOPQRS M");
}

TEST(Lifecycle, WithoutInitHWTheCaptionShowsEmptyNameAndModel)
{
    PanelRun run(Plugin::Lacking("InitHW"));
    EXPECT_EQ(run.SettleStart(), Calls{"InitHW not found"});
    EXPECT_EQ(run.Caption(), "TARVO Control V1.6 ->  ");
}
