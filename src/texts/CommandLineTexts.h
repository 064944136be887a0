#pragma once

#include <string>

// What the program says on the terminal, before any window.
namespace drilbank {

// The text "drilbank --help" prints: usage, how Windows drives map to folders here, where
// the record files go and what to send the instructor.
std::string helpText(const std::string& drivesRoot);
std::string versionText();

// The one line said instead of a window when there is no display to show it on; `why` says
// what was found.
std::string noDisplayText(const std::string& why);
extern const char* const noDisplaySetText;
std::string displayUnreachableText(const std::string& display);

} // namespace drilbank
