#include "win32/ButtonGate.h"

#include <array>
#include <cstdint>

namespace drilbank {
namespace {

constexpr LPARAM keyWasDown = LPARAM(1) << 30;

} // namespace

bool isPushButton(HWND window) {
    std::array<wchar_t, 16> name{};
    GetClassNameW(window, name.data(), static_cast<int>(name.size()));
    if (lstrcmpiW(name.data(), L"Button") != 0) {
        return false;
    }
    const LONG_PTR type = GetWindowLongPtrW(window, GWL_STYLE) & BS_TYPEMASK;
    return type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON;
}

bool ButtonGate::drops(const MSG& message) {
    switch (message.message) {
    case WM_KEYDOWN:
        return isPushButton(GetFocus()) &&
               !PressRule::keyCounts((message.lParam & keyWasDown) != 0);
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
        return isPushButton(message.hwnd) &&
               !rule_.pressCounts(message.hwnd, message.time, GetDoubleClickTime());
    }
    default:
        return false;
    }
}

} // namespace drilbank
