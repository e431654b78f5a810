// The baseline the timers are measured against: the same receiver link with a
// plain SetTimer(5) follower and, when the controller library lies beside it,
// a plain SetTimer(20) knob poll, as a straightforward panel would have them.
#include <windows.h>

#include <cstdint>
#include <string>

#include "EncoderEntries.h"
#include "EntryPoint.h"
#include "ExtIO.h"
#include "Frequency.h"

namespace {

constexpr int32_t START_FREQ = 7000001;
constexpr int STATUS_LO_CHANGED = 101;
constexpr UINT FOLLOWER_MS = 5;
constexpr UINT_PTR FOLLOWER_ID = 1;
constexpr UINT POLL_MS = 20;
constexpr UINT_PTR POLL_ID = 2;
constexpr int32_t WHEEL_STEP = 1;

constexpr int DIGITS = 9;
constexpr int DIGIT_WIDTH = 17;
constexpr int DIGIT_HEIGHT = 33;

HMODULE plugin;
HMODULE encoderLibrary;
int32_t freq;
int32_t lastTuned;
HWND digitBoxes[DIGITS];

// The same display work as the panel's, so the comparison is of the followers.
void Draw()
{
    const std::string text = frequency::DisplayText(freq);
    for (int i = 0; i < DIGITS; ++i)
        SetWindowTextA(digitBoxes[i], std::string(1, text[i]).c_str());
}

void __cdecl OnNotification(int, int status, float, void*)
{
    if (status != STATUS_LO_CHANGED)
        return;
    freq = FindEntry<extio::GetHWLO>(plugin)() - 1;
    Draw();
}

LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_TIMER:
        if (wParam == POLL_ID) {
            int value = 0, keys = 0;
            FindEntry<encoder::ReadValue>(encoderLibrary)(&value, &keys);
            return 0;
        }
        if (freq != lastTuned) {
            FindEntry<extio::TuneChanged>(plugin)(freq);
            lastTuned = freq;
        }
        return 0;
    case WM_MOUSEWHEEL:
        freq += static_cast<int32_t>(static_cast<uint32_t>(wParam)) > 0 ? WHEEL_STEP : -WHEEL_STEP;
        Draw();
        FindEntry<extio::SetHWLO>(plugin)(freq);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    plugin = LoadLibraryA("EXTIO_TARVO.DLL");
    if (!plugin)
        return 1;
    WNDCLASSA wc{};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = instance;
    wc.lpszClassName = "PlainTimerPanel";
    RegisterClassA(&wc);
    HWND window = CreateWindowExA(0, wc.lpszClassName, "Plain timer panel", WS_OVERLAPPEDWINDOW,
                                  638, 284, 216, 310, nullptr, nullptr, instance, nullptr);
    for (int i = 0; i < DIGITS; ++i)
        digitBoxes[i] = CreateWindowExA(0, "EDIT", "0", WS_CHILD | WS_VISIBLE, 8 + i * (DIGIT_WIDTH - 1),
                                        8, DIGIT_WIDTH, DIGIT_HEIGHT, window, nullptr, instance,
                                        nullptr);
    ShowWindow(window, SW_SHOWNORMAL);

    FindEntry<extio::SetCallback>(plugin)(OnNotification);
    FindEntry<extio::OpenHW>(plugin)();
    freq = START_FREQ;
    FindEntry<extio::StartHW>(plugin)(freq);
    FindEntry<extio::SetHWLO>(plugin)(freq);
    FindEntry<extio::TuneChanged>(plugin)(freq);
    SetTimer(window, FOLLOWER_ID, FOLLOWER_MS, nullptr);
    encoderLibrary = LoadLibraryA("VORN_Encoder.dll");
    if (encoderLibrary && FindEntry<encoder::OpenConnection>(encoderLibrary)() == 1)
        SetTimer(window, POLL_ID, POLL_MS, nullptr);

    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}
