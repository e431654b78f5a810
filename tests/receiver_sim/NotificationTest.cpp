// Notifications: timed ones on the caller's thread (through its message loop) or a
// worker thread, synchronous ones inside SetCallback/OpenHW, the periodic LO steps,
// and what stopping and unloading does to them.

#include "ExtioEntryPoints.h"
#include "MessagePump.h"
#include "NotificationRecorder.h"
#include "SimPlugin.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using Texts = std::vector<std::string>;

constexpr DWORD kArrivalTimeoutMs = 5000;
constexpr DWORD kQuietMs = 200;
constexpr int32_t kStepHz = 1000;

struct ThreadCase {
    const wchar_t* setting;  // EXTIO_SIM_THREAD
    bool onCallerThread;
};

const ThreadCase kThreadCases[] = {
    {nullptr, true},
    {L"caller", true},
    {L"worker", false},
};

const char* logTag(const ThreadCase& c)
{
    return c.onCallerThread ? "thread=caller" : "thread=worker";
}

std::string traceName(const ThreadCase& c)
{
    return c.setting != nullptr ? testing::PrintToString(std::wstring(c.setting)) : "default thread";
}

void expectThread(const ThreadCase& c)
{
    for (const ReceivedNotification& n : recorder::received()) {
        EXPECT_EQ(n.threadId == GetCurrentThreadId(), c.onCallerThread) << "status " << n.status;
    }
}

const LogLine* findLine(const std::vector<LogLine>& lines, const std::string& text)
{
    const auto found = std::find_if(lines.begin(), lines.end(), [&](const LogLine& l) { return l.text == text; });
    return found == lines.end() ? nullptr : &*found;
}

size_t countNotifyLines(const std::vector<LogLine>& lines)
{
    return std::count_if(lines.begin(), lines.end(),
        [](const LogLine& l) { return l.text.rfind("notify(", 0) == 0; });
}

// Removes, without dispatching, the WM_TIMER messages of thread timers that arrive
// within durationMs: dispatching one whose TIMERPROC was unloaded would call into
// unmapped code (and the system would swallow the fault).
size_t takeThreadTimerMessages(DWORD durationMs)
{
    constexpr DWORD kPollMs = 5;
    size_t taken = 0;
    const ULONGLONG deadline = GetTickCount64() + durationMs;
    while (GetTickCount64() < deadline) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, kPollMs, QS_TIMER);
        MSG message;
        while (PeekMessageW(&message, nullptr, WM_TIMER, WM_TIMER, PM_REMOVE)) {
            taken += message.hwnd == nullptr ? 1 : 0;
        }
    }
    return taken;
}

class ReceiverSimNotify : public testing::Test {
protected:
    void SetUp() override { recorder::reset(); }
    void TearDown() override { recorder::reset(); }
};

// Listed notifications come in time order, each no earlier than its delay after
// SetCallback, and nothing arrives within SetCallback itself.
TEST_F(ReceiverSimNotify, ListedStatusesArriveInTimeOrderOnTheConfiguredThread)
{
    constexpr uint64_t kToleranceUs = 2000;  // timers round to whole milliseconds
    for (const ThreadCase& c : kThreadCases) {
        SCOPED_TRACE(traceName(c));
        recorder::reset();
        SimPlugin plugin(Env{{L"EXTIO_SIM_THREAD", c.setting}, {L"EXTIO_SIM_NOTIFY", L"7@60,101@20"}});
        plugin.entry<extio_sim::SetCallbackFn>("SetCallback")(recorder::callback);
        EXPECT_EQ(recorder::count(), 0u);

        ASSERT_TRUE(recorder::waitForCount(2, kArrivalTimeoutMs));
        const auto received = recorder::received();
        EXPECT_EQ(received[0].status, extio_sim::kStatusLoChanged);
        EXPECT_EQ(received[1].status, 7);
        expectThread(c);
        plugin.entry<extio_sim::StopHWFn>("StopHW")();

        const auto lines = plugin.logLines();
        const std::string tag = logTag(c);
        const LogLine* set = findLine(lines, "SetCallback(set) -> void");
        const LogLine* first = findLine(lines, "notify(101) " + tag);
        const LogLine* second = findLine(lines, "notify(7) " + tag);
        ASSERT_TRUE(set && first && second) << plugin.logText();
        EXPECT_GE(first->microseconds + kToleranceUs, set->microseconds + 20000);
        EXPECT_GE(second->microseconds + kToleranceUs, set->microseconds + 60000);
        EXPECT_LT(first->microseconds, second->microseconds);
    }
}

