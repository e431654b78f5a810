#include "Label.h"

namespace ui {

TLabel::TLabel(TForm& owner, const TControlLayout& layout, std::string caption)
    : TControl(owner, layout), caption_(std::move(caption))
{
}

TControl::TWindowKind TLabel::Kind() const
{
    return {"STATIC", SS_LEFT | SS_NOPREFIX, 0};
}

void TLabel::Created()
{
    SetText(caption_);
}

} // namespace ui
