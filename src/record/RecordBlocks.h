#pragma once

#include "platform/Clock.h"
#include "platform/RecordFiles.h"
#include "record/RecordFormat.h"
#include "run/Run.h"

#include <string>

namespace drilbank {

// The header's last line: the label, the date, `between` ("" in the master file, one blank in
// the send file) and the time, each read from the clock as it is written.
std::string headerDateLine(Clock& clock, const std::string& between);

// A number item: plain decimal with a space before it (the minus sign instead when the value
// is negative) and a space after it: " 70003 ", " 10002.5 ", "-4 ".
std::string numberItem(double value);

// 36 spaces and the time; the date-time line has the date and, with no space, the time.
// Each reads the clock afresh.
std::string timeLine(Clock& clock);
std::string dateTimeLine(Clock& clock);

// Val(assignmentNumber) x 10000 + Val(currentQuestion), in double precision.
double questionNumber(const RunState& state);

// Two empty lines, then the tag and the question number as a number item.
std::string questionNumberLine(const RunState& state);

// Appends a response block to the master file (ten lines) and the send file (seven), line by
// line in that order, on channels that are open. `response` is the answer being recorded.
void writeResponseBlock(Run& run, const std::string& response);

// Appends a notes block (seven lines) to the master, send and notes files, line by line in
// that order; the closing rule ends with the zone ending on the send and notes files.
// `notesText` is the note with its marker in front.
void writeNotesBlock(Run& run, const std::string& notesText);

} // namespace drilbank
