// How long a new frequency takes to reach TuneChanged: from the plug-in's
// status-101 notification, and from a wheel step's SetHWLO, measured on the
// real panel and on a plain SetTimer(5) follower in the same run, from the
// simulated receiver's log.
#include <cstdio>
#include <string>

#include "PanelRun.h"
#include "Stats.h"

using namespace panel_test;

namespace {

// Notifications every 23 ms, so they fall at every phase of a 5 ms tick.
constexpr char NOTIFY_SCHEDULE[] = "23:6000";
constexpr int RUN_MS = 7000;
constexpr int WHEEL_STEPS = 150;
// The panel's 1 Hz digit box, and an empty spot of the baseline's window,
// which takes the wheel itself.
constexpr POINT PANEL_DIGIT_1HZ{150, 20};
constexpr POINT BASELINE_BACKGROUND{100, 150};
constexpr double MICROS_PER_MS = 1000.0;

bool StartsWith(const std::string& text, const char* prefix)
{
    return text.rfind(prefix, 0) == 0;
}

// For each trigger line, the time to the first response line after it.
std::vector<double> Delays(const std::vector<LogEntry>& log, const char* trigger,
                           const char* response)
{
    std::vector<double> delays;
    for (size_t i = 0; i < log.size(); ++i) {
        if (!StartsWith(log[i].call, trigger))
            continue;
        for (size_t j = i + 1; j < log.size(); ++j) {
            if (StartsWith(log[j].call, response)) {
                delays.push_back((log[j].micros - log[i].micros) / MICROS_PER_MS);
                break;
            }
        }
    }
    return delays;
}

Summary NotificationToTune(const std::string& program)
{
    PanelRun run(Plugin::Complete(),
                 {{"EXTIO_SIM_PERIODIC", NOTIFY_SCHEDULE}, {"EXTIO_SIM_THREAD", "caller"}},
                 Controller::None(), program);
    Sleep(RUN_MS);
    return Summarise(Delays(run.Log(), "notify(101)", "TuneChanged("));
}

Summary WheelStepToTune(const std::string& program, POINT focusAt)
{
    PanelRun run(Plugin::Complete(), {}, Controller::None(), program);
    HWND window = nullptr;
    WaitFor([&] {
        window = GetForegroundWindow();
        DWORD pid = 0;
        GetWindowThreadProcessId(window, &pid);
        return pid == run.ProcessId();
    });
    Click(window, focusAt.x, focusAt.y);
    for (int i = 0; i < WHEEL_STEPS; ++i)
        Wheel(i % 2 ? 1 : -1);
    Sleep(RUN_MS / 7);
    return Summarise(Delays(run.Log(), "SetHWLO(", "TuneChanged("));
}

} // namespace

int main()
{
    std::printf("status 101 -> TuneChanged\n");
    PrintRow("TARVO follower (5 ms)", NotificationToTune("TARVO.exe"));
    PrintRow("plain SetTimer(5) baseline", NotificationToTune("PlainTimerPanel.exe"));
    std::printf("wheel step (SetHWLO) -> TuneChanged\n");
    PrintRow("TARVO follower (5 ms)", WheelStepToTune("TARVO.exe", PANEL_DIGIT_1HZ));
    PrintRow("plain SetTimer(5) baseline",
             WheelStepToTune("PlainTimerPanel.exe", BASELINE_BACKGROUND));
    return 0;
}
