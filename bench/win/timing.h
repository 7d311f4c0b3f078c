// The Windows benchmarks' clock and the statistics they report.
#pragma once

#include <windows.h>

#include <algorithm>
#include <vector>

// Seconds between two QueryPerformanceCounter readings.
inline double Seconds(LARGE_INTEGER from, LARGE_INTEGER to) {
    static LARGE_INTEGER frequency;
    if (!frequency.QuadPart) QueryPerformanceFrequency(&frequency);
    return double(to.QuadPart - from.QuadPart) / double(frequency.QuadPart);
}

inline double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

inline double Minimum(const std::vector<double>& values) {
    return *std::min_element(values.begin(), values.end());
}
