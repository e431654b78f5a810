#include "SimClock.h"

#include <windows.h>

namespace {

constexpr uint64_t kMicrosecondsPerSecond = 1000000;

}  // namespace

uint64_t monotonicMicroseconds()
{
    LARGE_INTEGER frequency;
    LARGE_INTEGER counter;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&counter);
    const uint64_t ticks = static_cast<uint64_t>(counter.QuadPart);
    const uint64_t perSecond = static_cast<uint64_t>(frequency.QuadPart);
    // Whole seconds and the remainder apart: ticks * 10^6 overflows after days of uptime.
    return ticks / perSecond * kMicrosecondsPerSecond
        + ticks % perSecond * kMicrosecondsPerSecond / perSecond;
}

uint64_t millisecondsSince(uint64_t startUs)
{
    constexpr uint64_t kMicrosecondsPerMillisecond = 1000;
    return (monotonicMicroseconds() - startUs) / kMicrosecondsPerMillisecond;
}
