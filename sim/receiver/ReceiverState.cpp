#include "ReceiverState.h"

#include "SimConfig.h"

#include <atomic>

namespace {

constexpr uint32_t kLoStepHz = 1000;

// Unsigned cells: a move past INT32_MAX wraps explicitly instead of overflowing.
std::atomic<uint32_t>& loCell()
{
    static std::atomic<uint32_t> lo{static_cast<uint32_t>(simConfig().fixedLo.value_or(0))};
    return lo;
}

std::atomic<uint32_t> g_tuned{0};
std::atomic<extio_sim::Callback> g_callback{nullptr};

}  // namespace

namespace receiver_state {

int32_t lo()
{
    return static_cast<int32_t>(loCell().load());
}

void setLo(int32_t freq)
{
    if (!simConfig().fixedLo) {
        loCell().store(static_cast<uint32_t>(freq));
    }
}

void moveLo()
{
    loCell().fetch_add(kLoStepHz);
}

int32_t tuned()
{
    return static_cast<int32_t>(g_tuned.load());
}

void setTuned(int32_t freq)
{
    g_tuned.store(static_cast<uint32_t>(freq));
}

extio_sim::Callback callback()
{
    return g_callback.load();
}

void setCallback(extio_sim::Callback cb)
{
    g_callback.store(cb);
}

}  // namespace receiver_state
