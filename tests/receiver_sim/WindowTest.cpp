// The plug-in's own window: where it opens, what it shows, its LO button, and its
// life through ShowGUI, HideGUI and CloseHW.

#include "ExtioEntryPoints.h"
#include "NotificationRecorder.h"
#include "SimPlugin.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

constexpr wchar_t kButtonText[] = L"LO +1 kHz";
constexpr LONG kLeft = 870;
constexpr LONG kTop = 284;
constexpr DWORD kArrivalTimeoutMs = 2000;

BOOL CALLBACK collectText(HWND child, LPARAM texts)
{
    constexpr int kTextSize = 64;
    wchar_t text[kTextSize];
    GetWindowTextW(child, text, kTextSize);
    reinterpret_cast<std::vector<std::wstring>*>(texts)->push_back(text);
    return TRUE;
}

std::vector<std::wstring> childTexts(HWND window)
{
    std::vector<std::wstring> texts;
    EnumChildWindows(window, collectText, reinterpret_cast<LPARAM>(&texts));
    return texts;
}

bool shows(HWND window, const std::wstring& text)
{
    const auto texts = childTexts(window);
    return std::find(texts.begin(), texts.end(), text) != texts.end();
}

std::wstring hzText(const wchar_t* caption, int32_t freq)
{
    return std::wstring(caption) + L": " + std::to_wstring(freq) + L" Hz";
}

// The button moves the LO by 1 kHz also when EXTIO_SIM_HWLO fixed it.
TEST(ReceiverSimWindow, ShowsTheFrequenciesAndItsButtonMovesTheLoAndNotifies)
{
    struct Case {
        const wchar_t* fixedLo;
        int32_t loAfterSet;
    };
    const Case cases[] = {
        {nullptr, 7000001},
        {L"14200000", 14200000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.loAfterSet);
        recorder::reset();
        SimPlugin plugin(Env{{L"EXTIO_SIM_HWLO", c.fixedLo}});
        plugin.entry<extio_sim::SetCallbackFn>("SetCallback")(recorder::callback);
        plugin.entry<extio_sim::ShowGUIFn>("ShowGUI")();

        const HWND window = pluginWindow();
        ASSERT_NE(window, nullptr);
        EXPECT_TRUE(IsWindowVisible(window));
        RECT frame;
        GetWindowRect(window, &frame);
        EXPECT_EQ(frame.left, kLeft);
        EXPECT_EQ(frame.top, kTop);

        plugin.entry<extio_sim::SetHWLOFn>("SetHWLO")(7000001);
        plugin.entry<extio_sim::TuneChangedFn>("TuneChanged")(7000002);
        EXPECT_TRUE(shows(window, hzText(L"LO", c.loAfterSet)));
        EXPECT_TRUE(shows(window, hzText(L"Tuned", 7000002)));

        const HWND button = FindWindowExW(window, nullptr, L"BUTTON", kButtonText);
        ASSERT_NE(button, nullptr);
        SendMessageW(button, BM_CLICK, 0, 0);
        ASSERT_TRUE(recorder::waitForCount(1, kArrivalTimeoutMs));
        EXPECT_EQ(recorder::received()[0].status, extio_sim::kStatusLoChanged);
        EXPECT_EQ(recorder::received()[0].threadId, GetCurrentThreadId());
        const int32_t moved = c.loAfterSet + 1000;
        EXPECT_EQ(plugin.entry<extio_sim::GetHWLOFn>("GetHWLO")(), moved);
        EXPECT_TRUE(shows(window, hzText(L"LO", moved)));
        EXPECT_NE(plugin.logText().find("notify(101) thread=caller"), std::string::npos);

        plugin.entry<extio_sim::HideGUIFn>("HideGUI")();
        EXPECT_FALSE(IsWindowVisible(window));
        plugin.entry<extio_sim::ShowGUIFn>("ShowGUI")();
        EXPECT_EQ(pluginWindow(), window) << "ShowGUI again must show the same window";
        EXPECT_TRUE(IsWindowVisible(window));

        plugin.entry<extio_sim::CloseHWFn>("CloseHW")();
        EXPECT_FALSE(IsWindow(window));
    }
    recorder::reset();
}

}  // namespace
