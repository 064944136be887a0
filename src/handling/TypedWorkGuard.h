#pragma once

#include "platform/PlatformServices.h"
#include "run/Run.h"

namespace drilbank {

// The questions asked before an action would throw away what the student typed.
extern const GuardQuestion nextQuestionGuard;
extern const GuardQuestion closeWindowGuard;
extern const GuardQuestion clearBoxGuard;

// Whether the answer box holds text the student typed: anything other than the answer
// prompt, the empty text and the single blank the box starts with.
bool holdsTypedWork(Run& run);

// True when nothing typed is at stake, or when the student chose to go on and lose it.
// The safe answer, the default, keeps the typed work and the action is not taken.
bool mayDiscardTypedWork(Run& run, const GuardQuestion& question);

} // namespace drilbank
