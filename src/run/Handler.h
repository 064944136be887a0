#pragma once

#include "run/Run.h"

namespace drilbank {

using HandlerFunction = void (*)(Run&);

// Runs one event handler to completion. When the run ends inside it, every channel is
// closed and the platform is told to end the program; the result is then false. A numbered
// failure that no handler caught is shown as the general error message, so that no click
// can crash the program.
bool runHandler(Run& run, HandlerFunction handler);

// The window's load: the start-up dialogue, then positioning and headers.
void loadWindow(Run& run);

} // namespace drilbank
