#pragma once

#include "window/PressRule.h"

#include <windows.h>

namespace drilbank {

// A push button, the form's or a box's.
bool isPushButton(HWND window);

// The core's one-action-per-click rule on the window's messages: a push button's press
// within the system's double-click time of the last one let through, and a key-down a held
// key repeats, are dropped. The message loop asks before it dispatches a message.
class ButtonGate {
public:
    // True when the message is to be dropped.
    bool drops(const MSG& message);

private:
    PressRule rule_;
};

} // namespace drilbank