TEST_F(ReceiverSimNotify, NotifyInCallArrivesBeforeThatCallReturns)
{
    struct Case {
        const wchar_t* call;
        size_t afterSetCallback;
        Texts log;
    };
    const Case cases[] = {
        {L"SetCallback", 1, {"SetCallback(set) -> void", "notify(101) thread=caller", "OpenHW() -> 1"}},
        {L"OpenHW", 0, {"SetCallback(set) -> void", "OpenHW() -> 1", "notify(101) thread=caller"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.call)));
        recorder::reset();
        SimPlugin plugin(Env{{L"EXTIO_SIM_NOTIFY_IN", c.call}});
        plugin.entry<extio_sim::SetCallbackFn>("SetCallback")(recorder::callback);
        EXPECT_EQ(recorder::count(), c.afterSetCallback);
        EXPECT_TRUE(plugin.entry<extio_sim::OpenHWFn>("OpenHW")());
        ASSERT_EQ(recorder::count(), 1u);
        EXPECT_EQ(recorder::received()[0].status, extio_sim::kStatusLoChanged);
        EXPECT_EQ(recorder::received()[0].threadId, GetCurrentThreadId());
        EXPECT_EQ(plugin.logTexts(), c.log);
    }
}

// Each step moves the LO by 1 kHz before announcing it; after StopHW returns no
// step follows, and the plug-in can be unloaded (no thread keeps it).
TEST_F(ReceiverSimNotify, PeriodicStepsMoveTheLoUntilStopHW)
{
    constexpr int32_t kStartLo = 7000000;
    for (const ThreadCase& c : kThreadCases) {
        SCOPED_TRACE(traceName(c));
        recorder::reset();
        SimPlugin plugin(Env{{L"EXTIO_SIM_THREAD", c.setting}, {L"EXTIO_SIM_PERIODIC", L"20:0"}});
        plugin.entry<extio_sim::SetCallbackFn>("SetCallback")(recorder::callback);
        plugin.entry<extio_sim::SetHWLOFn>("SetHWLO")(kStartLo);
        plugin.entry<extio_sim::StartHWFn>("StartHW")(kStartLo);
        ASSERT_TRUE(recorder::waitForCount(3, kArrivalTimeoutMs));
        plugin.entry<extio_sim::StopHWFn>("StopHW")();

        const size_t steps = recorder::count();
        pumpFor(kQuietMs);
        EXPECT_EQ(recorder::count(), steps) << "a step after StopHW";
        EXPECT_EQ(plugin.entry<extio_sim::GetHWLOFn>("GetHWLO")(), kStartLo + kStepHz * static_cast<int32_t>(steps));
        expectThread(c);

        const auto lines = plugin.logLines();
        EXPECT_EQ(countNotifyLines(lines), steps);
        const LogLine* stop = findLine(lines, "StopHW() -> void");
        ASSERT_NE(stop, nullptr);
        for (const LogLine& line : lines) {
            if (line.text.rfind("notify(", 0) == 0) {
                EXPECT_EQ(line.text, std::string("notify(101) ") + logTag(c));
                EXPECT_LT(line.microseconds, stop->microseconds);
            }
        }
        plugin.unload();
        EXPECT_FALSE(pluginLoaded());
    }
}

// Steps fall at period, 2 * period, ... within the duration; a period of 0 floods
// (a worker as fast as it can, a thread timer at its minimum interval).
TEST_F(ReceiverSimNotify, PeriodicStepsEndByThemselvesAfterTheDuration)
{
    struct Case {
        const wchar_t* thread;
        const wchar_t* periodic;
        DWORD durationMs;
        size_t minSteps;
        size_t maxSteps;
    };
    const Case cases[] = {
        {L"caller", L"50:275", 275, 5, 5},
        {L"worker", L"50:275", 275, 5, 5},
        {L"caller", L"0:200", 200, 5, 25},
        {L"worker", L"0:200", 200, 100, SIZE_MAX},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.thread) + L" " + c.periodic));
        recorder::reset();
        SimPlugin plugin(Env{{L"EXTIO_SIM_THREAD", c.thread}, {L"EXTIO_SIM_PERIODIC", c.periodic}});
        plugin.entry<extio_sim::SetCallbackFn>("SetCallback")(recorder::callback);
        plugin.entry<extio_sim::StartHWFn>("StartHW")(7000000);
        pumpFor(c.durationMs + kQuietMs);
        const size_t steps = recorder::count();
        pumpFor(kQuietMs);
        EXPECT_EQ(recorder::count(), steps) << "still stepping after the duration";
        EXPECT_GE(steps, c.minSteps);
        EXPECT_LE(steps, c.maxSteps);
        EXPECT_EQ(plugin.entry<extio_sim::GetHWLOFn>("GetHWLO")(), kStepHz * static_cast<int32_t>(steps));
        plugin.entry<extio_sim::StopHWFn>("StopHW")();
    }
}

