// Notifications from the thread that started the plan, through thread timers
// (SetTimer with a TIMERPROC and no window): they arrive through that thread's
// message loop, also inside a modal loop, like a plug-in window's own timer.
#pragma once

#include "NotificationSender.h"

#include <windows.h>

#include <cstdint>
#include <optional>

class CallerThreadSender final : public NotificationSender {
public:
    void start(std::unique_ptr<NotificationPlan> plan) override;
    void stop() override;
    // KillTimer does not wait, so it is safe under the loader lock.
    void abandon() override { stop(); }

private:
    static void CALLBACK onTimer(HWND window, UINT message, UINT_PTR timerId, DWORD time);
    void armNext();
    void fire();

    std::unique_ptr<NotificationPlan> plan_;
    uint64_t startUs_ = 0;
    std::optional<PlannedNotification> pending_;
    UINT_PTR timerId_ = 0;
};
