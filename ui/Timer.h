#pragma once
#include <windows.h>

#include <cstdint>

#include "Object.h"

namespace ui {

// A timer whose ticks arrive as window messages on the UI thread, also inside
// a modal box's loop, at its real interval (SetTimer cannot go below 10 ms and
// rounds to the system clock tick). Ticks are coalesced: a tick that is still
// queued is not queued again, and ticks missed while the loop was busy are
// dropped, not caught up. A tick that falls due while an earlier tick of the
// same timer is still running (suspended in a box it opened) is skipped.
class TTimer : public TObject {
public:
    explicit TTimer(unsigned intervalMs);
    ~TTimer() override;
    TTimer(const TTimer&) = delete;
    TTimer& operator=(const TTimer&) = delete;

    unsigned Interval() const { return interval_; }
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    // Brings the next tick forward to the first moment the loop is free.
    void Kick();

    TNotifyEvent OnTimer;

private:
    friend class TickSource;
    void Tick();

    unsigned interval_;
    bool enabled_ = false;
    bool queued_ = false;
    bool running_ = false;
    int64_t due_ = 0; // performance-counter units
};

// Drives every TTimer. The message loops call PostDue before they look for
// messages and sleep at most MillisecondsToNextDue; a coarse system timer
// keeps ticks coming inside loops that are not ours (window moves, a
// plug-in's own boxes).
class TickSource {
public:
    static void Start();
    static void Stop();
    static void PostDue();
    static DWORD MillisecondsToNextDue();

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
};

} // namespace ui
