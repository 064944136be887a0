#pragma once

#include "run/Handler.h"
#include "run/Run.h"
#include "win32/ButtonGate.h"
#include "win32/FormWindow.h"
#include "win32/Win32Platform.h"

#include <functional>
#include <string_view>

namespace drilbank {

// One run of the program in its Win32 window: the window, the platform over it, the run,
// and every control's event wired to its handler, one handler at a time.
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
    bool hasEnded() const { return ended_; }
    // Told once the run is over, after the window is hidden.
    std::function<void()> onRunEnded;

private:
    void handle(MSG& message);
    void clicked(std::string_view button);
    void dispatch(HandlerFunction handler);
    void endRun();

    FormWindow window_;
    ButtonGate gate_;
    Win32Platform platform_;
    Run run_;
    bool ended_ = false;
    bool handling_ = false;
};

} // namespace drilbank
