#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "Control.h"
#include "Object.h"

namespace ui {

enum class TCloseAction { caNone, caHide, caFree };

// A window message as the form's dispatch sees it.
struct TMessage {
    UINT Msg;
    WPARAM WParam;
    LPARAM LParam;
    LRESULT Result;
};

// What a form's layout gives for the window itself.
struct TFormLayout {
    const char* Caption;
    TBounds Bounds;       // outer size, screen position
    SIZE MinSize;         // outer size
    TFont Font;
    int IconResource;     // 0: none
};

// A top-level window holding controls. The controls are created, in tab
// order, when Create runs; then OnCreate runs, before the window first shows.
class TForm : public TObject {
public:
    explicit TForm(const TFormLayout& layout);
    TForm(const TForm&) = delete;
    TForm& operator=(const TForm&) = delete;

    HWND Handle() const { return handle_; }
    void SetCaption(const std::string& caption);
    std::string Caption() const;

    // Creates the window and its controls and runs OnCreate.
    void Create();
    void Show();
    // Runs OnClose once, however often closing is asked for; then the window
    // goes and, for the main form, the program ends.
    void Close();

    TNotifyEvent OnCreate;
    std::function<void(TObject* Sender, TCloseAction& Action)> OnClose;

    void AddControl(TControl* control);

protected:
    // Every message of the window passes here; the default handling is the
    // form's own.
    virtual void Dispatch(TMessage& message);
    int Dpi() const { return dpi_; }

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    void DefaultHandler(TMessage& message);
    TControl* ControlOf(HWND hwnd) const;
    void RestoreFocus();
    int Scale(int v) const { return MulDiv(v, dpi_, USER_DEFAULT_SCREEN_DPI); }

    TFormLayout layout_;
    std::vector<TControl*> controls_;
    HWND handle_ = nullptr;
    HWND lastFocus_ = nullptr;
    int dpi_ = USER_DEFAULT_SCREEN_DPI;
    bool closing_ = false;
};

} // namespace ui
