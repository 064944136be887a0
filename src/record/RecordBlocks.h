#pragma once

#include "format/RecordLines.h"
#include "run/Run.h"

#include <string>

namespace drilbank {

// Val(assignmentNumber) x 10000 + Val(currentQuestion), in double precision.
double questionNumber(const RunState& state);

// Appends a response block to the master file (ten lines) and the send file (seven), line by
// line in that order, on channels that are open. `response` is the answer being recorded.
void writeResponseBlock(Run& run, const std::string& response);

// Appends a notes block (seven lines) to the master, send and notes files, line by line in
// that order; the closing rule ends with the zone ending on the send and notes files.
// `notesText` is the note with its marker in front.
void writeNotesBlock(Run& run, const std::string& notesText);

} // namespace drilbank
