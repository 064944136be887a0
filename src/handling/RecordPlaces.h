#pragma once

#include "run/Run.h"

#include <string>

namespace drilbank {

// A Windows path as the student knows it, followed by where it lives on this machine:
// "c:\drilbank (on this computer: /home/ann/.local/share/drilbank/drives/c/drilbank)".
// Windows-1252 bytes, ready for a message. A path this machine cannot hold is named alone.
std::string placeOf(Run& run, const std::string& windowsPath);

// The plain words that end a run after the last question: the assignment, the folder of
// the record files and the file to send the instructor.
std::string completionMessage(Run& run);

} // namespace drilbank
