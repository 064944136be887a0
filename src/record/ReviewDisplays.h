#pragma once

#include "run/Run.h"

namespace drilbank {

// "display notes": appends the notes file, lines joined, after workText to the question box.
void displayNotesClicked(Run& run);

// "display everything": shows the run's transcript, newest entry first.
void displayEverythingClicked(Run& run);

// "clear box": empties the answer box.
void clearBoxClicked(Run& run);

} // namespace drilbank
