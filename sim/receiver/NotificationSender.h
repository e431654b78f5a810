// Sends a plan's timed notifications from the thread that EXTIO_SIM_THREAD names.
#pragma once

#include "NotificationPlan.h"
#include "SimConfig.h"

#include <memory>

class NotificationSender {
public:
    virtual ~NotificationSender() = default;
    // Starts sending the plan's notifications in place of any earlier plan.
    virtual void start(std::unique_ptr<NotificationPlan> plan) = 0;
    // Ends the plan: once this returns, none of its notifications is sent any more.
    virtual void stop() = 0;
    // At unload, under the loader lock: ends the plan without waiting for anything.
    virtual void abandon() = 0;
};

std::unique_ptr<NotificationSender> makeNotificationSender(NotifyThread thread);
