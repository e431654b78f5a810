// Tuning by the knob: the real panel and the real controller library against
// the simulated controller device, scripted from here.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

#include "ControllerScript.h"
#include "PanelRun.h"

using namespace panel_test;
namespace cs = ControllerScript;
using Calls = std::vector<std::string>;

namespace {

constexpr int HANDLED_MS = 300;
constexpr uint8_t KNOB_AT_REST = 128; // count for reading 0
constexpr uint8_t NO_KEY = 63;
constexpr uint8_t LED_STATE_BYTE = 3;

uint8_t CountFor(int reading)
{
    return static_cast<uint8_t>(KNOB_AT_REST - reading);
}

// The controller's request log as command codes with, for LED commands, the state.
std::vector<std::string> DeviceRequests()
{
    std::vector<std::string> requests;
    for (const cs::Request& r : cs::ReadLog().value_or(std::vector<cs::Request>{})) {
        if (r.command[0] == cs::kLedCommand)
            requests.push_back("LED " + std::to_string(r.command[LED_STATE_BYTE]));
        else
            requests.push_back("read");
    }
    return requests;
}

size_t Reads(const std::vector<std::string>& requests)
{
    return std::count(requests.begin(), requests.end(), "read");
}

std::vector<std::string> LedRequests()
{
    auto requests = DeviceRequests();
    requests.erase(std::remove(requests.begin(), requests.end(), "read"), requests.end());
    return requests;
}

class KnobTuning : public testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(cs::StartControllerDevice()); }
    void SetUp() override { ASSERT_TRUE(cs::ResetController()); }
    void TearDown() override { cs::ResetController(); }
};

// A panel with the real controller library, up and idle after its start.
struct KnobPanel {
    explicit KnobPanel(const Plugin& plugin = Plugin::Complete(),
                       std::map<std::string, std::string> env = {})
        : run(plugin, std::move(env), Controller::Library())
    {
        EXPECT_TRUE(run.WaitMainWindow());
        Sleep(HANDLED_MS);
        run.NewCalls();
    }
    Calls Turn(int reading, uint8_t key = NO_KEY)
    {
        cs::SetReading(CountFor(reading), key);
        Sleep(HANDLED_MS);
        return run.NewCalls();
    }
    PanelRun run;
};

Calls Tuned(const std::string& freq, bool follower = true)
{
    Calls calls{"SetHWLO(" + freq + ")", "TuneChanged(" + freq + ")"};
    if (follower)
        calls.push_back("TuneChanged(" + freq + ")");
    return calls;
}

} // namespace

TEST_F(KnobTuning, StartLightsTheLedAfterTheBlinkAndClosePutsItOut)
{
    {
        KnobPanel p;
        EXPECT_EQ(LedRequests(), (std::vector<std::string>{"LED 1", "LED 0", "LED 1"}));
        EXPECT_GT(Reads(DeviceRequests()), 0u) << "polling";
        p.run.RequestClose();
        EXPECT_EQ(p.run.WaitExit(), 0);
    }
    EXPECT_EQ(LedRequests(), (std::vector<std::string>{"LED 1", "LED 0", "LED 1", "LED 0"}));
    const auto status = cs::GetStatus();
    ASSERT_TRUE(status);
    EXPECT_EQ(status->ledState, 0);
    EXPECT_EQ(status->openHandles, 0u) << "closed";
}

TEST_F(KnobTuning, EachNewReadingStepsTheFrequencyAndReachesTuneChangedTwice)
{
    KnobPanel p;
    EXPECT_EQ(p.run.NewCalls(), Calls{}) << "a first reading of 0 does nothing";
    struct Step {
        int reading;
        uint8_t key;
        Calls calls;
    };
    const Step steps[] = {
        {3, NO_KEY, Tuned("7000046")},
        {3, NO_KEY, {}},
        {0, NO_KEY, Tuned("7000046", false)}, // a step of 0 still tunes, nothing new to follow
        {-2, 62, Tuned("5000046")},           // 1 MHz a count
        {5, 61, Tuned("5500046")},            // 100 kHz a count
        {4, 60, Tuned("5500126")},            // any other key: the squared step
        {-3, 255, Tuned("5500081")},
        {128, NO_KEY, Tuned("5582001")},
        {-127, NO_KEY, Tuned("5501356")},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE("reading " + std::to_string(s.reading) + " key " + std::to_string(s.key));
        EXPECT_EQ(p.Turn(s.reading, s.key), s.calls);
    }
    EXPECT_EQ(p.run.Digits(), "005501356");
}

