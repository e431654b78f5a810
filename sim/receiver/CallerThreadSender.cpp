#include "CallerThreadSender.h"

#include "CallLog.h"
#include "Notification.h"
#include "SimClock.h"

#include <algorithm>
#include <map>
#include <mutex>

namespace {

// A thread timer carries no context: its id leads back to the sender that armed it.
std::mutex g_timersLock;
std::map<UINT_PTR, CallerThreadSender*> g_timers;

}  // namespace

void CallerThreadSender::start(std::unique_ptr<NotificationPlan> plan)
{
    stop();
    plan_ = std::move(plan);
    startUs_ = monotonicMicroseconds();
    armNext();
}

void CallerThreadSender::stop()
{
    if (timerId_ != 0) {
        {
            std::lock_guard<std::mutex> lock(g_timersLock);
            g_timers.erase(timerId_);
        }
        KillTimer(nullptr, timerId_);
        timerId_ = 0;
    }
    pending_.reset();
    plan_.reset();
}

// One one-shot timer per notification, armed for the time left until it is due.
void CallerThreadSender::armNext()
{
    const uint64_t elapsedMs = millisecondsSince(startUs_);
    pending_ = plan_->next(elapsedMs);
    if (!pending_) {
        plan_.reset();
        return;
    }
    const uint64_t delayMs = pending_->dueMs > elapsedMs ? pending_->dueMs - elapsedMs : 0;
    timerId_ = SetTimer(nullptr, 0, static_cast<UINT>(std::min<uint64_t>(delayMs, USER_TIMER_MAXIMUM)), onTimer);
    if (timerId_ == 0) {
        call_log::write("SetTimer() -> failed");
        pending_.reset();
        plan_.reset();
        return;
    }
    std::lock_guard<std::mutex> lock(g_timersLock);
    g_timers[timerId_] = this;
}

// The next timer is armed before the callback runs: the callback may open a modal
// loop in which that timer fires, or call StopHW, which must find it.
void CallerThreadSender::fire()
{
    timerId_ = 0;
    const PlannedNotification due = *pending_;
    armNext();
    deliver(due, NotifyThread::Caller);
}

void CALLBACK CallerThreadSender::onTimer(HWND, UINT, UINT_PTR timerId, DWORD)
{
    CallerThreadSender* sender = nullptr;
    {
        std::lock_guard<std::mutex> lock(g_timersLock);
        const auto found = g_timers.find(timerId);
        if (found != g_timers.end()) {
            sender = found->second;
            g_timers.erase(found);
        }
    }
    // Also a timer whose plan was stopped from another thread ends here.
    KillTimer(nullptr, timerId);
    if (sender != nullptr) {
        sender->fire();
    }
}
