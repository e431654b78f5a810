#include "Form.h"

#include <algorithm>
#include <climits>

#include "Application.h"
#include "Exception.h"

namespace ui {

namespace {

constexpr char FORM_CLASS[] = "TarvoForm";

int ScreenDpi()
{
    HDC dc = GetDC(nullptr);
    const int dpi = GetDeviceCaps(dc, LOGPIXELSY);
    ReleaseDC(nullptr, dc);
    return dpi;
}

} // namespace

TForm::TForm(const TFormLayout& layout) : layout_(layout) {}

void TForm::AddControl(TControl* control)
{
    controls_.push_back(control);
}

void TForm::Create()
{
    dpi_ = ScreenDpi();
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA wc{};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    wc.lpszClassName = FORM_CLASS;
    if (layout_.IconResource)
        wc.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(layout_.IconResource));
    RegisterClassA(&wc);

    const TBounds& b = layout_.Bounds;
    handle_ = CreateWindowExA(0, FORM_CLASS, layout_.Caption, WS_OVERLAPPEDWINDOW, Scale(b.Left),
                              Scale(b.Top), Scale(b.Width), Scale(b.Height), nullptr, nullptr,
                              instance, this);
    if (!handle_)
        throw Exception("The main window could not be created");
    EnableDialogKeys(handle_);
    SendMessageA(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(FontHandle(layout_.Font, dpi_)),
                 FALSE);

    // Tab stops first, in tab order, then the rest as declared: window order
    // is tab order.
    std::vector<TControl*> order = controls_;
    std::stable_sort(order.begin(), order.end(), [](const TControl* a, const TControl* b) {
        auto rank = [](const TControl* c) {
            return c->Layout().TabOrder == NO_TAB_STOP ? INT_MAX : c->Layout().TabOrder;
        };
        return rank(a) < rank(b);
    });
    for (TControl* control : order)
        control->CreateHandle(handle_, dpi_);

    if (OnCreate)
        Guarded([this] { OnCreate(this); });
}

void TForm::Show()
{
    ShowWindow(handle_, SW_SHOWNORMAL);
    UpdateWindow(handle_);
}

void TForm::SetCaption(const std::string& caption)
{
    SetWindowTextA(handle_, caption.c_str());
}

std::string TForm::Caption() const
{
    char text[256] = {};
    GetWindowTextA(handle_, text, sizeof text);
    return text;
}

void TForm::Close()
{
    if (closing_)
        return;
    closing_ = true;
    TCloseAction action = TCloseAction::caFree;
    if (OnClose)
        Guarded([&] { OnClose(this, action); });
    if (action == TCloseAction::caNone) {
        closing_ = false;
        return;
    }
    ShowWindow(handle_, SW_HIDE);
    if (Application->MainForm == this)
        DestroyWindow(handle_);
}

LRESULT CALLBACK TForm::WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
        auto* created = static_cast<TForm*>(create->lpCreateParams);
        created->handle_ = hwnd;
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(created));
    }
    auto* form = reinterpret_cast<TForm*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (!form)
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    TMessage message{msg, wParam, lParam, 0};
    bool handled = false;
    Guarded([&] {
        form->Dispatch(message);
        handled = true;
    });
    return handled ? message.Result : DefWindowProcA(hwnd, msg, wParam, lParam);
}

void TForm::Dispatch(TMessage& message)
{
    DefaultHandler(message);
}

TControl* TForm::ControlOf(HWND hwnd) const
{
    for (TControl* control : controls_)
        if (control->Handle() == hwnd)
            return control;
    return nullptr;
}

void TForm::RestoreFocus()
{
    if (lastFocus_ && IsWindow(lastFocus_) && IsWindowEnabled(lastFocus_)) {
        ::SetFocus(lastFocus_);
        return;
    }
    HWND first = GetNextDlgTabItem(handle_, nullptr, FALSE);
    if (first)
        ::SetFocus(first);
}

void TForm::DefaultHandler(TMessage& m)
{
    switch (m.Msg) {
    case WM_CLOSE:
        Close();
        return;
    case WM_DESTROY:
        if (Application->MainForm == this)
            Application->Terminate();
        return;
    case WM_ACTIVATE:
        if (LOWORD(m.WParam) == WA_INACTIVE) {
            HWND focus = GetFocus();
            if (focus && IsChild(handle_, focus))
                lastFocus_ = focus;
        } else if (!HIWORD(m.WParam)) {
            RestoreFocus();
        }
        return;
    case WM_NEXTDLGCTL: {
        // Dialog navigation asks the form for the next control: Tab keys.
        HWND next = LOWORD(m.LParam) ? reinterpret_cast<HWND>(m.WParam)
                                     : GetNextDlgTabItem(handle_, GetFocus(), m.WParam != 0);
        if (next)
            ::SetFocus(next);
        return;
    }
    case WM_GETMINMAXINFO: {
        auto* info = reinterpret_cast<MINMAXINFO*>(m.LParam);
        info->ptMinTrackSize = {Scale(layout_.MinSize.cx), Scale(layout_.MinSize.cy)};
        return;
    }
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORLISTBOX:
        if (TControl* control = ControlOf(reinterpret_cast<HWND>(m.LParam))) {
            if (HBRUSH brush = control->PaintColors(reinterpret_cast<HDC>(m.WParam))) {
                m.Result = reinterpret_cast<LRESULT>(brush);
                return;
            }
        }
        break;
    case WM_COMMAND:
        if (TControl* control = ControlOf(reinterpret_cast<HWND>(m.LParam))) {
            control->Notify(HIWORD(m.WParam));
            return;
        }
        break;
    default:
        break;
    }
    m.Result = DefWindowProcA(handle_, m.Msg, m.WParam, m.LParam);
}

} // namespace ui
