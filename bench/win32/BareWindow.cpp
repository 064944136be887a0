// The floor of a launch: a bare window of one control, a program of its own with drilbank.exe's
// manifest and nothing else, so that it loads only the libraries such a window needs.
#include "LaunchClock.h"

#include <commctrl.h>

#include <cstdio>

int wmain() {
    drilbank::bench::startAsAWindow();
    HWND frame = CreateWindowExW(0, WC_STATICW, L"Form1", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                 CW_USEDEFAULT, 725, 573, nullptr, nullptr, nullptr, nullptr);
    CreateWindowExW(0, WC_BUTTONW, L"Next Question / Answer", WS_CHILD | WS_VISIBLE, 16, 0, 65, 49,
                    frame, nullptr, nullptr, nullptr);
    ShowWindow(frame, SW_SHOW);
    UpdateWindow(frame);
    std::printf("%.2f\n", drilbank::bench::sinceProcessStart());
    return 0;
}
