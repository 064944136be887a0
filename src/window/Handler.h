#pragma once

#include "run/Run.h"

#include <span>
#include <string_view>

namespace drilbank {

using HandlerFunction = void (*)(Run&);

// Runs one event handler to completion. When the run ends inside it, every channel is
// closed and the platform is told to end the program; the result is then false. Any other
// failure or exception that the handler did not catch is shown as the general error message
// with its detail, so that no click can crash the program.
bool runHandler(Run& run, HandlerFunction handler);

// The window system's close control and "quit program": each ends the run at once, unless
// the student chooses to keep text typed and not recorded.
void closeWindow(Run& run);
void quitClicked(Run& run);

// Log-off or shutdown. Whether it would lose typed work; whether it may go on, the student
// asked as when closing the window where typed work is at stake; and its end, which closes
// every channel so that every block recorded so far is on disk whole. None of them throws.
bool sessionEndLosesTypedWork(Run& run);
bool sessionMayEnd(Run& run);
void endSession(Run& run);
// Where the student may not be asked: the run ends only when no typed work would be lost.
// Whether the run has ended is the answer: if it has not, the front end refuses to let the
// session end. (Where the student may be asked, it is closing the window.)
void sessionEndWithoutAsking(Run& run);

// The window's load: the start-up dialogue, then positioning and headers.
void loadWindow(Run& run);

// A button that carries behaviour, by its control name, and the handler of its click. Every
// other control is inert.
struct ButtonHandler {
    std::string_view button;
    HandlerFunction handler;
};
std::span<const ButtonHandler> buttonHandlers();

// The handler of each tick of the window's one timer.
void timerTicked(Run& run);

} // namespace drilbank
