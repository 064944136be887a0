#pragma once

#include <windows.h>

#include <commctrl.h>

namespace drilbank::bench {

// Milliseconds since this process was created, as the system counts it.
inline double sinceProcessStart() {
    FILETIME created;
    FILETIME unused;
    GetProcessTimes(GetCurrentProcess(), &created, &unused, &unused, &unused);
    FILETIME now;
    GetSystemTimePreciseAsFileTime(&now);
    const auto ticks = [](FILETIME time) {
        return (ULONGLONG(time.dwHighDateTime) << 32) | time.dwLowDateTime;
    };
    return double(ticks(now) - ticks(created)) / 10000.0;
}

// As drilbank.exe and any window of its manifest: the newest DPI awareness the system knows.
inline void becomeDpiAware() {
    if (!SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2)) {
        SetProcessDPIAware();
    }
}

// What every window of this manifest does first: DPI awareness and the standard controls.
inline void startAsAWindow() {
    becomeDpiAware();
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
}

} // namespace drilbank::bench
