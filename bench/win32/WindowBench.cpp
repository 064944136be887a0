// Launch to the first start-up box, and to the form after four answered boxes, each beside a
// bare window of one control (BareWindow.cpp); and an "Enter Response" click through the
// window and the Windows file layer, beside the floor of its appends. One mode per process,
// so that each launch is a fresh start; scripts/bench-windows.sh alternates the modes and
// prints the medians and ratios. This program has drilbank.exe's resources (its manifest:
// common controls 6, DPI awareness) and libraries, and starts as drilbank.exe does.
#include "CountingFiles.h"
#include "LaunchClock.h"
#include "files/DriveMap.h"
#include "files/RecordFiles.h"
#include "os/RunRandom.h"
#include "os/SystemClock.h"
#include "record/EnterResponse.h"
#include "support/FakePlatform.h"
#include "win32/FormWindow.h"
#include "win32/ModalBoxes.h"
#include "win32/WideText.h"
#include "win32/Win32Session.h"
#include "window/Handler.h"

#include <objbase.h>
#include <psapi.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <unordered_map>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// What drilbank.exe does before its first box besides: it starts COM for the names screen
// readers ask.
void startAsTheProgram() {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
}

// Answers each start-up box the moment it opens, as a quick student would, or after reading
// it for a while; and notes when the last one closes.
std::vector<std::wstring> startUpAnswers{L"1", L"Ann Lee Smith", L"ALS", L"1"};
UINT readingMs = 0;
HWND boxBeingRead = nullptr;
double lastBoxClosed = 0;
void CALLBACK answerRead(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    PostMessageW(boxBeingRead, WM_COMMAND, IDOK, 0);
}

// The form is painted inside the start-up, before the headers are written: the end of the last
// paint of the form or any control in it, once it is shown, is when the student sees it.
double formPainted = 0;
BOOL CALLBACK watchFormPaint(HWND window, LPARAM);

bool isDialog(HWND window) {
    wchar_t className[16] = {};
    GetClassNameW(window, className, 16);
    return std::wstring(className) == L"#32770";
}

// A hook of window events rather than of every message: under Wine each message a hook
// sees costs a trip to the server, which the floor, with no hook, never pays. A box is
// activated once, after its WM_INITDIALOG; the form's frame is activated as it is shown,
// before anything of it is painted.
LRESULT CALLBACK answerBox(int code, WPARAM wParam, LPARAM lParam) {
    HWND window = reinterpret_cast<HWND>(wParam);
    static HWND answered = nullptr;
    if (code == HCBT_ACTIVATE && isDialog(window) && !startUpAnswers.empty() &&
        window != answered) {
        answered = window;
        SetDlgItemTextW(window, drilbank::modalbox::inputId, startUpAnswers.front().c_str());
        startUpAnswers.erase(startUpAnswers.begin());
        if (readingMs == 0) {
            PostMessageW(window, WM_COMMAND, IDOK, 0);
        } else {
            boxBeingRead = window;
            SetTimer(nullptr, 0, readingMs, &answerRead);
        }
    } else if (code == HCBT_DESTROYWND && startUpAnswers.empty() && GetParent(window) == nullptr) {
        lastBoxClosed = drilbank::bench::sinceProcessStart();
    } else if (code == HCBT_ACTIVATE && startUpAnswers.empty() && GetParent(window) == nullptr &&
               !isDialog(window) && formPainted == 0) {
        watchFormPaint(window, 0);
        EnumChildWindows(window, &watchFormPaint, 0);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// The first start-up box is shown when it and every control in it are painted, as the bare
// window is once UpdateWindow returns. Each paint's end is noted; a timer, which comes only
// after every paint, reports the last and ends the process. (The timer's own time is no
// measure: the system holds any timer for at least ten milliseconds.) The form is not made
// yet. Beyond the bare window the box costs its four controls and the focus in its field,
// where Wine sets up the input method.
double boxPainted = 0;
// Each watched window's own procedure, and the moment its paints' ends are noted in. The
// procedure is replaced outright: a common controls' subclass asks Wine's server for a
// property of the window at every message, which the floors never pay.
struct Watched {
    WNDPROC procedure;
    double* moment;
};
std::unordered_map<HWND, Watched> watched;

LRESULT CALLBACK notePaint(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const Watched watch = watched.at(window);
    const LRESULT result = CallWindowProcW(watch.procedure, window, message, wParam, lParam);
    if (message == WM_PAINT || message == WM_NCPAINT) {
        *watch.moment = drilbank::bench::sinceProcessStart();
    }
    return result;
}

void watch(HWND window, double* moment) {
    if (!watched.contains(window)) {
        watched[window] = {reinterpret_cast<WNDPROC>(GetWindowLongPtrW(window, GWLP_WNDPROC)),
                           moment};
        SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&notePaint));
    }
}

