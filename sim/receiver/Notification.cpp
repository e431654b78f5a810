#include "Notification.h"

#include "CallLog.h"
#include "ReceiverState.h"
#include "SimWindow.h"

namespace {

// A status notification carries no samples.
constexpr int kNoSampleCount = -1;
constexpr float kNoIqOffset = 0.0f;

const char* threadName(NotifyThread origin)
{
    return origin == NotifyThread::Worker ? "worker" : "caller";
}

}  // namespace

void sendStatus(int32_t status, NotifyThread origin)
{
    const extio_sim::Callback callback = receiver_state::callback();
    if (callback == nullptr) {
        return;
    }
    call_log::write("notify(%d) thread=%s", static_cast<int>(status), threadName(origin));
    callback(kNoSampleCount, status, kNoIqOffset, nullptr);
}

void moveLoAndNotify(NotifyThread origin)
{
    receiver_state::moveLo();
    sim_window::refresh();
    sendStatus(extio_sim::kStatusLoChanged, origin);
}

void deliver(const PlannedNotification& planned, NotifyThread origin)
{
    if (planned.movesLo) {
        moveLoAndNotify(origin);
    } else {
        sendStatus(planned.status, origin);
    }
}
