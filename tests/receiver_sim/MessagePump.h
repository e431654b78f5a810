// Handling this thread's messages while waiting, so that timer notifications
// (which arrive as messages) reach the test's callback.
#pragma once

#include <windows.h>

#include <functional>

// Dispatches messages until done() holds or timeoutMs has passed; returns done().
bool pumpUntil(const std::function<bool()>& done, DWORD timeoutMs);

// Dispatches messages for the whole of durationMs.
void pumpFor(DWORD durationMs);