// A callback on the worker that SendMessage()s to the thread calling StopHW blocks
// until that thread handles sent messages: StopHW must do so while it joins.
TEST_F(ReceiverSimNotify, StopHWJoinsAWorkerWhoseCallbackSendsToTheCaller)
{
    constexpr DWORD kStopWithinMs = 1000;  // well below a give-up timeout
    const HWND target = CreateWindowExW(0, L"STATIC", nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    ASSERT_NE(target, nullptr);
    recorder::setReaction([target] { SendMessageW(target, WM_NULL, 0, 0); });

    SimPlugin plugin(Env{{L"EXTIO_SIM_THREAD", L"worker"}, {L"EXTIO_SIM_PERIODIC", L"10:0"}});
    plugin.entry<extio_sim::SetCallbackFn>("SetCallback")(recorder::callback);
    plugin.entry<extio_sim::StartHWFn>("StartHW")(7000000);
    ASSERT_TRUE(recorder::waitForCount(1, kArrivalTimeoutMs));
    // Not handling messages now: the worker's next callback blocks in SendMessage.
    Sleep(5 * 10);

    const ULONGLONG start = GetTickCount64();
    plugin.entry<extio_sim::StopHWFn>("StopHW")();
    EXPECT_LT(GetTickCount64() - start, kStopWithinMs);

    const size_t steps = recorder::count();
    pumpFor(kQuietMs);
    EXPECT_EQ(recorder::count(), steps);
    EXPECT_GE(steps, 2u) << "the blocked callback never completed";
    EXPECT_EQ(plugin.logText().find("timeout"), std::string::npos) << plugin.logText();
    DestroyWindow(target);
}

// Freed without StopHW or CloseHW (as after a failed InitHW): the thread timers and
// the window go with the plug-in, so nothing calls into unmapped code afterwards.
TEST_F(ReceiverSimNotify, FreeingTheCallerThreadPluginEndsItsTimersAndWindow)
{
    SimPlugin plugin(Env{{L"EXTIO_SIM_NOTIFY", L"101@30"}, {L"EXTIO_SIM_PERIODIC", L"20:0"}});
    plugin.entry<extio_sim::SetCallbackFn>("SetCallback")(recorder::callback);
    plugin.entry<extio_sim::ShowGUIFn>("ShowGUI")();
    plugin.entry<extio_sim::StartHWFn>("StartHW")(7000000);
    plugin.unload();
    EXPECT_FALSE(pluginLoaded());

    EXPECT_EQ(takeThreadTimerMessages(kQuietMs), 0u) << "a thread timer outlived the plug-in";
    EXPECT_EQ(recorder::count(), 0u);
    EXPECT_EQ(pluginWindow(), nullptr);
}

// A worker still running when the caller frees the plug-in keeps it loaded (and
// keeps calling back) until its plan ends; then the plug-in unloads by itself.
TEST_F(ReceiverSimNotify, AWorkerKeepsThePluginLoadedUntilItEnds)
{
    constexpr DWORD kUnloadTimeoutMs = 3000;
    SimPlugin plugin(Env{{L"EXTIO_SIM_THREAD", L"worker"}, {L"EXTIO_SIM_PERIODIC", L"20:300"}});
    plugin.entry<extio_sim::SetCallbackFn>("SetCallback")(recorder::callback);
    plugin.entry<extio_sim::StartHWFn>("StartHW")(7000000);
    plugin.unload();
    EXPECT_TRUE(pluginLoaded());

    const size_t atUnload = recorder::count();
    EXPECT_TRUE(recorder::waitForCount(atUnload + 1, kArrivalTimeoutMs));
    EXPECT_TRUE(pumpUntil([] { return !pluginLoaded(); }, kUnloadTimeoutMs));
}

}  // namespace
