#include "NotificationPlan.h"

#include "ExtioEntryPoints.h"

#include <algorithm>

namespace {

class ListedPlan final : public NotificationPlan {
public:
    explicit ListedPlan(std::vector<TimedStatus> list) : list_(std::move(list))
    {
        std::stable_sort(list_.begin(), list_.end(),
            [](const TimedStatus& a, const TimedStatus& b) { return a.afterMs < b.afterMs; });
    }

    std::optional<PlannedNotification> next(uint64_t) override
    {
        if (sent_ == list_.size()) {
            return std::nullopt;
        }
        const TimedStatus& entry = list_[sent_++];
        return PlannedNotification{entry.afterMs, entry.status, false};
    }

private:
    std::vector<TimedStatus> list_;
    size_t sent_ = 0;
};

// Steps at period, 2 * period, ... as long as they fall within the duration; a
// period of 0 makes every step due at once (a flood, ended by the duration only).
class PeriodicPlan final : public NotificationPlan {
public:
    explicit PeriodicPlan(PeriodicSetting setting) : setting_(setting) {}

    std::optional<PlannedNotification> next(uint64_t elapsedMs) override
    {
        nextDueMs_ += setting_.periodMs;
        const bool bounded = setting_.durationMs != 0;
        if (bounded && (nextDueMs_ > setting_.durationMs || elapsedMs > setting_.durationMs)) {
            return std::nullopt;
        }
        return PlannedNotification{nextDueMs_, extio_sim::kStatusLoChanged, true};
    }

private:
    PeriodicSetting setting_;
    uint64_t nextDueMs_ = 0;
};

}  // namespace

std::unique_ptr<NotificationPlan> makeListedPlan(std::vector<TimedStatus> list)
{
    return std::make_unique<ListedPlan>(std::move(list));
}

std::unique_ptr<NotificationPlan> makePeriodicPlan(PeriodicSetting setting)
{
    return std::make_unique<PeriodicPlan>(setting);
}
