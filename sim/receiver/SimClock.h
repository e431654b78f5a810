// Monotonic time for the call log and the notification schedules.
#pragma once

#include <cstdint>

// Microseconds from QueryPerformanceCounter.
uint64_t monotonicMicroseconds();

// Whole milliseconds since an earlier monotonicMicroseconds() reading.
uint64_t millisecondsSince(uint64_t startUs);
