#pragma once

#include "run/Run.h"

#include <string>

namespace drilbank {

// Appends the blocks of one recorded text to the record files; gives the number of the
// first fault, 0 when every file took its block.
using BlockAppender = int (*)(Run& run, const std::string& recordedText);

// What Enter Response and Save as Notes share. Unless the answer box still holds the
// prompt, the marker and the answer are recorded; a fault is shown with its number and
// leaves the run state and both boxes as they were, so nothing typed is lost. Otherwise the
// recorded text enters the transcript. Both boxes are emptied on both paths.
void recordAnswer(Run& run, const std::string& marker, BlockAppender appendBlocks);

} // namespace drilbank
