#pragma once
#include <cstdint>

namespace knob {

// Key readings (after inversion) that select the coarse steps.
constexpr int16_t KEYS_1MHZ = 1;
constexpr int16_t KEYS_100KHZ = 2;

// The change of frequency for one knob reading: the reading times 1 MHz or
// 100 kHz while a key selects them, else five times its square with its
// sign. Formed modulo 2^32, so readings beyond the controller's own range
// wrap like every other change of the frequency.
int32_t Step(int16_t reading, int16_t keys);

} // namespace knob
