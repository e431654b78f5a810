// Sending a notification through the caller's callback, with its log line.
#pragma once

#include "NotificationPlan.h"
#include "SimConfig.h"

#include <cstdint>

// Logs "notify(<status>) thread=<origin>" and calls the callback; nothing happens
// while no callback is set.
void sendStatus(int32_t status, NotifyThread origin);

// The receiver moves its LO by one step on its own and announces it with status 101.
void moveLoAndNotify(NotifyThread origin);

// Sends a planned notification that has come due.
void deliver(const PlannedNotification& planned, NotifyThread origin);
