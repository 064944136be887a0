#pragma once

#include "run/Run.h"

namespace drilbank {

// "Save as Notes": records the answer box as a notes block in all three record files.
void saveAsNotesClicked(Run& run);

} // namespace drilbank
