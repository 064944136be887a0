#pragma once

#include "format/RecordFormat.h"
#include "run/Run.h"

#include <string>

namespace drilbank {

extern const char* const localDirectory;
extern const char* const lanDirectory;

// Asks the four start-up questions and derives the working directory, the record-file paths,
// the padded assignment numbers, the prompt and separator texts; then stores the script.
void startUpDialogue(Run& run);

// A one- or two-character assignment number gets leading "0"s up to three characters;
// only the length counts.
std::string padAssignmentNumber(const std::string& number);

// The padded number of the assignment after the given (padded) one: 001 gives 002.
std::string followingAssignmentNumber(const std::string& paddedNumber);

} // namespace drilbank
