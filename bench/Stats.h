#pragma once
// Summary of measured intervals, as the benchmarks print them.
#include <algorithm>
#include <cstdio>
#include <vector>

struct Summary {
    size_t count;
    double median, p99, max;
};

inline Summary Summarise(std::vector<double> values)
{
    if (values.empty())
        return {0, 0, 0, 0};
    std::sort(values.begin(), values.end());
    auto at = [&](double q) { return values[static_cast<size_t>(q * (values.size() - 1))]; };
    return {values.size(), at(0.5), at(0.99), values.back()};
}

inline void PrintRow(const char* what, const Summary& s)
{
    std::printf("  %-28s n=%-5zu median %6.2f ms   p99 %6.2f ms   max %6.2f ms\n", what, s.count,
                s.median, s.p99, s.max);
}
