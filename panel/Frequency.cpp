#include "Frequency.h"

#include <cstdio>

namespace frequency {

namespace {
// "-2147483648" and its terminating NUL.
constexpr int DISPLAY_TEXT_CAPACITY = 12;
} // namespace

int32_t AddWrapped(int32_t freq, int32_t step)
{
    return static_cast<int32_t>(static_cast<uint32_t>(freq) + static_cast<uint32_t>(step));
}

std::string DisplayText(int32_t freq)
{
    char text[DISPLAY_TEXT_CAPACITY];
    const int length = std::snprintf(text, sizeof text, "%09d", static_cast<int>(freq));
    return std::string(text, length);
}

} // namespace frequency
