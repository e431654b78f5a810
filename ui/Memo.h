#pragma once
#include <string>

#include "Control.h"

namespace ui {

class TMemo;

// The memo's lines: appending is all the panel does with them.
class TMemoLines {
public:
    explicit TMemoLines(TMemo& memo) : memo_(memo) {}
    // Appends one line after the last, leaving the user's selection alone.
    void Add(const std::string& line);

private:
    TMemo& memo_;
};

// A multi-line, word-wrapping edit area with both scroll bars and no limit
// on its text.
class TMemo : public TControl {
public:
    TMemo(TForm& owner, const TControlLayout& layout);

    TMemoLines Lines{*this};

protected:
    TWindowKind Kind() const override;
    void Created() override;
    bool HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
};

} // namespace ui
