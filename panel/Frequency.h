#pragma once
#include <cstdint>
#include <string>

namespace frequency {

// Adds a step to a frequency, wrapping at the limits of the signed 32-bit
// range (two's complement) without signed overflow.
int32_t AddWrapped(int32_t freq, int32_t step);

// The frequency as the display formats it: "%09d", 9 to 11 characters.
std::string DisplayText(int32_t freq);

} // namespace frequency
