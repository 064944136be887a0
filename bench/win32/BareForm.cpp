// The floor of the whole start-up: four input boxes of the program's layout, each answered
// the moment it opens, as the probe answers drilbank.exe's; then the form's controls as stock
// controls of the same kinds, at the same places and in the same fonts, in a frame of the
// form's size, shown; a program of its own with drilbank.exe's manifest. Prints the moment
// the form is shown (ms since the process was created) and the peak working set (KB).
#include "LaunchClock.h"
#include "win32/DialogTemplate.h"
#include "window/ControlTable.h"

#include <commctrl.h>
#include <psapi.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <string_view>

namespace {

struct StockControl {
    const wchar_t* windowClass;
    DWORD style;
    DWORD extended;
};

StockControl stockControlOf(drilbank::ControlKind kind) {
    using drilbank::ControlKind;
    switch (kind) {
    case ControlKind::CommandButton:
        return {WC_BUTTONW, BS_PUSHBUTTON | BS_MULTILINE | WS_TABSTOP, 0};
    case ControlKind::TextBox:
        return {WC_EDITW, ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE};
    case ControlKind::MultiLineTextBox:
        return {WC_EDITW, ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL | WS_TABSTOP,
                WS_EX_CLIENTEDGE};
    case ControlKind::Label:
        return {WC_STATICW, SS_LEFT, 0};
    case ControlKind::ListBox:
        return {WC_LISTBOXW, LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE};
    case ControlKind::PictureArea:
        return {WC_STATICW, SS_WHITERECT, WS_EX_CLIENTEDGE};
    case ControlKind::Timer:
        break;
    }
    return {nullptr, 0, 0};
}

HFONT fontOf(const wchar_t* face, double points, UINT dpi) {
    const int height = static_cast<int>(std::lround(points * dpi / 72.0));
    return CreateFontW(-height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                       DEFAULT_PITCH | FF_DONTCARE, face);
}

std::wstring wide(std::string_view text) {
    return {text.begin(), text.end()}; // the table's captions are ASCII
}

INT_PTR CALLBACK answeredAtOnce(HWND box, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG) {
        SetDlgItemTextW(box, 2, L"1");
        PostMessageW(box, WM_COMMAND, IDOK, 0);
        return TRUE;
    }
    if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
        EndDialog(box, LOWORD(wParam));
        return TRUE;
    }
    return FALSE;
}

void askFourQuestions() {
    for (int question = 0; question < 4; ++question) {
        drilbank::DialogTemplate box(L"Form1", 240, 82);
        box.add(drilbank::DialogTemplate::staticText, 1, SS_LEFT | SS_NOPREFIX, 7, 7, 226, 16,
                L"Your full name:  ");
        box.add(drilbank::DialogTemplate::edit, 2, ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 7, 34,
                226, 14);
        box.add(drilbank::DialogTemplate::button, IDOK, BS_DEFPUSHBUTTON | WS_TABSTOP, 129, 59, 50,
                14, L"OK");
        box.add(drilbank::DialogTemplate::button, IDCANCEL, BS_PUSHBUTTON | WS_TABSTOP, 183, 59, 50,
                14, L"Cancel");
        box.run(nullptr, &answeredAtOnce, 0);
    }
}

} // namespace

int wmain() {
    drilbank::bench::startAsAWindow();
    askFourQuestions();
    HWND frame = CreateWindowExW(0, WC_STATICW, L"Form1", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                 CW_USEDEFAULT, 100, 100, nullptr, nullptr, nullptr, nullptr);
    const UINT dpi = GetDpiForWindow(frame) == 0 ? USER_DEFAULT_SCREEN_DPI : GetDpiForWindow(frame);
    const auto scaled = [dpi](int twips) { return MulDiv(twips, static_cast<int>(dpi), 1440); };
    RECT client{0, 0, scaled(drilbank::clientWidthTwips), scaled(drilbank::clientHeightTwips)};
    AdjustWindowRectExForDpi(&client, WS_OVERLAPPEDWINDOW, FALSE, 0, dpi);
    SetWindowPos(frame, nullptr, 0, 0, client.right - client.left, client.bottom - client.top,
                 SWP_NOMOVE | SWP_NOZORDER);
    HFONT boxFont = fontOf(L"Arial", drilbank::boxFontPoints, dpi);
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, dpi);
    HFONT windowFont = CreateFontIndirectW(&metrics.lfMessageFont);
    for (const drilbank::ControlRow& row : drilbank::controlTable()) {
        const StockControl stock = stockControlOf(row.kind);
        if (stock.windowClass == nullptr) {
            continue;
        }
        HWND control = CreateWindowExW(stock.extended, stock.windowClass, wide(row.caption).c_str(),
                                       WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | stock.style,
                                       scaled(row.left), scaled(row.top), scaled(row.width),
                                       scaled(row.height), frame, nullptr, nullptr, nullptr);
        const bool box = row.kind == drilbank::ControlKind::MultiLineTextBox;
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(box ? boxFont : windowFont),
                     FALSE);
    }
    ShowWindow(frame, SW_SHOW);
    UpdateWindow(frame);
    const double shown = drilbank::bench::sinceProcessStart();
    PROCESS_MEMORY_COUNTERS memory{};
    GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof memory);
    std::printf("%.2f %.0f\n", shown, static_cast<double>(memory.PeakWorkingSetSize) / 1024.0);
    return 0;
}
