#pragma once

#include "run/Run.h"

#include <string>

namespace drilbank {

// Finds the assignment's header line, fixes whole-line presentation, makes sure the master
// file exists and appends the header block to the master and send files.
void openAssignment(Run& run);

} // namespace drilbank
