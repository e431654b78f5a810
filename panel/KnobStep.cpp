#include "KnobStep.h"

namespace knob {

namespace {
constexpr uint32_t STEP_1MHZ = 1000000;
constexpr uint32_t STEP_100KHZ = 100000;
constexpr uint32_t FINE_FACTOR = 5;
} // namespace

int32_t Step(int16_t reading, int16_t keys)
{
    // Sign-extended, then unsigned: the products wrap instead of overflowing.
    const auto v = static_cast<uint32_t>(static_cast<int32_t>(reading));
    uint32_t step;
    if (keys == KEYS_1MHZ)
        step = v * STEP_1MHZ;
    else if (keys == KEYS_100KHZ)
        step = v * STEP_100KHZ;
    else if (reading > 0)
        step = FINE_FACTOR * v * v;
    else
        step = 0u - FINE_FACTOR * v * v;
    return static_cast<int32_t>(step);
}

} // namespace knob
