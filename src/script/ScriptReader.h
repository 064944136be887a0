#pragma once

#include "run/Run.h"

#include <string>

namespace drilbank {

// Consumes the next non-blank script line: records it in the run state and the transcript,
// prepares it for the question box and ends the run at the next assignment's header, at the
// end-of-script marker, or past the last slot. Reports its own failures.
void readNextQuestion(Run& run);

// Sentence-by-sentence presentation: the next piece of the line from sentenceStart on.
std::string nextSentence(RunState& state, const std::string& line);

} // namespace drilbank
