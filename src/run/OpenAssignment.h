#pragma once

#include "platform/Clock.h"
#include "record/RecordFormat.h"
#include "run/Run.h"

#include <string>

namespace drilbank {

// Finds the assignment's header line, fixes whole-line presentation, makes sure the master
// file exists and appends the header block to the master and send files.
void openAssignment(Run& run);

// The header's last line: the label, the date, `between` ("" in the master file, one blank in
// the send file) and the time, each read from the clock as it is written.
std::string headerDateLine(Clock& clock, const std::string& between);

} // namespace drilbank
