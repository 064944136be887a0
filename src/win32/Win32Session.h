#pragma once

#include "run/Run.h"
#include "win32/ButtonGate.h"
#include "win32/FormWindow.h"
#include "win32/Win32Platform.h"
#include "window/HandlerDispatcher.h"

#include <functional>
#include <string_view>

namespace drilbank {

// One run of the program in its Win32 window: the window, the platform over it, the run,
// and every control's event wired to its handler through the core's dispatcher.
class Win32Session {
public:
    explicit Win32Session(Win32Platform::Parts parts);

    // The window's load: the start-up dialogue and the assignment's headers. False when the
    // run ended during it; the window must then never be shown.
    bool load();

    // Runs the window's messages until the run ends; the loop looks after each message.
    void runMessageLoop();
    // Handles the messages already queued, as the loop would, and returns.
    void handlePendingMessages();

    FormWindow& window() { return window_; }
    Run& run() { return run_; }
    Win32Platform& platform() { return platform_; }
    bool hasEnded() const { return dispatcher_.hasEnded(); }
    // Told once the run is over, after the window is hidden.
    std::function<void()> onRunEnded;

private:
    void handle(MSG& message);
    void clicked(std::string_view button);
    void endRun();
    bool sessionEndQueried();

    FormWindow window_;
    ButtonGate gate_;
    Win32Platform platform_;
    Run run_;
    HandlerDispatcher dispatcher_;
};

} // namespace drilbank
