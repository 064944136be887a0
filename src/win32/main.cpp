// drilbank.exe: the student's window on Windows.
#include "platform/Cp1252.h"
#include "platform/DriveMap.h"
#include "platform/RecordFiles.h"
#include "platform/RunRandom.h"
#include "platform/SystemClock.h"
#include "texts/CommandLineTexts.h"
#include "win32/ModalBoxes.h"
#include "win32/WideText.h"
#include "win32/Win32Session.h"

#include <commctrl.h>
#include <objbase.h>

#include <shellapi.h>

#include <cstdio>
#include <optional>
#include <stdexcept>

namespace {

// The manifest asks for per-monitor awareness; where it is not honoured, the newest call the
// system knows, down to the whole-system awareness every version has.
void becomeDpiAware() {
    if (!SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2)) {
        SetProcessDPIAware();
    }
}

// "drilbank --version" from a command prompt answers there. A windowed program has no
// console of its own: it writes to the prompt it was started from, or to wherever its output
// was sent. (The help text describes the drive mapping of other systems; here the drives
// are the real ones, so the window starts instead.)
bool answeredVersion() {
    int count = 0;
    LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    const bool asked =
        arguments != nullptr && count == 2 && lstrcmpW(arguments[1], L"--version") == 0;
    LocalFree(arguments);
    if (!asked) {
        return false;
    }
    if (AttachConsole(ATTACH_PARENT_PROCESS)) {
        std::freopen("CONOUT$", "w", stdout);
    }
    std::fputs(drilbank::versionText().c_str(), stdout);
    std::fflush(stdout);
    return true;
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    if (answeredVersion()) {
        return 0;
    }
    becomeDpiAware();
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    // The controls' names for screen readers go through COM.
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);

    std::optional<drilbank::DriveMap> drives;
    try {
        drives = drilbank::DriveMap::fromEnvironment();
    } catch (const std::invalid_argument& wrongDrives) {
        // Said before any box, so that no record goes to a folder nobody meant.
        drilbank::showMessage(nullptr,
                              drilbank::toWide(drilbank::cp1252FromUtf8(wrongDrives.what())), {});
        return 2;
    }
    int status = 0;
    try {
        drilbank::RecordFiles files(*drives);
        drilbank::SystemClock clock;
        drilbank::RunRandom random;
        drilbank::Win32Session session({files, clock, random});
        if (session.load()) {
            session.window().show();
            session.runMessageLoop();
        }
    } catch (const std::exception& fault) {
        drilbank::showMessage(nullptr, drilbank::toWide(drilbank::cp1252FromUtf8(fault.what())),
                              {});
        status = 1;
    }
    if (SUCCEEDED(com)) {
        CoUninitialize();
    }
    return status;
}