BOOL CALLBACK watchPaint(HWND window, LPARAM) {
    watch(window, &boxPainted);
    return TRUE;
}

BOOL CALLBACK watchFormPaint(HWND window, LPARAM) {
    watch(window, &formPainted);
    return TRUE;
}

void CALLBACK firstBoxShown(HWND, UINT, UINT_PTR, DWORD) {
    std::printf("%.2f\n", boxPainted);
    std::fflush(stdout);
    ExitProcess(0);
}

// Through window events, as answerBox: the box is activated before it is painted.
LRESULT CALLBACK reportFirstBox(int code, WPARAM wParam, LPARAM lParam) {
    HWND window = reinterpret_cast<HWND>(wParam);
    if (code == HCBT_ACTIVATE && isDialog(window) && boxPainted == 0) {
        watchPaint(window, 0);
        EnumChildWindows(window, &watchPaint, 0);
        SetTimer(nullptr, 0, 0, &firstBoxShown);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

int firstBox(const std::filesystem::path& drives) {
    drilbank::RecordFiles files{drilbank::DriveMap(drives)};
    drilbank::SystemClock clock;
    drilbank::RunRandom random;
    drilbank::Win32Session session({files, clock, random});
    SetWindowsHookExW(WH_CBT, &reportFirstBox, nullptr, GetCurrentThreadId());
    session.load();
    return 1; // the box was never shown
}

struct StartedWindow {
    explicit StartedWindow(const std::filesystem::path& drives,
                           drilbank::DurableFiles& system = drilbank::systemFiles())
        : files(drilbank::DriveMap(drives), system), session({files, clock, random}) {
        HHOOK hook = SetWindowsHookExW(WH_CBT, &answerBox, nullptr, GetCurrentThreadId());
        session.load();
        UnhookWindowsHookEx(hook);
        // As drilbank.exe: the start-up showed the form, unless a failure came first.
        if (!session.window().isVisible()) {
            session.window().show();
        }
    }
    drilbank::RecordFiles files;
    drilbank::SystemClock clock;
    drilbank::RunRandom random;
    drilbank::Win32Session session;
};

// Launch to the form shown, and the last box's OK to the form shown: what a student who
// answered the boxes waits for; and the peak working set (KB). With `reading`, each box is answered
// that many milliseconds after it opens, as by a student who reads it first.
int programWindow(const std::filesystem::path& drives, UINT reading) {
    readingMs = reading;
    StartedWindow started(drives);
    const double shown = formPainted != 0 ? formPainted : drilbank::bench::sinceProcessStart();
    PROCESS_MEMORY_COUNTERS memory{};
    GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof memory);
    std::printf("%.2f %.2f %.0f\n", shown, shown - lastBoxClosed,
                static_cast<double>(memory.PeakWorkingSetSize) / 1024.0);
    return 0;
}

void appendAndFlush(const std::wstring& file, const std::string& bytes) {
    HANDLE handle = CreateFileW(file.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr,
                                OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    WriteFile(handle, bytes.data(), DWORD(bytes.size()), &written, nullptr);
    FlushFileBuffers(handle);
    CloseHandle(handle);
}

double millisecondsOf(auto&& action) {
    const auto start = Clock::now();
    action();
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

std::string fileBytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The floor of a click that must reach every file or none, as on Linux: the click's own
// blocks written ahead into a log and flushed, each appended to a file of its own beside the
// run's and flushed, the log emptied. Plain system calls, below the file layer: no check
// that each file is a plain one, no writer's lock, no look at what the log holds.
void appendFloor(const std::filesystem::path& folder,
                 const std::vector<std::pair<std::filesystem::path, std::string>>& blocks) {
    std::string ahead;
    for (const auto& [file, block] : blocks) {
        ahead += block;
    }
    appendAndFlush((folder / "floor.log").wstring(), ahead);
    for (const auto& [file, block] : blocks) {
        appendAndFlush(file.wstring() + L".floor", block);
    }
    std::filesystem::resize_file(folder / "floor.log", 0);
}

constexpr int clickRounds = 40;

// Clicks timed beside their floor, each round one of each, and the medians printed. The
// first click shows what a click appends to each file.
template <typename Click>
void clicksBesideFloor(const std::filesystem::path& folder, Click click,
                       drilbank::bench::CountingFiles* counting = nullptr) {
    std::vector<std::pair<std::filesystem::path, std::string>> blocks;
    for (const char* name : {"masterFile_Ann_Lee_Smith.txt", "send_"}) {
        for (const auto& entry : std::filesystem::directory_iterator(folder)) {
            const std::string file = entry.path().filename().string();
            if (file.starts_with(name) && file.ends_with(".txt")) {
                blocks.push_back({entry.path(), fileBytes(entry.path())});
            }
        }
    }
    click();
    for (auto& [file, before] : blocks) {
        before = fileBytes(file).substr(before.size());
    }
    if (counting != nullptr) {
        counting->reset();
    }
    std::vector<double> costs;
    std::vector<double> floors;
    for (int round = 0; round < clickRounds; ++round) {
        costs.push_back(click());
        floors.push_back(millisecondsOf([&] { appendFloor(folder, blocks); }));
    }
    std::printf("%.3f %.3f\n", median(costs), median(floors));
}

const std::wstring typedAnswer =
    L"The depth falls more slowly as the water drains, so the slope of the graph gets less "
    L"steep.\r\nI forgot the units at first.";

// "Enter Response" clicks through the window beside their floor; with "counts", the file
// layer's calls per click on standard error. Beyond the floor a click pays for what the floor
// leaves out: the file layer's checks and lock, the button's press and release drawn, both
// boxes read, the answer box emptied (its scroll bar no longer drawn twice at once under Wine).
int windowClicks(const std::filesystem::path& drives, bool counts) {
    drilbank::bench::CountingFiles counting;
    StartedWindow started(drives, counting);
    drilbank::FormWindow& window = started.session.window();
    HWND enter = window.control("cmd_enter_response");
    clicksBesideFloor(
        drives / "c" / "drilbank",
        [&] {
            SetWindowTextW(window.answerBox(), typedAnswer.c_str());
            return millisecondsOf([&] { SendMessageW(enter, BM_CLICK, 0, 0); });
        },
        &counting);
    if (counts) {
        counting.report(stderr, clickRounds);
    }
    return 0;
}

// The same click as the core records it, with no window: the answer handed to the handler,
// as the Linux benchmark measures a click, and recorded through the Windows file layer.
int coreClicks(const std::filesystem::path& drives) {
    drilbank::testing::FakePlatform platform(drives);
    drilbank::Run run{platform};
    drilbank::testing::answerStartUp(platform, "1", "Ann Lee Smith", "ALS", "1");
    if (!drilbank::runHandler(run, &drilbank::loadWindow) || !platform.messages.empty()) {
        std::fprintf(stderr, "the benchmark run did not start\n");
        return 1;
    }
    const std::string answer = drilbank::fromWide(typedAnswer);
    clicksBesideFloor(drives / "c" / "drilbank", [&] {
        platform.answer = answer;
        return millisecondsOf([&] { drilbank::runHandler(run, &drilbank::enterResponseClicked); });
    });
    return 0;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    drilbank::bench::startAsAWindow();
    const std::wstring mode = argc > 1 ? argv[1] : L"";
    const std::filesystem::path drives = argc > 2 ? argv[2] : L".";
    startAsTheProgram();
    if (mode == L"window") {
        return programWindow(drives, 0);
    }
    if (mode == L"window-read") {
        return programWindow(drives, 200);
    }
    if (mode == L"first-box") {
        return firstBox(drives);
    }
    if (mode == L"click" || mode == L"counts") {
        return windowClicks(drives, mode == L"counts");
    }
    if (mode == L"core-click") {
        return coreClicks(drives);
    }
    std::fprintf(
        stderr, "usage: win32_window_bench first-box DRIVES | window DRIVES | window-read DRIVES | "
                "click DRIVES | counts DRIVES | core-click DRIVES\n");
    return 2;
}
