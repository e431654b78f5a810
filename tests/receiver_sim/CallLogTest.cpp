// The call log and what the plug-in answers: one line per call with its arguments
// and result, the configured InitHW/OpenHW results, the name and model texts, and
// the LO that GetHWLO reports.

#include "ExtioEntryPoints.h"
#include "NotificationRecorder.h"
#include "SimPlugin.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

using Texts = std::vector<std::string>;

TEST(ReceiverSimLog, AppendsOneLinePerCallWithArgumentsAndResultInOrder)
{
    SimPlugin plugin;
    const std::string earlier = "123 line of an earlier run\n";
    {
        const HANDLE file = CreateFileW(plugin.logPath().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        DWORD written = 0;
        WriteFile(file, earlier.data(), static_cast<DWORD>(earlier.size()), &written, nullptr);
        CloseHandle(file);
    }

    char name[extio_sim::kDeviceTextSize];
    char model[extio_sim::kDeviceTextSize];
    int type = 0;
    EXPECT_TRUE(plugin.entry<extio_sim::InitHWFn>("InitHW")(name, model, &type));
    plugin.entry<extio_sim::SetCallbackFn>("SetCallback")(recorder::callback);
    EXPECT_TRUE(plugin.entry<extio_sim::OpenHWFn>("OpenHW")());
    plugin.entry<extio_sim::ShowGUIFn>("ShowGUI")();
    EXPECT_EQ(plugin.entry<extio_sim::StartHWFn>("StartHW")(7000001), 0);
    EXPECT_EQ(plugin.entry<extio_sim::SetHWLOFn>("SetHWLO")(7000001), 0);
    plugin.entry<extio_sim::TuneChangedFn>("TuneChanged")(7000001);
    EXPECT_EQ(plugin.entry<extio_sim::GetHWLOFn>("GetHWLO")(), 7000001);
    EXPECT_EQ(plugin.entry<extio_sim::SetHWLOFn>("SetHWLO")(-1), 0);
    EXPECT_EQ(plugin.entry<extio_sim::GetHWLOFn>("GetHWLO")(), -1);
    plugin.entry<extio_sim::TuneChangedFn>("TuneChanged")(2147483647);
    plugin.entry<extio_sim::HideGUIFn>("HideGUI")();
    plugin.entry<extio_sim::StopHWFn>("StopHW")();
    plugin.entry<extio_sim::CloseHWFn>("CloseHW")();
    plugin.entry<extio_sim::SetCallbackFn>("SetCallback")(nullptr);

    const std::string text = plugin.logText();
    ASSERT_EQ(text.compare(0, earlier.size(), earlier), 0) << "the log must be appended to:\n" << text;
    EXPECT_EQ(text.find('\r'), std::string::npos);

    const std::vector<LogLine> lines = plugin.logLines(earlier.size());
    const Texts expected = {
        "InitHW() -> 1",
        "SetCallback(set) -> void",
        "OpenHW() -> 1",
        "ShowGUI() -> void",
        "StartHW(7000001) -> 0",
        "SetHWLO(7000001) -> 0",
        "TuneChanged(7000001) -> void",
        "GetHWLO() -> 7000001",
        "SetHWLO(-1) -> 0",
        "GetHWLO() -> -1",
        "TuneChanged(2147483647) -> void",
        "HideGUI() -> void",
        "StopHW() -> void",
        "CloseHW() -> void",
        "SetCallback(null) -> void",
    };
    Texts texts;
    for (size_t i = 0; i < lines.size(); ++i) {
        texts.push_back(lines[i].text);
        if (i > 0) {
            EXPECT_LT(lines[i - 1].microseconds, lines[i].microseconds) << "at line " << i;
        }
    }
    EXPECT_EQ(texts, expected);
}

TEST(ReceiverSimLog, ReportsAndIgnoresSettingsItCannotRead)
{
    SimPlugin plugin(Env{
        {L"EXTIO_SIM_INITHW", L"yes"},
        {L"EXTIO_SIM_HWLO", L"14.2 MHz"},
        {L"EXTIO_SIM_NOTIFY", L"101@10,oops"},
        {L"EXTIO_SIM_PERIODIC", L"-5:100"},
        {L"EXTIO_SIM_THREAD", L"gui"},
    });
    char name[extio_sim::kDeviceTextSize];
    char model[extio_sim::kDeviceTextSize];
    int type = 0;
    EXPECT_TRUE(plugin.entry<extio_sim::InitHWFn>("InitHW")(name, model, &type));
    EXPECT_EQ(plugin.entry<extio_sim::GetHWLOFn>("GetHWLO")(), 0);

    const Texts expected = {
        "config(EXTIO_SIM_INITHW=yes) -> ignored",
        "config(EXTIO_SIM_HWLO=14.2 MHz) -> ignored",
        "config(EXTIO_SIM_NOTIFY=101@10,oops) -> ignored",
        "config(EXTIO_SIM_PERIODIC=-5:100) -> ignored",
        "config(EXTIO_SIM_THREAD=gui) -> ignored",
        "InitHW() -> 1",
        "GetHWLO() -> 0",
    };
    EXPECT_EQ(plugin.logTexts(), expected);
}

// A caller that reads the result as a 32-bit BOOL takes "0dirty" for true; one that
// reads the C++ bool sees false. The log shows the bool.
TEST(ReceiverSimResults, InitHWAndOpenHWReturnTheConfiguredTruthValue)
{
    constexpr uint32_t kDirtyFalse = 0xDEADBE00;
    struct Case {
        const wchar_t* value;
        bool asBool;
        uint32_t asRegister;
        const char* logged;
    };
    const Case cases[] = {
        {nullptr, true, 1, "1"},
        {L"1", true, 1, "1"},
        {L"0", false, 0, "0"},
        {L"0dirty", false, kDirtyFalse, "0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value != nullptr ? testing::PrintToString(std::wstring(c.value)) : "unset");
        SimPlugin plugin(Env{{L"EXTIO_SIM_INITHW", c.value}, {L"EXTIO_SIM_OPENHW", c.value}});
        char name[extio_sim::kDeviceTextSize];
        char model[extio_sim::kDeviceTextSize];
        int type = 0;
        EXPECT_EQ(plugin.entry<extio_sim::InitHWFn>("InitHW")(name, model, &type), c.asBool);
        EXPECT_EQ(plugin.entry<extio_sim::InitHWRegisterFn>("InitHW")(name, model, &type), c.asRegister);
        EXPECT_EQ(plugin.entry<extio_sim::OpenHWFn>("OpenHW")(), c.asBool);
        EXPECT_EQ(plugin.entry<extio_sim::OpenHWRegisterFn>("OpenHW")(), c.asRegister);

        const std::string initLine = std::string("InitHW() -> ") + c.logged;
        const std::string openLine = std::string("OpenHW() -> ") + c.logged;
        EXPECT_EQ(plugin.logTexts(), (Texts{initLine, initLine, openLine, openLine}));
    }
}

// InitHW writes the texts into the caller's 20-byte buffers: shorter ones with
// their NUL, longer ones cut to exactly 20 bytes without one, never past the buffer.
TEST(ReceiverSimDeviceText, InitHWFillsNameAndModelWithinTheirBuffers)
{
    constexpr char kCanary = '#';
    constexpr size_t kGuardedSize = extio_sim::kDeviceTextSize + 4;
    struct Text {
        const wchar_t* setting;
        std::string stored;  // the bytes InitHW must write, NUL included when it fits
    };
    struct Case {
        Text name;
        Text model;
    };
    const Case cases[] = {
        {{nullptr, std::string("TARVO-SIM", 10)}, {nullptr, std::string("RX-1", 5)}},
        {{L"", std::string(1, '\0')}, {L"M", std::string("M", 2)}},
        {{L"NINETEEN-CHARACTERS", std::string("NINETEEN-CHARACTERS", 20)},
         {L"TWENTY-CHARACTERS-XY", "TWENTY-CHARACTERS-XY"}},
        {{L"A-NAME-OF-TWENTY-FIVE-CHR", "A-NAME-OF-TWENTY-FIV"}, {L"0123456789012345678901", "01234567890123456789"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "name " << c.name.stored.c_str() << ", model " << c.model.stored.c_str());
        SimPlugin plugin(Env{{L"EXTIO_SIM_NAME", c.name.setting}, {L"EXTIO_SIM_MODEL", c.model.setting}});
        char name[kGuardedSize];
        char model[kGuardedSize];
        std::memset(name, kCanary, sizeof name);
        std::memset(model, kCanary, sizeof model);
        int type = 0;
        plugin.entry<extio_sim::InitHWFn>("InitHW")(name, model, &type);

        for (const auto& [buffer, text] : {std::pair{name, c.name}, std::pair{model, c.model}}) {
            EXPECT_EQ(std::string(buffer, text.stored.size()), text.stored);
            EXPECT_EQ(buffer[text.stored.size()], kCanary) << "written past the text";
        }
    }
}

TEST(ReceiverSimLo, GetHWLOFollowsSetHWLOUnlessTheLoIsFixed)
{
    struct Case {
        const wchar_t* fixedLo;
        int32_t before;
        int32_t set;
        int32_t after;
    };
    const Case cases[] = {
        {nullptr, 0, 14200000, 14200000},
        {L"14200000", 14200000, 7000001, 14200000},
        {L"-5", -5, 1, -5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "set " << c.set);
        SimPlugin plugin(Env{{L"EXTIO_SIM_HWLO", c.fixedLo}});
        const auto getLo = plugin.entry<extio_sim::GetHWLOFn>("GetHWLO");
        EXPECT_EQ(getLo(), c.before);
        EXPECT_EQ(plugin.entry<extio_sim::SetHWLOFn>("SetHWLO")(c.set), 0);
        EXPECT_EQ(getLo(), c.after);
        EXPECT_EQ(plugin.logTexts(), (Texts{
            "GetHWLO() -> " + std::to_string(c.before),
            "SetHWLO(" + std::to_string(c.set) + ") -> 0",
            "GetHWLO() -> " + std::to_string(c.after),
        }));
    }
}

}  // namespace
