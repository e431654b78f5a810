// When timed notifications are due: the EXTIO_SIM_NOTIFY list after SetCallback,
// or the EXTIO_SIM_PERIODIC LO moves after StartHW.
#pragma once

#include "SimConfig.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

struct PlannedNotification {
    uint64_t dueMs;  // from the start of the plan
    int32_t status;
    bool movesLo;    // a periodic step: move the LO, then announce it
};

class NotificationPlan {
public:
    virtual ~NotificationPlan() = default;
    // The next notification, or nothing once the plan is over. elapsedMs is the
    // time since the plan started, for plans that end after a duration.
    virtual std::optional<PlannedNotification> next(uint64_t elapsedMs) = 0;
};

std::unique_ptr<NotificationPlan> makeListedPlan(std::vector<TimedStatus> list);
std::unique_ptr<NotificationPlan> makePeriodicPlan(PeriodicSetting setting);
