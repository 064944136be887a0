#pragma once

#include "run/Run.h"

namespace drilbank {

// What the record files tell the student besides failures. From then on, a click that waits
// for another copy of the program says so on the platform while it waits.
void sayWhenFilesWait(Run& run);

// Says once, for each journal the record files set aside as not the program's own, that it
// was set aside and where it now is.
void showSetAsideJournals(Run& run);

} // namespace drilbank
