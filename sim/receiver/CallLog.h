// The call log named by EXTIO_SIM_LOG: one line "<microseconds> <text>" per event,
// appended and closed at once so that a test can read it while the program runs.
#pragma once

namespace call_log {

// Appends one line; does nothing when no log is configured. Safe from any thread:
// lines never interleave and their timestamps follow the order of the lines.
void write(const char* format, ...) __attribute__((format(gnu_printf, 1, 2)));

}  // namespace call_log
