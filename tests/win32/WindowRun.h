#pragma once

#include "BoxRobot.h"
#include "support/FakePlatform.h"
#include "support/TemporaryFolder.h"
#include "win32/Win32Session.h"

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace drilbank::testing {

// A whole run in the real Win32 window, in this process: boxes answered by a robot, a clock
// that stands still at 04-16-2003 14:05:09, scripted random draws and record files under a
// temporary folder.
class WindowRun {
public:
    WindowRun();
    // The drives at a folder of the caller's (a share), through the caller's file layer.
    WindowRun(const std::filesystem::path& drives, DurableFiles& system);

    // Draws that make the coding number 19 and its key line nineteen characters of code 186.
    void scriptPlainKeyLine();
    // Answers the four start-up boxes (a text is typed and OK pressed) and runs the load.
    bool start(const std::vector<std::wstring>& answers);
    // Starts as Ann Lee Smith on assignment 1 and shows the window, as the program does.
    bool startShown();

    FormWindow& window() { return session_->window(); }
    Win32Session& session() { return *session_; }
    // A click as the button's own BM_CLICK makes it, through the window's message handling.
    void click(std::string_view button);
    std::wstring text(HWND control) const;
    // Keys as the keyboard gives them, posted to the focused control and taken through the
    // window's message loop: a key with Shift held or not, and characters typed.
    void press(WORD key, bool shift = false);
    void typeKeys(const std::wstring& characters);
    // A notch of the wheel (WHEEL_DELTA, up) at a point of the frame's client area, sent as
    // the system sends it: to the focused control.
    void turnWheel(POINT inFrame, int delta);

    std::string fileBytes(const std::string& windowsPath) const;
    bool fileExists(const std::string& windowsPath) const;
    RecordFiles& files() { return files_; }

    BoxRobot boxes;
    FakeClock clock;
    FakeRandom random;
    int runEndings = 0;
    // The timer's beeps in every run of this process (the sound has no run of its own).
    static int beeps;

private:
    void begin();

    TemporaryFolder folder_;
    RecordFiles files_;
    std::unique_ptr<Win32Session> session_;
};

std::string goldenFile(const char* name);

} // namespace drilbank::testing
