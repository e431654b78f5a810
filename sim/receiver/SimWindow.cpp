#include "SimWindow.h"

#include "CallLog.h"
#include "Notification.h"
#include "ReceiverState.h"
#include "ThisModule.h"

#include <windows.h>

#include <atomic>
#include <cwchar>

namespace {

constexpr wchar_t kClassName[] = L"TarvoReceiverSimWindow";
constexpr wchar_t kTitle[] = L"TARVO receiver (simulated)";
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
// Right of the panel window (left 638, width 216), so it never covers it.
constexpr int kLeft = 870;
constexpr int kTop = 284;
constexpr int kWidth = 240;
constexpr int kHeight = 140;

constexpr int kLoLabelId = 1;
constexpr int kTunedLabelId = 2;
constexpr int kMoveButtonId = 3;

struct ChildControl {
    const wchar_t* className;
    const wchar_t* text;
    int id;
    DWORD style;
    int x, y, width, height;
};

constexpr ChildControl kControls[] = {
    {L"STATIC", L"", kLoLabelId, SS_LEFT, 12, 10, 200, 20},
    {L"STATIC", L"", kTunedLabelId, SS_LEFT, 12, 34, 200, 20},
    {L"BUTTON", L"LO +1 kHz", kMoveButtonId, BS_PUSHBUTTON, 12, 62, 110, 26},
};

constexpr UINT kRefreshMessage = WM_APP;
constexpr int kLabelTextSize = 48;

std::atomic<HWND> g_window{nullptr};
// One posted refresh at a time, however often a worker moves the LO.
std::atomic<bool> g_refreshPosted{false};
bool g_classRegistered = false;

void setLabel(HWND window, int id, const wchar_t* caption, int32_t freq)
{
    wchar_t text[kLabelTextSize];
    std::swprintf(text, kLabelTextSize, L"%ls: %ld Hz", caption, static_cast<long>(freq));
    SetDlgItemTextW(window, id, text);
}

void updateLabels(HWND window)
{
    setLabel(window, kLoLabelId, L"LO", receiver_state::lo());
    setLabel(window, kTunedLabelId, L"Tuned", receiver_state::tuned());
}

void createControls(HWND window)
{
    const auto font = reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT));
    for (const ChildControl& control : kControls) {
        const HWND child = CreateWindowExW(0, control.className, control.text,
            WS_CHILD | WS_VISIBLE | control.style, control.x, control.y, control.width, control.height,
            window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(control.id)), thisModule(), nullptr);
        SendMessageW(child, WM_SETFONT, font, FALSE);
    }
}

bool isOnWindowThread(HWND window)
{
    return GetWindowThreadProcessId(window, nullptr) == GetCurrentThreadId();
}

LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        createControls(window);
        return 0;
    case WM_COMMAND:
        if (LOWORD(wParam) == kMoveButtonId && HIWORD(wParam) == BN_CLICKED) {
            moveLoAndNotify(NotifyThread::Caller);
            return 0;
        }
        break;
    case kRefreshMessage:
        g_refreshPosted = false;
        updateLabels(window);
        return 0;
    case WM_CLOSE:
        // The caller ends the window (CloseHW); closing it by hand only hides it.
        ShowWindow(window, SW_HIDE);
        return 0;
    case WM_DESTROY:
        g_window = nullptr;
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

bool registerClass()
{
    if (g_classRegistered) {
        return true;
    }
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = thisModule();
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kClassName;
    g_classRegistered = RegisterClassExW(&windowClass) != 0;
    return g_classRegistered;
}

HWND createWindow()
{
    if (!registerClass()) {
        call_log::write("RegisterClass() -> failed");
        return nullptr;
    }
    const HWND window = CreateWindowExW(0, kClassName, kTitle, kStyle, kLeft, kTop, kWidth, kHeight,
        nullptr, nullptr, thisModule(), nullptr);
    if (window == nullptr) {
        call_log::write("CreateWindow() -> failed");
    }
    g_window = window;
    return window;
}

}  // namespace

namespace sim_window {

void show()
{
    HWND window = g_window.load();
    if (window == nullptr) {
        window = createWindow();
    }
    if (window != nullptr) {
        updateLabels(window);
        ShowWindow(window, SW_SHOWNOACTIVATE);
    }
}

void hide()
{
    const HWND window = g_window.load();
    if (window != nullptr) {
        ShowWindow(window, SW_HIDE);
    }
}

void refresh()
{
    const HWND window = g_window.load();
    if (window == nullptr) {
        return;
    }
    if (isOnWindowThread(window)) {
        updateLabels(window);
    } else if (!g_refreshPosted.exchange(true) && !PostMessageW(window, kRefreshMessage, 0, 0)) {
        g_refreshPosted = false;
    }
}

void destroy()
{
    const HWND window = g_window.load();
    if (window != nullptr && isOnWindowThread(window)) {
        DestroyWindow(window);
    }
    if (g_classRegistered && UnregisterClassW(kClassName, thisModule())) {
        g_classRegistered = false;
    }
}

}  // namespace sim_window
