#pragma once
#include "Control.h"

namespace ui {

// A one-line edit box. It passes the mouse wheel to its parent (as Windows'
// own does; Wine's keeps it), so a form sees each wheel message once.
class TEdit : public TControl {
public:
    struct TOptions {
        const char* Text;   // at creation
        int MaxLength;      // 0: no limit
        bool Border;
        bool HandPointer;
    };
    TEdit(TForm& owner, const TControlLayout& layout, const TOptions& options);

    TNotifyEvent OnMouseMove;

protected:
    TWindowKind Kind() const override;
    void Created() override;
    bool HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    TOptions options_;
};

} // namespace ui
