#include "Edit.h"

namespace ui {

TEdit::TEdit(TForm& owner, const TControlLayout& layout, const TOptions& options)
    : TControl(owner, layout), options_(options)
{
}

TControl::TWindowKind TEdit::Kind() const
{
    return {"EDIT", ES_AUTOHSCROLL | (options_.Border ? WS_BORDER : 0u), 0};
}

void TEdit::Created()
{
    SetText(options_.Text);
    if (options_.MaxLength)
        SendMessageA(Handle(), EM_LIMITTEXT, options_.MaxLength, 0);
}

bool TEdit::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    switch (msg) {
    case WM_MOUSEWHEEL:
        SendMessageA(GetParent(Handle()), msg, wParam, lParam);
        result = 0;
        return true;
    case WM_SETCURSOR:
        if (!options_.HandPointer || LOWORD(lParam) != HTCLIENT)
            return false;
        SetCursor(LoadCursor(nullptr, IDC_HAND));
        result = TRUE;
        return true;
    case WM_MOUSEMOVE:
        if (OnMouseMove)
            OnMouseMove(this);
        return false;
    default:
        return false;
    }
}

} // namespace ui
