#pragma once

#include "os/Failure.h"
#include "run/Run.h"
#include "texts/FailureTexts.h"

#include <string>

namespace drilbank {

// Whether a failed click leaves text the student typed in its box, to be recorded by the
// same click again once the cause is fixed.
enum class TypedText { NotAtStake, KeptInBox };

// Shows a failure that the run survives: the general error message with the failure's
// number, and below it, in the same box, what failed in plain words and what to do next.
void showGeneralError(Run& run, const Failure& fault, TypedText typed = TypedText::NotAtStake);

// How start-up, the reader and "Next Question / Answer" report a caught failure: failure 9
// shows the invalid-assignment message and ends the run; any other is shown as above and
// the operation returns.
void reportFailure(Run& run, const Failure& fault);

// Runs a step; any failure or exception inside it is reported as above. Only the end of the
// run passes through.
void reportingFailures(Run& run, void (*step)(Run&));

// The exception being handled, as a numbered failure: a Failure as it is; running out of
// memory, and any other fault nobody expected, as failure 7 with a detail saying so. Call it
// only inside a catch block that has let RunEnded through.
Failure currentFailure();

} // namespace drilbank
