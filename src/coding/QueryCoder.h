#pragma once

#include "run/Run.h"

namespace drilbank {

// Copies the query file into the query output file, rewriting its "query " lines, and takes
// the run's coding number from the length of the query file's first line.
void codeFile(Run& run);

} // namespace drilbank
