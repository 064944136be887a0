#pragma once

#include "window/ControlTable.h"

#include <windows.h>

#include <vector>

namespace drilbank {

// The table's rows in the order the form makes their controls: a new control goes beneath
// those made before it, and Tab follows that order, top first. So the focusable controls
// come first, by tab index, then the labels, beneath everything they overlap. No timer.
std::vector<const ControlRow*> rowsInTabOrder();

// One control of the form as the row describes it, at its box in the form's pixels.
HWND createFormControl(HWND form, const ControlRow& row, int id, const RECT& box);

} // namespace drilbank
