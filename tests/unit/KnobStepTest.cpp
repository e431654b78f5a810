#include <gtest/gtest.h>

#include "KnobStep.h"

TEST(KnobStep, FineStepsGrowWithTheSquareAndKeysSelectCoarseSteps)
{
    struct Case {
        int16_t reading, keys;
        int32_t step;
    };
    const Case cases[] = {
        {1, 0, 5},        {2, 0, 20},        {3, 0, 45},         {10, 0, 500},
        {128, 0, 81920},  {-1, 0, -5},       {-127, 0, -80645},  {0, 0, 0},
        {-2, 1, -2000000}, {5, 2, 500000},   {4, 3, 80},         {-3, -192, -45},
        // Readings beyond the controller's range wrap modulo 2^32.
        {32767, 1, static_cast<int32_t>(32767u * 1000000u)},
        {-32768, 0, static_cast<int32_t>(0u - 5u * 32768u * 32768u)},
        {30000, 0, static_cast<int32_t>(5u * 30000u * 30000u)},
    };
    for (const Case& c : cases)
        EXPECT_EQ(knob::Step(c.reading, c.keys), c.step) << c.reading << " keys " << c.keys;
}
