#pragma once

#include <windows.h>

#include <map>

namespace drilbank {

// One action per click: a press on a button within the system's double-click time of the
// last press let through on that same button is dropped, and so are the key presses a held
// key repeats. The message loop asks before it dispatches a message.
class ButtonGate {
public:
    // True when the message is to be dropped.
    bool drops(const MSG& message);

private:
    std::map<HWND, DWORD> lastPress_; // message time of the last press let through
};

} // namespace drilbank
