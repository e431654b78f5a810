// Notifications from a thread of the plug-in's own. The thread owns its plan, its
// handle to the stop event and a reference to this DLL, which it drops only as it
// exits: a caller that frees the plug-in while the thread still runs cannot unmap
// the code under it.
#pragma once

#include "NotificationSender.h"

#include <windows.h>

class WorkerThreadSender final : public NotificationSender {
public:
    void start(std::unique_ptr<NotificationPlan> plan) override;
    // Joins the thread (bounded), handling messages sent to this thread meanwhile,
    // so a callback that SendMessage()s to it cannot deadlock against the join.
    void stop() override;
    void abandon() override;

private:
    bool launch(std::unique_ptr<NotificationPlan> plan);
    void closeHandles();

    HANDLE thread_ = nullptr;
    DWORD threadId_ = 0;
    HANDLE stopEvent_ = nullptr;
};
