// The knob poll's period as the controller device sees it: the times of the
// read requests over 10 seconds, from the real panel and from a plain
// SetTimer(20) poll in the same run.
#include <cstdio>
#include <string>

#include "ControllerScript.h"
#include "PanelRun.h"
#include "Stats.h"

using namespace panel_test;
namespace cs = ControllerScript;

namespace {

constexpr int SETTLE_MS = 1000;
constexpr int MEASURE_MS = 10000;
constexpr double MICROS_PER_MS = 1000.0;

Summary PollPeriod(const std::string& program)
{
    cs::ResetController();
    PanelRun run(Plugin::Complete(), {}, Controller::Library(), program);
    Sleep(SETTLE_MS);
    cs::ClearLog();
    Sleep(MEASURE_MS);
    std::vector<double> periods;
    uint64_t last = 0;
    for (const cs::Request& r : cs::ReadLog().value_or(std::vector<cs::Request>{})) {
        if (r.command[0] != cs::kReadCommand)
            continue;
        if (last)
            periods.push_back((r.timeMicroseconds - last) / MICROS_PER_MS);
        last = r.timeMicroseconds;
    }
    return Summarise(periods);
}

} // namespace

int main()
{
    if (!cs::StartControllerDevice()) {
        std::printf("the simulated controller did not start\n");
        return 1;
    }
    std::printf("knob poll period seen by the device\n");
    PrintRow("TARVO Timer1 (20 ms)", PollPeriod("TARVO.exe"));
    PrintRow("plain SetTimer(20) baseline", PollPeriod("PlainTimerPanel.exe"));
    cs::ResetController();
    return 0;
}
