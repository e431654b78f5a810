#include <gtest/gtest.h>

#include <climits>

#include "Frequency.h"

using frequency::AddWrapped;
using frequency::DisplayText;

TEST(Frequency, DisplayShowsTheFirstNineCharactersOfTheFormattedValue)
{
    struct Case {
        int32_t freq;
        const char* shown;
    };
    const Case cases[] = {
        {7000001, "007000001"},   {0, "000000000"},           {999999999, "999999999"},
        {1000000000, "100000000"}, {INT32_MAX, "214748364"}, {-5, "-00000005"},
        {-99999999, "-99999999"}, {-100000000, "-10000000"}, {INT32_MIN, "-21474836"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DisplayText(c.freq).substr(0, 9), c.shown) << c.freq;
    EXPECT_EQ(DisplayText(INT32_MIN), "-2147483648") << "the whole text fits its buffer";
}

TEST(Frequency, StepsWrapAtTheLimitsOfTheSignedRange)
{
    EXPECT_EQ(AddWrapped(INT32_MAX, 1), INT32_MIN);
    EXPECT_EQ(AddWrapped(INT32_MIN, -1), INT32_MAX);
    EXPECT_EQ(AddWrapped(7000001, -100000000), -92999999);
    EXPECT_EQ(AddWrapped(999999999, 1), 1000000000);
}
