#pragma once

#include <string>

// What the program says on the terminal, before any window.
namespace drilbank {

// The text "drilbank --help" prints: usage, how Windows drives map to folders under
// `drivesRoot` (nothing to say where it is empty: the system's own drives), where
// the record files go and what to send the instructor.
std::string helpText(const std::string& drivesRoot);
std::string versionText();

// Said on the terminal for an argument the program does not take.
std::string unknownArgumentText(const std::string& argument);

// The one line said instead of a window when there is no display to show it on; `why` says
// what was found.
std::string noDisplayText(const std::string& why);
extern const char* const noDisplaySetText;
std::string displayUnreachableText(const std::string& display);

} // namespace drilbank
