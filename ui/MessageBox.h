#pragma once
#include <string>

namespace ui {

// A modal box titled with the application title, showing text with one OK
// button (Enter and Esc dismiss it too), centred on the screen and owned by
// the main form. It runs a nested message loop, so ticks and notifications
// go on while it is open; it returns when the user dismisses it.
void ShowMessage(const std::string& text);

// Window class of the box, for tests that look for it.
extern const char MESSAGE_BOX_CLASS[];

} // namespace ui
