// The Windows benchmarks' clock and the statistics they report.
#pragma once

#include <windows.h>

#include <algorithm>
#include <cstdio>
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

// How a figure is judged on the 32-bit build when scripts/bench found that
// i386 programs run through qemu-user (LAUNCHER_32BIT=emulated). Emulation
// slows the program's own code many times, the system calls it makes far
// less, so a figure whose baseline is mostly system calls would measure the
// emulator. Such a figure may be judged on the 64-bit build alone.
enum Judging { kJudgedOnEveryBuild, kJudgedOn64BitWhenEmulated };

inline bool RunsEmulated() {
    char mode[16];
    DWORD length = GetEnvironmentVariableA("LAUNCHER_32BIT", mode, sizeof mode);
    return sizeof(void*) == 4 && length > 0 && length < sizeof mode && lstrcmpA(mode, "emulated") == 0;
}

// Prints one verdict line and says whether the figure passes. A benchmark's
// own fault (sound is false: a wrong count, say) fails on every build.
inline bool JudgeRatio(const char* what, double ratio, double limit, bool sound, Judging judging) {
    const bool emulated = RunsEmulated();
    const char* build = emulated ? ", 32-bit emulated" : "";
    if (!sound) {
        std::printf("FAIL  %s: the benchmark went wrong (see above)\n", what);
        return false;
    }
    if (ratio <= limit) {
        std::printf("PASS  %s: ratio %.3f <= %.2f%s\n", what, ratio, limit, build);
        return true;
    }
    if (judging == kJudgedOn64BitWhenEmulated && emulated) {
        std::printf("emuliert  %s: ratio %.3f > %.2f, judged on the 64-bit build\n", what, ratio, limit);
        return true;
    }
    std::printf("FAIL  %s: ratio %.3f > %.2f%s\n", what, ratio, limit, build);
    return false;
}
