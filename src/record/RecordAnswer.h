#pragma once

#include "run/Run.h"

#include <string>

namespace drilbank {

// Appends the blocks of one recorded text to the record files as one click; throws the first
// fault.
using BlockAppender = void (*)(Run& run, const std::string& recordedText);

// What Enter Response and Save as Notes share. Unless the answer box still holds the
// prompt, the marker and the answer are recorded as one named click and enter the
// transcript. A fault is shown and leaves the run state and both boxes as they were, so
// nothing typed is lost. Whether an earlier click reached its files is read from the
// journal: the next click completes it first, and records nothing more when it is the same
// text again. Both boxes are emptied once the text is recorded, and on the prompt; but text
// typed in the question box is never emptied unrecorded: with nothing typed in the answer box
// the student is asked whether it is the answer, and otherwise it stays.
void recordAnswer(Run& run, const std::string& marker, BlockAppender appendBlocks);

} // namespace drilbank
