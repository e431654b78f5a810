#include "Timer.h"

#include <mmsystem.h>

#include <algorithm>
#include <vector>

#include "Application.h"
#include "MessageWindow.h"

namespace ui {

namespace {

constexpr UINT WM_TIMER_TICK = WM_APP + 2;
constexpr UINT_PTR FALLBACK_TIMER_ID = 1;
constexpr UINT FINEST_SYSTEM_PERIOD_MS = 1;

HWND tickWindow;
std::vector<TTimer*>& Timers()
{
    static std::vector<TTimer*> timers;
    return timers;
}

int64_t Now()
{
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return counter.QuadPart;
}

int64_t CountsPerMs()
{
    static const int64_t perMs = [] {
        LARGE_INTEGER frequency;
        QueryPerformanceFrequency(&frequency);
        return frequency.QuadPart / 1000;
    }();
    return perMs;
}

} // namespace

TTimer::TTimer(unsigned intervalMs) : interval_(intervalMs)
{
    Timers().push_back(this);
}

TTimer::~TTimer()
{
    auto& timers = Timers();
    timers.erase(std::remove(timers.begin(), timers.end(), this), timers.end());
}

void TTimer::SetEnabled(bool enabled)
{
    if (enabled && !enabled_)
        due_ = Now() + interval_ * CountsPerMs();
    enabled_ = enabled;
}

void TTimer::Kick()
{
    // A tick suspended in its own box would skip the kicked tick anyway.
    if (enabled_ && !running_)
        due_ = std::min(due_, Now());
}

void TTimer::Tick()
{
    queued_ = false;
    if (!enabled_)
        return;
    const int64_t now = Now();
    const int64_t period = interval_ * CountsPerMs();
    due_ += period;
    if (due_ <= now)
        due_ = now + period;
    if (running_ || !OnTimer)
        return;
    running_ = true;
    Guarded([this] { OnTimer(this); });
    running_ = false;
}

LRESULT CALLBACK TickSource::WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_TIMER_TICK:
        reinterpret_cast<TTimer*>(lParam)->Tick();
        return 0;
    case WM_TIMER:
        TickSource::PostDue();
        return 0;
    default:
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
}

void TickSource::Start()
{
    timeBeginPeriod(FINEST_SYSTEM_PERIOD_MS);
    tickWindow = CreateMessageWindow("TarvoTicks", WindowProc);
    SetTimer(tickWindow, FALLBACK_TIMER_ID, USER_TIMER_MINIMUM, nullptr);
}

void TickSource::Stop()
{
    if (!tickWindow)
        return;
    DestroyWindow(tickWindow);
    tickWindow = nullptr;
    timeEndPeriod(FINEST_SYSTEM_PERIOD_MS);
}

void TickSource::PostDue()
{
    if (!tickWindow)
        return;
    const int64_t now = Now();
    for (TTimer* timer : Timers()) {
        if (timer->enabled_ && !timer->queued_ && timer->due_ <= now) {
            timer->queued_ = true;
            PostMessageA(tickWindow, WM_TIMER_TICK, 0, reinterpret_cast<LPARAM>(timer));
        }
    }
}

DWORD TickSource::MillisecondsToNextDue()
{
    if (!tickWindow)
        return INFINITE;
    const int64_t now = Now();
    int64_t next = INT64_MAX;
    for (const TTimer* timer : Timers())
        if (timer->enabled_ && !timer->queued_)
            next = std::min(next, timer->due_);
    if (next == INT64_MAX)
        return INFINITE;
    if (next <= now)
        return 0;
    // Round up, so the loop never wakes just before the deadline.
    return static_cast<DWORD>((next - now + CountsPerMs() - 1) / CountsPerMs());
}

} // namespace ui
