#pragma once
#include <string>

#include "Control.h"

namespace ui {

// Static text on an opaque background.
class TLabel : public TControl {
public:
    TLabel(TForm& owner, const TControlLayout& layout, std::string caption);

protected:
    TWindowKind Kind() const override;
    void Created() override;

private:
    std::string caption_;
};

} // namespace ui
