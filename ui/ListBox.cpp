#include "ListBox.h"

namespace ui {

TListBox::TListBox(TForm& owner, const TControlLayout& layout, std::vector<std::string> items,
                   int itemHeight)
    : TControl(owner, layout), items_(std::move(items)), itemHeight_(itemHeight)
{
}

TControl::TWindowKind TListBox::Kind() const
{
    return {"LISTBOX", LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL, WS_EX_CLIENTEDGE};
}

void TListBox::Created()
{
    for (const std::string& item : items_)
        SendMessageA(Handle(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
    SendMessageA(Handle(), LB_SETITEMHEIGHT, 0, itemHeight_);
}

int TListBox::ItemIndex() const
{
    return static_cast<int>(SendMessageA(Handle(), LB_GETCURSEL, 0, 0));
}

void TListBox::SetItemIndex(int index)
{
    SendMessageA(Handle(), LB_SETCURSEL, index, 0);
}

void TListBox::Notify(WORD code)
{
    if (code == LBN_SELCHANGE && OnClick)
        OnClick(this);
}

} // namespace ui
