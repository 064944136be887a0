#pragma once

#include "run/Run.h"

#include <string>

namespace drilbank {

extern const char* const localDirectory;
extern const char* const lanDirectory;

// Record file names: the prefix, for the send file the month and day (MMDD), the student's
// name with blanks turned into "_", then the suffix.
extern const char* const masterFilePrefix;
extern const char* const sendFilePrefix;
extern const char* const notesFilePrefix;
extern const char* const recordFileSuffix;

// The run's coding number is a whole number drawn from this range.
constexpr int lowestCodeNbr = 19;
constexpr int highestCodeNbr = 28;

// Asks the four start-up questions and derives the working directory, the record-file paths,
// the padded assignment numbers, the prompt and separator texts; then stores the script.
void startUpDialogue(Run& run);

// A one- or two-character assignment number gets leading "0"s up to three characters;
// only the length counts.
std::string padAssignmentNumber(const std::string& number);

// The padded number of the assignment after the given (padded) one: 001 gives 002.
std::string followingAssignmentNumber(const std::string& paddedNumber);

} // namespace drilbank
