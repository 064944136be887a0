// drilbank.exe: the student's window on Windows.
#include "encoding/Cp1252.h"
#include "files/DriveMap.h"
#include "files/RecordFiles.h"
#include "os/DurableFiles.h"
#include "os/RunRandom.h"
#include "os/SystemClock.h"
#include "texts/FailureTexts.h"
#include "win32/ModalBoxes.h"
#include "win32/WideText.h"
#include "win32/Win32Session.h"
#include "window/CommandLine.h"

#include <commctrl.h>
#include <objbase.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

// The manifest asks for per-monitor awareness; where it is not honoured, the newest call the
// system knows, down to the whole-system awareness every version has.
void becomeDpiAware() {
    if (!SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2)) {
        SetProcessDPIAware();
    }
}

// "drilbank --help" or "--version" from a command prompt answers there, as any other
// argument is refused there, the way the program answers on every system. A windowed program
// has no console of its own: it writes to the prompt it was started from, or to wherever its
// output was sent.
std::optional<int> answeredCommandLine() {
    // The C runtime has split the command line already (shell32's splitter would cost the
    // launch a library).
    const int count = __argc;
    if (__wargv == nullptr || count < 2) {
        return std::nullopt;
    }
    std::vector<std::string> utf8;
    for (int i = 0; i < count; ++i) {
        utf8.push_back(drilbank::utf8Of(std::filesystem::path(__wargv[i])));
    }
    std::vector<char*> arguments;
    for (std::string& argument : utf8) {
        arguments.push_back(argument.data());
    }
    // Output sent to a file or a pipe stays there; only a bare start from a prompt needs
    // the prompt's console.
    const bool sentSomewhere = GetFileType(GetStdHandle(STD_OUTPUT_HANDLE)) != FILE_TYPE_UNKNOWN;
    if (!sentSomewhere && AttachConsole(ATTACH_PARENT_PROCESS)) {
        std::freopen("CONOUT$", "w", stdout);
        std::freopen("CONOUT$", "w", stderr);
    }
    const std::optional<int> status = drilbank::answerCommandLine(count, arguments.data());
    std::fflush(stdout);
    std::fflush(stderr);
    return status;
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    if (const std::optional<int> status = answeredCommandLine()) {
        return *status;
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
            // Shown as the last box closed, unless a failure came first.
            if (!session.window().isVisible()) {
                session.window().show();
            }
            session.runMessageLoop();
        }
    } catch (const std::exception& fault) {
        // Every handler catches what it meets; this is for what comes before or between them.
        drilbank::showMessage(nullptr,
                              drilbank::toWide(drilbank::cp1252FromUtf8(
                                  drilbank::unexpectedFaultDetail(fault.what()))),
                              {});
        status = 1;
    } catch (...) {
        drilbank::showMessage(nullptr, drilbank::toWide(drilbank::unknownFaultDetail), {});
        status = 1;
    }
    if (SUCCEEDED(com)) {
        CoUninitialize();
    }
    return status;
}
