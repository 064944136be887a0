#pragma once

#include "run/Run.h"

#include <string>
#include <string_view>

namespace drilbank {

// "Next Question / Answer": reads the next line, carries out a routine line, appends the text
// to the question box and puts the keyboard focus in the answer box.
void nextQuestionClicked(Run& run);

// "next picture": looks just ahead of the cursor for routine lines and carries them out.
void nextPictureClicked(Run& run);

// The text with every blank and hyphen removed.
std::string remSpaces(std::string_view text);

// graph1 to graph3 do nothing; every other routine name ends the run.
void runRoutine(const std::string& routine);

} // namespace drilbank
