#pragma once

#include "platform/Failure.h"
#include "run/Run.h"

#include <string>

namespace drilbank {

extern const char* const invalidAssignmentMessage;

// The general error message directly followed by the failure's number.
std::string generalErrorMessage(int failureNumber);

// Shows a failure that the run survives: the general error message with the failure's number.
void showGeneralError(Run& run, const Failure& fault);

// How start-up, the reader and "Next Question / Answer" report a caught failure: failure 9
// shows the invalid-assignment message and ends the run; any other shows the general error
// message and the operation returns.
void reportFailure(Run& run, int failureNumber);

// Runs a step and reports any numbered failure inside it as above.
void reportingFailures(Run& run, void (*step)(Run&));

} // namespace drilbank
