#include "NotificationSender.h"

#include "CallerThreadSender.h"
#include "WorkerThreadSender.h"

std::unique_ptr<NotificationSender> makeNotificationSender(NotifyThread thread)
{
    if (thread == NotifyThread::Worker) {
        return std::make_unique<WorkerThreadSender>();
    }
    return std::make_unique<CallerThreadSender>();
}
