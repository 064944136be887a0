#pragma once

#include "run/Run.h"

namespace drilbank {

// What the record files tell the student besides failures. From then on, a click that waits
// for another copy of the program says so on the platform while it waits.
void sayWhenFilesWait(Run& run);

// Says what the record files have to tell about journals: each one set aside as not the
// program's own, a journal kept under another name; and where it now is.
void showJournalNotices(Run& run);

} // namespace drilbank
