#include "Control.h"

#include <vector>

#include "Application.h"
#include "Form.h"

namespace ui {

namespace {
constexpr char CONTROL_PROP[] = "TarvoControl";
}

TControl::TControl(TForm& owner, const TControlLayout& layout) : layout_(layout)
{
    owner.AddControl(this);
}

void TControl::CreateHandle(HWND parent, int dpi)
{
    const TWindowKind kind = Kind();
    DWORD style = WS_CHILD | WS_VISIBLE | kind.Style;
    if (layout_.TabOrder != NO_TAB_STOP)
        style |= WS_TABSTOP;
    const TBounds& b = layout_.Bounds;
    auto scale = [dpi](int v) { return MulDiv(v, dpi, USER_DEFAULT_SCREEN_DPI); };
    handle_ = CreateWindowExA(kind.ExStyle, kind.ClassName, "", style, scale(b.Left), scale(b.Top),
                              scale(b.Width), scale(b.Height), parent, nullptr,
                              GetModuleHandleA(nullptr), nullptr);
    SendMessageA(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(FontHandle(layout_.Font, dpi)), FALSE);
    SetPropA(handle_, CONTROL_PROP, this);
    original_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(handle_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(SubclassProc)));
    Created();
}

LRESULT CALLBACK TControl::SubclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    auto* self = static_cast<TControl*>(GetPropA(hwnd, CONTROL_PROP));
    LRESULT result = 0;
    bool handled = false;
    Guarded([&] { handled = self->HandleMessage(msg, wParam, lParam, result); });
    if (handled)
        return result;
    if (msg == WM_NCDESTROY)
        RemovePropA(hwnd, CONTROL_PROP);
    return CallWindowProcA(self->original_, hwnd, msg, wParam, lParam);
}

LRESULT TControl::CallOriginal(UINT msg, WPARAM wParam, LPARAM lParam)
{
    return CallWindowProcA(original_, handle_, msg, wParam, lParam);
}

bool TControl::Enabled() const
{
    return handle_ && IsWindowEnabled(handle_);
}

void TControl::SetEnabled(bool enabled)
{
    EnableWindow(handle_, enabled ? TRUE : FALSE);
}

bool TControl::Focused() const
{
    return handle_ && GetFocus() == handle_;
}

void TControl::SetFocus()
{
    ::SetFocus(handle_);
}

std::string TControl::Text() const
{
    const int length = GetWindowTextLengthA(handle_);
    std::vector<char> buffer(length + 1);
    const int copied = GetWindowTextA(handle_, buffer.data(), length + 1);
    return std::string(buffer.data(), copied);
}

void TControl::SetText(const std::string& text)
{
    SetWindowTextA(handle_, text.c_str());
}

HBRUSH TControl::PaintColors(HDC dc) const
{
    if (layout_.Color == DEFAULT_COLOR)
        return nullptr;
    SetTextColor(dc, GetSysColor(Enabled() ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT));
    SetBkColor(dc, GetSysColor(layout_.Color));
    return GetSysColorBrush(layout_.Color);
}

} // namespace ui
