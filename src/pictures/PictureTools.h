#pragma once

#include "run/Run.h"

namespace drilbank {

// "copy picture": the picture of Picture1 through the clipboard into Picture2.
void copyPictureClicked(Run& run);

// "pend exp": starts the pendulum timer; a second click changes nothing.
void pendExpClicked(Run& run);

// Each tick of the pendulum timer: a beep and one circle of random size on Picture1.
void pendulumTimerTicked(Run& run);

} // namespace drilbank
