#include "Memo.h"

namespace ui {

namespace {
constexpr char LINE_END[] = "\r\n";
}

void TMemoLines::Add(const std::string& line)
{
    HWND edit = memo_.Handle();
    DWORD selStart = 0, selEnd = 0;
    SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&selStart),
                 reinterpret_cast<LPARAM>(&selEnd));
    const DWORD end = GetWindowTextLengthA(edit);
    // Usually the caret already sits at the end: moving it there and back
    // would only cost redraws.
    const bool caretAtEnd = selStart == end && selEnd == end;
    const std::string text = line + LINE_END;
    if (!caretAtEnd)
        SendMessageA(edit, EM_SETSEL, end, end);
    SendMessageA(edit, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text.c_str()));
    if (!caretAtEnd)
        SendMessageA(edit, EM_SETSEL, selStart, selEnd);
}

TMemo::TMemo(TForm& owner, const TControlLayout& layout) : TControl(owner, layout) {}

TControl::TWindowKind TMemo::Kind() const
{
    return {"EDIT", ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN | WS_VSCROLL | WS_HSCROLL,
            WS_EX_CLIENTEDGE};
}

bool TMemo::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    if (msg != WM_GETDLGCODE)
        return false;
    // A multi-line edit asks for every key; Tab is left to move the focus on.
    result = CallOriginal(msg, wParam, lParam);
    const auto* key = reinterpret_cast<const MSG*>(lParam);
    if (key && key->message == WM_KEYDOWN && key->wParam == VK_TAB)
        result &= ~(DLGC_WANTALLKEYS | DLGC_WANTTAB | DLGC_WANTMESSAGE);
    return true;
}

void TMemo::Created()
{
    // The default limit would drop text past about 30,000 characters.
    SendMessageA(Handle(), EM_SETLIMITTEXT, 0, 0);
}

} // namespace ui
