#pragma once

#include "window/ControlTable.h"

#include <windows.h>

namespace drilbank {

// The form's geometry in physical pixels for a monitor's DPI: a twip is 1/1440 inch at
// every DPI, so at 96 DPI fifteen twips make a pixel, at 144 ten.
constexpr UINT defaultDpi = 96;

int twipsAt(int twips, UINT dpi);
RECT controlBoxAt(const ControlRow& row, UINT dpi);
SIZE formSizeAt(UINT dpi);

// Character heights in pixels at a DPI, from the control table's point sizes.
int windowFontHeightAt(UINT dpi);
int boxFontHeightAt(UINT dpi);

} // namespace drilbank
