#pragma once

#include <windows.h>

namespace drilbank {

// The font the student's system gives every program's messages, at a DPI: what the boxes
// and the waiting notice are written in.
LOGFONTW messageFontAt(UINT dpi);

// Its size in whole points, as a dialog template gives it: the dialog manager scales it to
// the box's DPI.
WORD messageFontPoints();

} // namespace drilbank
