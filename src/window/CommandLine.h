#pragma once

#include <optional>
#include <string>

namespace drilbank {

// Answers --help and --version on standard output and gives the exit status; nothing for
// any other command line, which then starts the program.
std::optional<int> answerCommandLine(int argc, char** argv);

} // namespace drilbank
