#pragma once

#include <windows.h>

#include <string>

namespace drilbank {

// Gives a control the name screen readers announce (through Microsoft Active Accessibility,
// which UI Automation reads too), where its own caption does not say it, e.g. a text box
// beside its label. Needs COM on the calling thread; without it the control keeps the
// name the system gives it.
void setAccessibleName(HWND control, const std::wstring& name);

} // namespace drilbank
