// Notifications from the plug-in: on the UI thread, from a thread of the
// plug-in's own, during start-up, and as a flood.
#include <gtest/gtest.h>

#include <algorithm>

#include "PanelRun.h"
// After windows.h, which PanelRun.h brings.
#include <psapi.h>

using namespace panel_test;

namespace {

constexpr char HWLO[] = "14200000";
constexpr char HWLO_MINUS_ONE[] = "014199999";
constexpr int QUIET_MS = 600;

bool Contains(const std::vector<std::string>& calls, const std::string& call)
{
    return std::find(calls.begin(), calls.end(), call) != calls.end();
}

struct NotifyCase {
    const char* thread;
    const char* status;
    bool changes;
};

} // namespace

TEST(Notification, Status101TakesTheOscillatorOverOnEitherThreadOthersChangeNothing)
{
    const NotifyCase cases[] = {
        {"caller", "101", true}, {"worker", "101", true}, {"caller", "7", false},
        {"worker", "100", false}};
    for (const NotifyCase& c : cases) {
        SCOPED_TRACE(std::string(c.thread) + " " + c.status);
        PanelRun run(Plugin::Complete(), {{"EXTIO_SIM_HWLO", HWLO},
                                          {"EXTIO_SIM_THREAD", c.thread},
                                          {"EXTIO_SIM_NOTIFY", std::string(c.status) + "@500"}});
        ASSERT_TRUE(run.WaitMainWindow());
        if (c.changes) {
            EXPECT_TRUE(WaitFor([&] { return run.Digits() == HWLO_MINUS_ONE; }));
            EXPECT_TRUE(WaitFor([&] { return Contains(run.Calls(), "TuneChanged(14199999)"); }));
        } else {
            ASSERT_TRUE(WaitFor([&] { return run.Log().size() > run.Calls().size(); }))
                << "the notification was sent";
            Sleep(QUIET_MS);
            EXPECT_EQ(run.Digits(), "007000001");
            EXPECT_FALSE(Contains(run.Calls(), "GetHWLO()"));
        }
        EXPECT_TRUE(run.Boxes().empty());
        run.RequestClose();
        EXPECT_EQ(run.WaitExit(), 0);
    }
}

TEST(Notification, SentInsideSetCallbackOrOpenHWFindsTheWindow)
{
    for (const char* during : {"SetCallback", "OpenHW"}) {
        SCOPED_TRACE(during);
        PanelRun run(Plugin::Complete(), {{"EXTIO_SIM_HWLO", HWLO}, {"EXTIO_SIM_NOTIFY_IN", during}});
        ASSERT_TRUE(run.WaitMainWindow());
        ASSERT_TRUE(WaitFor([&] { return Contains(run.Calls(), "TuneChanged(7000001)"); }));
        EXPECT_TRUE(Contains(run.Calls(), "GetHWLO()")) << "handled at once";
        // The start frequency is set after OpenHW, so it wins.
        EXPECT_EQ(run.Digits(), "007000001");
        run.RequestClose();
        EXPECT_EQ(run.WaitExit(), 0);
    }
}

namespace {

SIZE_T PrivateBytes(HANDLE process)
{
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof counters;
    K32GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                            sizeof counters);
    return counters.PrivateUsage;
}

constexpr int FLOOD_MS = 10000;
constexpr int PROBE_EVERY_MS = 1000;
constexpr UINT RESPONSE_LIMIT_MS = 1000;
constexpr SIZE_T MEMORY_GROWTH_LIMIT = 4 * 1024 * 1024;

} // namespace

TEST(Notification, AFloodFromAPluginThreadLeavesThePanelResponsiveAndFlat)
{
    PanelRun run(Plugin::Complete(), {{"EXTIO_SIM_THREAD", "worker"},
                                      {"EXTIO_SIM_PERIODIC", "0:" + std::to_string(FLOOD_MS)}});
    HWND window = run.WaitMainWindow();
    ASSERT_TRUE(window);
    Sleep(PROBE_EVERY_MS);
    const SIZE_T baseline = PrivateBytes(run.Process());
    for (int elapsed = PROBE_EVERY_MS; elapsed < FLOOD_MS; elapsed += PROBE_EVERY_MS) {
        DWORD_PTR ignored;
        EXPECT_TRUE(SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, RESPONSE_LIMIT_MS,
                                        &ignored))
            << "at " << elapsed << " ms";
        Sleep(PROBE_EVERY_MS);
    }
    EXPECT_LT(PrivateBytes(run.Process()), baseline + MEMORY_GROWTH_LIMIT);

    // After the flood the follower has forwarded the last oscillator value.
    Sleep(QUIET_MS);
    std::string lastLo, lastTuned;
    for (const LogEntry& entry : run.Log()) {
        if (entry.call == "GetHWLO()")
            lastLo = entry.result;
        if (entry.call.rfind("TuneChanged(", 0) == 0)
            lastTuned = entry.call;
    }
    ASSERT_FALSE(lastLo.empty()) << "the flood reached the panel";
    EXPECT_EQ(lastTuned, "TuneChanged(" + std::to_string(std::stoll(lastLo) - 1) + ")");
    run.RequestClose();
    EXPECT_EQ(run.WaitExit(), 0);
}
