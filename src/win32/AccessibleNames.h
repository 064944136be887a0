#pragma once

#include <windows.h>

#include <string>

namespace drilbank {

// Gives a control the name screen readers announce, where its own caption does not say it
// (a text box beside its label, a picture area). The control answers Active Accessibility
// with the system's own object for it, its name replaced; UI Automation reads that too.
void setAccessibleName(HWND control, const std::wstring& name);

} // namespace drilbank
