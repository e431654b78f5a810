#pragma once
#include <windows.h>

#include <string>

#include "Font.h"
#include "Object.h"

namespace ui {

class TForm;

// Position and size in pixels at 96 dpi, relative to the form's client area.
struct TBounds {
    int Left, Top, Width, Height;
};

constexpr int NO_TAB_STOP = -1;
constexpr int DEFAULT_COLOR = -1;

// What every control's layout gives.
struct TControlLayout {
    TBounds Bounds;
    int TabOrder = NO_TAB_STOP;
    TFont Font;
    int Color = DEFAULT_COLOR; // a system colour index (COLOR_...), or DEFAULT_COLOR
};

// A child window of a form, created from its layout when the form creates
// its window. Subclassed, so each kind can react to its own messages.
class TControl : public TObject {
public:
    TControl(TForm& owner, const TControlLayout& layout);
    TControl(const TControl&) = delete;
    TControl& operator=(const TControl&) = delete;

    HWND Handle() const { return handle_; }
    const TControlLayout& Layout() const { return layout_; }

    bool Enabled() const;
    void SetEnabled(bool enabled);
    // The control has a window and that window holds the keyboard focus.
    bool Focused() const;
    void SetFocus();
    std::string Text() const;
    void SetText(const std::string& text);

    // Called by the form, in tab order.
    void CreateHandle(HWND parent, int dpi);

    // Paints the background of the control in its layout's colour, answering
    // the parent's WM_CTLCOLOR... message; null when the colour is default.
    HBRUSH PaintColors(HDC dc) const;

    // A notification (WM_COMMAND) the parent received from this control.
    virtual void Notify(WORD /*code*/) {}

protected:
    struct TWindowKind {
        const char* ClassName;
        DWORD Style;
        DWORD ExStyle;
    };
    virtual TWindowKind Kind() const = 0;
    // After the window exists: settings that need it (items, limits).
    virtual void Created() {}
    // Each kind's own handling; true when the message was handled.
    virtual bool HandleMessage(UINT /*msg*/, WPARAM /*wParam*/, LPARAM /*lParam*/,
                               LRESULT& /*result*/)
    {
        return false;
    }
    LRESULT CallOriginal(UINT msg, WPARAM wParam, LPARAM lParam);

private:
    static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

    TControlLayout layout_;
    HWND handle_ = nullptr;
    WNDPROC original_ = nullptr;
};

} // namespace ui
