#include "win32/ButtonGate.h"

#include <array>

namespace drilbank {
namespace {

bool isPushButton(HWND window) {
    std::array<wchar_t, 16> name{};
    GetClassNameW(window, name.data(), static_cast<int>(name.size()));
    if (lstrcmpiW(name.data(), L"Button") != 0) {
        return false;
    }
    const LONG_PTR type = GetWindowLongPtrW(window, GWL_STYLE) & BS_TYPEMASK;
    return type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON;
}

constexpr LPARAM keyWasDown = LPARAM(1) << 30;

} // namespace

bool ButtonGate::drops(const MSG& message) {
    switch (message.message) {
    case WM_KEYDOWN:
        // A held key sends its key-down again and again; the button acts on the first.
        return (message.lParam & keyWasDown) != 0 && isPushButton(GetFocus());
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
        if (!isPushButton(message.hwnd)) {
            return false;
        }
        const auto last = lastPress_.find(message.hwnd);
        if (last != lastPress_.end() && message.time - last->second < GetDoubleClickTime()) {
            return true;
        }
        lastPress_[message.hwnd] = message.time;
        return false;
    }
    default:
        return false;
    }
}

} // namespace drilbank
