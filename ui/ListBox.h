#pragma once
#include <string>
#include <vector>

#include "Control.h"

namespace ui {

// A single-selection list whose OnClick fires on every selection the user
// makes, never on one set from code.
class TListBox : public TControl {
public:
    TListBox(TForm& owner, const TControlLayout& layout, std::vector<std::string> items,
             int itemHeight);

    int ItemIndex() const;
    void SetItemIndex(int index);

    TNotifyEvent OnClick;

    void Notify(WORD code) override;

protected:
    TWindowKind Kind() const override;
    void Created() override;

private:
    std::vector<std::string> items_;
    int itemHeight_;
};

} // namespace ui
