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

// Font heights for CreateFont at a DPI. The window's font is small enough that every
// caption fits its control ("Parameter 2" on one line, "Next Question / Answer" on
// three); the question and answer boxes use Arial 9.75 points.
int windowFontHeightAt(UINT dpi);
int boxFontHeightAt(UINT dpi);

} // namespace drilbank
