#pragma once

#include <optional>
#include <string>

namespace drilbank {

// The text "drilbank --help" prints: usage, how Windows drives map to folders here, where
// the record files go and what to send the instructor.
std::string helpText(const std::string& drivesRoot);
std::string versionText();

// Answers --help and --version on standard output and gives the exit status; nothing for
// any other command line, which then starts the program.
std::optional<int> answerCommandLine(int argc, char** argv);

} // namespace drilbank