TEST_F(KnobTuning, TheKnobStillTunesWhenTheReceiverIsNotFoundOrNotOpened)
{
    {
        KnobPanel p(Plugin::Complete(), {{"EXTIO_SIM_INITHW", "0"}});
        EXPECT_EQ(p.Turn(3), Tuned("7000046"));
    }
    cs::ResetController();
    {
        // Start-up ended before the follower: the tick's own calls only.
        KnobPanel p(Plugin::Complete(), {{"EXTIO_SIM_OPENHW", "0"}});
        EXPECT_EQ(p.Turn(3), Tuned("45", false));
        EXPECT_EQ(p.run.Digits(), "000000045");
    }
}

TEST_F(KnobTuning, WithoutTheLibraryOneMemoLineAndTheControllerIsNeverTouched)
{
    {
        PanelRun run(Plugin::Complete());
        ASSERT_TRUE(run.WaitMainWindow());
        EXPECT_NE(run.MemoText().find("VORN_Encoder.dll for Brudo not found"), std::string::npos);
        Sleep(HANDLED_MS);
        run.RequestClose();
        EXPECT_EQ(run.DismissBoxesUntilExit(), Calls{});
    }
    EXPECT_EQ(DeviceRequests(), std::vector<std::string>{});
}

TEST_F(KnobTuning, OpenFailuresShowNothingAndDoNotPoll)
{
    struct Case {
        const char* name;
        Plugin plugin;
        void (*script)();
        std::vector<std::string> ledRequests;
        Calls boxes;
    };
    const Case cases[] = {
        {"device absent", Plugin::Complete(), [] { cs::SetPresent(false); }, {}, {}},
        {"LED on fails (-2)", Plugin::Complete(), [] { cs::FailNext(cs::kLedCommand, 1); },
         {"LED 1", "LED 0", "LED 1", "LED 0"}, {}},
        {"LED off fails (-3)", Plugin::Complete(), [] { cs::FailNext(cs::kLedCommand, 2); },
         {"LED 1", "LED 0", "LED 1", "LED 0"}, {}},
        // The start ends before the controller opens; its shutdown still runs
        // on the library that was never opened, quietly.
        {"plug-in absent", Plugin::None(), [] {}, {}, {"EXTIO_TARVO.DLL not found"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        cs::ResetController();
        c.script();
        {
            PanelRun run(c.plugin, {}, Controller::Library());
            Sleep(2 * HANDLED_MS);
            if (c.plugin.present)
                run.RequestClose();
            EXPECT_EQ(run.DismissBoxesUntilExit(), c.boxes);
            EXPECT_EQ(run.WaitExit(), 0);
        }
        const auto requests = DeviceRequests();
        EXPECT_EQ(Reads(requests), 0u) << "no polling";
        EXPECT_EQ(LedRequests(), c.ledRequests);
    }
}

TEST_F(KnobTuning, ACloseFailureIsReportedAndNoTickReachesTheClosedLibrary)
{
    PanelRun run(Plugin::Complete(), {{"ENCODER_DOUBLE_LOG", "encoder.log"}},
                 Controller::Double("fixture_encoder_close_fails.dll"));
    ASSERT_TRUE(run.WaitMainWindow());
    Sleep(HANDLED_MS);
    run.RequestClose();
    EXPECT_EQ(run.WaitBoxText(), "Error closing Brudo");
    Sleep(HANDLED_MS); // ticks go on while the box is open
    run.DismissBox();
    EXPECT_EQ(run.WaitExit(), 0);

    std::ifstream log(run.Folder() + "\\encoder.log");
    std::vector<std::string> calls;
    for (std::string line; std::getline(log, line);)
        calls.push_back(line);
    ASSERT_FALSE(calls.empty());
    EXPECT_EQ(calls.back(), "CloseConnection");
    EXPECT_GT(std::count(calls.begin(), calls.end(), "ReadValue"), 0) << "it was polled";
}

TEST_F(KnobTuning, ATickInsideAnEarlierTicksBoxDoesNotRunAndTheNextOneActs)
{
    KnobPanel p(Plugin::Lacking("SetHWLO"));
    cs::SetReading(CountFor(3), NO_KEY);
    EXPECT_EQ(p.run.WaitBoxText(), "SetHWLO not found");
    cs::SetReading(CountFor(7), NO_KEY);
    Sleep(HANDLED_MS);
    EXPECT_EQ(p.run.Boxes().size(), 1u) << "no stack of boxes while the knob turns";
    p.run.DismissBox();
    // The next tick reads 7 and acts: 7,000,046 + 245.
    EXPECT_EQ(p.run.WaitBoxText(), "SetHWLO not found");
    EXPECT_EQ(p.run.Digits(), "007000291");
    p.run.DismissBox();
}
