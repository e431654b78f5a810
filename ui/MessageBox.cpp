#include "MessageBox.h"

#include <windows.h>

#include <algorithm>

#include "Application.h"
#include "Form.h"

namespace ui {

const char MESSAGE_BOX_CLASS[] = "TarvoMessageBox";

namespace {

constexpr int MARGIN = 12;
constexpr int BUTTON_WIDTH = 75;
constexpr int BUTTON_HEIGHT = 23;
constexpr int MIN_TEXT_WIDTH = 120;
constexpr int MAX_TEXT_WIDTH = 480;

// Boxes can open on top of each other; the owner is enabled again only when
// the last one closes.
int openBoxes;

struct BoxState {
    bool dismissed = false;
};

LRESULT CALLBACK BoxProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    auto* state = reinterpret_cast<BoxState*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    switch (msg) {
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)
            state->dismissed = true;
        return 0;
    case WM_CLOSE:
        state->dismissed = true;
        return 0;
    case DM_GETDEFID:
        return MAKELRESULT(IDOK, DC_HASDEFID);
    default:
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
}

void RegisterBoxClass()
{
    static const bool registered = [] {
        WNDCLASSA wc{};
        wc.lpfnWndProc = BoxProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
        wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
        wc.lpszClassName = MESSAGE_BOX_CLASS;
        return RegisterClassA(&wc) != 0;
    }();
    (void)registered;
}

SIZE MeasureText(HFONT font, const std::string& text)
{
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    RECT r{0, 0, MAX_TEXT_WIDTH, 0};
    DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &r,
              DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    return {std::max<LONG>(r.right, MIN_TEXT_WIDTH), r.bottom};
}

HWND OwnerWindow()
{
    TForm* form = Application->MainForm;
    return form && IsWindow(form->Handle()) ? form->Handle() : nullptr;
}

} // namespace

void ShowMessage(const std::string& text)
{
    RegisterBoxClass();
    const auto font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    const SIZE textSize = MeasureText(font, text);

    const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
    const DWORD exStyle = WS_EX_DLGMODALFRAME;
    RECT frame{0, 0, textSize.cx + 2 * MARGIN, textSize.cy + BUTTON_HEIGHT + 3 * MARGIN};
    AdjustWindowRectEx(&frame, style, FALSE, exStyle);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    const int left = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
    const int top = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;

    HWND owner = OwnerWindow();
    HINSTANCE instance = GetModuleHandleA(nullptr);
    BoxState state;
    HWND box = CreateWindowExA(exStyle, MESSAGE_BOX_CLASS, Application->Title.c_str(), style, left,
                               top, width, height, owner, nullptr, instance, nullptr);
    if (!box)
        return;
    SetWindowLongPtrA(box, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&state));
    EnableDialogKeys(box);

    HWND label = CreateWindowExA(0, "STATIC", text.c_str(), WS_CHILD | WS_VISIBLE | SS_NOPREFIX,
                                 MARGIN, MARGIN, textSize.cx, textSize.cy, box, nullptr, instance,
                                 nullptr);
    HWND button = CreateWindowExA(0, "BUTTON", "OK",
                                  WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON,
                                  MARGIN + (textSize.cx - BUTTON_WIDTH) / 2,
                                  2 * MARGIN + textSize.cy, BUTTON_WIDTH, BUTTON_HEIGHT, box,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDOK)), instance,
                                  nullptr);
    SendMessageA(label, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    SendMessageA(button, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);

    if (owner && openBoxes++ == 0)
        EnableWindow(owner, FALSE);
    ShowWindow(box, SW_SHOW);
    SetFocus(button);

    Application->RunNestedLoop([&state] { return state.dismissed; });

    // Enable the owner before the box goes, so activation returns to it.
    if (owner && --openBoxes == 0)
        EnableWindow(owner, TRUE);
    DestroyWindow(box);
}

} // namespace ui
