// The window as the user sees it: every control where the layout puts it,
// the colours of the display band, and the focus at first activation.
#include <gtest/gtest.h>

#include "PanelRun.h"

using namespace panel_test;

namespace {

struct Place {
    const char* name;
    int left, top, width, height;
};

// Tab order: lists, memo, Edit10MHz..Edit1Hz, Edit100MHz; labels last.
const Place LAYOUT[] = {
    {"List10MHz", 24, 40, 17, 137},  {"List1MHz", 40, 40, 17, 137},
    {"List100kHz", 56, 40, 17, 137}, {"List10kHz", 72, 40, 17, 137},
    {"List1kHz", 88, 40, 17, 137},   {"List100Hz", 112, 40, 17, 137},
    {"List10Hz", 128, 40, 17, 137},  {"Memo1", 8, 184, 193, 65},
    {"Edit10MHz", 24, 8, 17, 33},    {"Edit1MHz", 40, 8, 17, 33},
    {"Edit100kHz", 56, 8, 17, 33},   {"Edit10kHz", 72, 8, 17, 33},
    {"Edit1kHz", 88, 8, 17, 33},     {"Edit100Hz", 112, 8, 17, 33},
    {"Edit10Hz", 128, 8, 17, 33},    {"Edit1Hz", 144, 8, 17, 33},
    {"Edit100MHz", 8, 8, 17, 33},    {"Label1", 104, 8, 6, 32},
    {"Label2", 160, 8, 46, 32},
};

RECT ClientRectOf(HWND child, HWND parent)
{
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

COLORREF PixelAt(HWND window, int x, int y)
{
    POINT p{x, y};
    ClientToScreen(window, &p);
    HDC screen = GetDC(nullptr);
    const COLORREF colour = GetPixel(screen, p.x, p.y);
    ReleaseDC(nullptr, screen);
    return colour;
}

void ExpectLayout(const PanelRun& run)
{
    const std::vector<HWND> children = run.Children();
    ASSERT_EQ(children.size(), std::size(LAYOUT));
    for (size_t i = 0; i < children.size(); ++i) {
        const Place& p = LAYOUT[i];
        const RECT r = ClientRectOf(children[i], run.MainWindow());
        EXPECT_EQ(r.left, p.left) << p.name;
        EXPECT_EQ(r.top, p.top) << p.name;
        EXPECT_EQ(r.right - r.left, p.width) << p.name;
        EXPECT_EQ(r.bottom - r.top, p.height) << p.name;
    }
}

SIZE FrameSize(HWND window)
{
    RECT frame;
    GetWindowRect(window, &frame);
    return {frame.right - frame.left, frame.bottom - frame.top};
}

} // namespace

TEST(Layout, ControlsSitWhereTheLayoutPutsThem)
{
    PanelRun run(Plugin::Complete());
    HWND window = run.WaitMainWindow();
    ASSERT_TRUE(window);
    RECT frame;
    GetWindowRect(window, &frame);
    EXPECT_EQ(frame.left, 638);
    EXPECT_EQ(frame.top, 284);
    EXPECT_EQ(FrameSize(window).cx, 216);
    EXPECT_EQ(FrameSize(window).cy, 310);
    ExpectLayout(run);
}

TEST(Layout, ResizingStopsAtTheMinimumAndMovesNoControl)
{
    constexpr int SHRINK = 150;
    constexpr int GROW = 100;
    PanelRun run(Plugin::Complete());
    HWND window = run.WaitMainWindow();
    ASSERT_TRUE(window);
    RECT frame;
    GetWindowRect(window, &frame);
    const POINT corner{frame.right - 2, frame.bottom - 2};
    DragOnScreen(corner, {corner.x - SHRINK, corner.y - SHRINK});
    EXPECT_EQ(FrameSize(window).cx, 216);
    EXPECT_EQ(FrameSize(window).cy, 230);
    ExpectLayout(run);

    GetWindowRect(window, &frame);
    const POINT smaller{frame.right - 2, frame.bottom - 2};
    DragOnScreen(smaller, {smaller.x + GROW, smaller.y + GROW});
    EXPECT_EQ(FrameSize(window).cx, 216 + GROW);
    EXPECT_EQ(FrameSize(window).cy, 230 + GROW);
    ExpectLayout(run);
}

TEST(Layout, DisplayBandListsAndMessageAreaShowTheirColours)
{
    PanelRun run(Plugin::Complete());
    HWND window = run.WaitMainWindow();
    ASSERT_TRUE(window);
    Sleep(300); // let it paint
    const COLORREF band = GetSysColor(COLOR_SCROLLBAR);
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    const COLORREF field = GetSysColor(COLOR_WINDOW);
    // Band from x 8 to 206, broken only between the point and Edit100Hz.
    for (int x : {9, 60, 105, 150, 170, 204})
        EXPECT_EQ(PixelAt(window, x, 10), band) << "band at x " << x;
    EXPECT_EQ(PixelAt(window, 111, 10), face) << "gap after the point";
    EXPECT_EQ(PixelAt(window, 4, 20), face) << "window left of the band";
    // A list's lower items and the memo's inside are field-coloured.
    EXPECT_EQ(PixelAt(window, 30, 170), field) << "List10MHz";
    EXPECT_EQ(PixelAt(window, 100, 200), field) << "Memo1";
}

TEST(Layout, FirstActivationFocusesList10MHz)
{
    PanelRun run(Plugin::Complete());
    ASSERT_TRUE(run.WaitMainWindow());
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    ASSERT_TRUE(WaitFor([&] {
        return GetGUIThreadInfo(GetWindowThreadProcessId(run.MainWindow(), nullptr), &info) &&
               info.hwndFocus != nullptr;
    }));
    EXPECT_EQ(info.hwndFocus, run.Lists().front());
}
