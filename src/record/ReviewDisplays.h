#pragma once

#include "run/Run.h"

namespace drilbank {

// What "display notes" tells a student who has saved no note yet.
extern const char* const noNotesMessage;

// "display notes": appends the notes file, lines joined, after workText to the question box.
void displayNotesClicked(Run& run);

// "display everything": shows the run's transcript, newest entry first.
void displayEverythingClicked(Run& run);

// "clear box": empties the answer box.
void clearBoxClicked(Run& run);

} // namespace drilbank
