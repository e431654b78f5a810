#pragma once
#include <windows.h>

namespace ui {

// Creates a message-only window of its own class: the target for work that
// must run on the UI thread as window messages (ticks, posted tasks).
HWND CreateMessageWindow(const char* className, WNDPROC proc);

} // namespace ui
