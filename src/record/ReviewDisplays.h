#pragma once

#include "run/Run.h"

#include <cstddef>

namespace drilbank {

// How much the review buttons put in the question box. A text box lays out a long text in
// time that grows with its length; these bounds keep every press quick and the memory small
// however large the notes file grows. The record files are never shortened.
constexpr std::size_t shownNotesBytes = 64 * 1024;
constexpr std::size_t questionBoxBytes = 256 * 1024;

// "display notes": appends the notes file, lines joined, after workText to the question box.
// Of a notes file larger than the bound only the newest part is read, from a line start,
// after a plain line that says where the rest is.
void displayNotesClicked(Run& run);

// "display everything": shows the run's transcript, newest entry first, up to the bound.
void displayEverythingClicked(Run& run);

// "clear box": empties the answer box, once the student agrees to lose typed work.
void clearBoxClicked(Run& run);

} // namespace drilbank
