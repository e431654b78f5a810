// The receiver's own window (ShowGUI): the LO and the last tuned frequency, and a
// button that moves the LO by 1 kHz and notifies the caller (status 101), all on
// the thread that first called ShowGUI.
#pragma once

namespace sim_window {

// Creates the window on this thread, or shows it again, without activating it.
void show();
void hide();
// The LO or the tuned frequency changed: redraws at once on the window's thread,
// and from any other thread through a posted message (never a blocking send).
void refresh();
// Destroys the window and unregisters its class; only possible on the window's thread.
void destroy();

}  // namespace sim_window
