#pragma once

namespace ui {

using UiTask = void (*)();

// Runs a task on the UI thread as a posted window message; callable from any
// thread. Posting to a window (not the thread) keeps the task alive while a
// modal loop runs. Returns false when the message could not be posted.
bool PostToUiThread(UiTask task);

// Called once on the UI thread before any post.
void InitUiThread();

// True on the thread that runs the message loop.
bool OnUiThread();

} // namespace ui
